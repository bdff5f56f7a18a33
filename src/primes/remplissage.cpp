#include "primes/remplissage.hpp"

#include "base/remplissage.hpp"
#include "state/table.hpp"

#include <algorithm>

namespace {

// np and the table's size follow the ranks published.
void synchroniser() {
    np = std::max(np, remplissage->publie());
    Nprem.fixer_taille(static_cast<std::size_t>(np) + 1);
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
