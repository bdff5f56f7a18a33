#include "primes/arith64.hpp"
#include "primes/primes.hpp"
#include "primes/remplissage.hpp"
#include "state/table.hpp"

namespace {

// The smallest prime above V.
std::int64_t premier_apres(std::int64_t v) {
    auto c = static_cast<std::uint64_t>(v) + 1;
    while (!premier64(c)) {
        ++c;
    }
    return static_cast<std::int64_t>(c);
}

} // namespace

int Suiv() {
    attendre_table();
    viser_rang(np + 1, premier_apres(Nprem[static_cast<std::size_t>(np)]));
    attendre_table();
    return 1;
}
