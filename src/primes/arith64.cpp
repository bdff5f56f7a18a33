#include "primes/arith64.hpp"

#include "primes/reglages.hpp"

#include <algorithm>
#include <cmath>
#include <flint/ulong_extras.h>
#include <primesieve.hpp>
#include <vector>

namespace {

// Primality of the odd values below CRIBLE, one bit each, sieved on first
// use.
constexpr std::uint64_t CRIBLE = CRIBLE_IMPAIRS;

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

bool carre_depasse(std::uint64_t r, std::uint64_t v) {
    std::uint64_t carre = 0;
    return __builtin_mul_overflow(r, r, &carre) || carre > v;
}

std::uint64_t isqrt64(std::uint64_t v) {
    auto r = static_cast<std::uint64_t>(std::sqrt(static_cast<double>(v)));
    while (carre_depasse(r, v)) {
        --r;
    }
    while (!carre_depasse(r + 1, v)) {
        ++r;
    }
    return r;
}
