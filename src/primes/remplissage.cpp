#include "primes/remplissage.hpp"

#include "base/remplissage.hpp"
#include "primes/arith64.hpp"
#include "primes/primes.hpp"
#include "state/table.hpp"

#include <algorithm>

namespace {

// np and the table's size follow the ranks published.
void synchroniser() {
    np = std::max(np, remplissage->publie());
    Nprem.fixer_taille(static_cast<std::size_t>(np) + 1);
}

// The smallest prime above V.
std::int64_t premier_apres(std::int64_t v) {
    auto c = static_cast<std::uint64_t>(v) + 1;
    while (!premier64(c)) {
        ++c;
    }
    return static_cast<std::int64_t>(c);
}

} // namespace

void viser_rang(std::int64_t cible, std::int64_t premier) {
    remplissage->viser(cible, premier);
}

std::int64_t rang_vise() {
    return remplissage->cible();
}

std::int64_t premier_vise() {
    return remplissage->premier();
}

void attendre_table() {
    remplissage->attendre(Remplissage::TOUT);
    synchroniser();
}

void attendre_rang(std::int64_t r) {
    remplissage->attendre(r);
    synchroniser();
}

int Suiv() {
    attendre_table();
    viser_rang(np + 1, premier_apres(Nprem[static_cast<std::size_t>(np)]));
    attendre_table();
    return 1;
}
