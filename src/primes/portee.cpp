#include "primes/portee.hpp"

#include "app/progression.hpp"
#include "primes/primes.hpp"
#include "state/table.hpp"

#include <algorithm>
#include <flint/ulong_extras.h>
#include <primesieve.hpp>
#include <vector>

namespace {

bool au_plafond() {
    return np >= rang_fichier;
}

// Primality of the odd values below 2^25, one bit each (2 MiB), sieved on
// first use: most concatenation pieces are small, and a bit costs less than
// any test.
constexpr std::uint64_t CRIBLE = std::uint64_t{1} << 25;

const std::vector<std::uint64_t>& crible_impairs() {
    static const std::vector<std::uint64_t> bits = [] {
        std::vector<std::uint64_t> b(CRIBLE / 128);
        primesieve::iterator it(3, CRIBLE);
        for (std::uint64_t p = it.next_prime(); p < CRIBLE; p = it.next_prime()) {
            b[p / 128] |= std::uint64_t{1} << (p / 2 % 64);
        }
        return b;
    }();
    return bits;
}

} // namespace

void grandir_au_dessus(std::int64_t borne) {
    if (Nprem[static_cast<std::size_t>(np)] > borne || au_plafond()) {
        return;
    }
    CibleTable cible(static_cast<double>(borne), false, true);
    while (Nprem[static_cast<std::size_t>(np)] <= borne && !au_plafond()) {
        Suiv();
    }
}

void grandir_jusqu_a(std::int64_t q) {
    if (Nprem[static_cast<std::size_t>(np)] >= q || au_plafond()) {
        return;
    }
    CibleTable cible(static_cast<double>(q), false, true);
    while (Nprem[static_cast<std::size_t>(np)] < q && !au_plafond()) {
        Suiv();
    }
}

bool premier64(std::uint64_t v) {
    if (v < CRIBLE) {
        return v == 2 || (v % 2 == 1 && (crible_impairs()[v / 128] >> (v / 2 % 64) & 1) != 0);
    }
    return n_is_prime(v) != 0;
}

std::uint64_t plus_petit_facteur(std::uint64_t v) {
    n_factor_t f;
    n_factor_init(&f);
    n_factor(&f, v, 1);
    return *std::min_element(f.p, f.p + f.num);
}
