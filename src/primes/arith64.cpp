#include "primes/arith64.hpp"

#include "primes/reglages.hpp"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <flint/ulong_extras.h>
#include <iterator>
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

// A strong probable prime to base A: N odd, N - 1 = D 2^S with D odd.
bool fort_probable(std::uint64_t n, std::uint64_t ninv, std::uint64_t d, int s, std::uint64_t a) {
    a %= n;
    if (a == 0) {
        return true;
    }
    std::uint64_t x = n_powmod2_ui_preinv(a, d, n, ninv);
    for (int t = 0; x != 1 && x != n - 1; ++t) {
        if (t + 1 == s) {
            return false;
        }
        x = n_mulmod2_preinv(x, x, n, ninv);
        if (x == 1) {
            return false;
        }
    }
    return true;
}

} // namespace

bool premier_direct(std::uint64_t v) {
    static constexpr std::uint64_t PETITS[] = {2,  3,  5,  7,  11, 13, 17, 19,
                                               23, 29, 31, 37, 41, 43, 47};
    for (std::uint64_t p : PETITS) {
        if (v % p == 0) {
            return v == p;
        }
    }
    if (v < 47 * 47) {
        return v > 1;
    }
    // Bases with no strong pseudoprime below 2^64 (Sinclair's seven); four
    // suffice below 3,215,031,751.
    static constexpr std::uint64_t BASES[] = {2, 325, 9375, 28178, 450775, 9780504, 1795265022};
    static constexpr std::uint64_t QUATRE[] = {2, 3, 5, 7};
    std::uint64_t d = v - 1;
    int s = 0;
    for (; d % 2 == 0; d /= 2) {
        ++s;
    }
    const std::uint64_t vinv = n_preinvert_limb(v);
    auto tous = [&](const auto& bases) {
        return std::all_of(std::begin(bases), std::end(bases),
                           [&](std::uint64_t a) { return fort_probable(v, vinv, d, s, a); });
    };
    return v < 3215031751u ? tous(QUATRE) : tous(BASES);
}

bool premier64(std::uint64_t v) {
    if (v < CRIBLE) {
        static std::atomic<std::uint64_t> tests{0};
        if (tests.load(std::memory_order_relaxed) < TESTS_AVANT_CRIBLE) {
            tests.fetch_add(1, std::memory_order_relaxed);
            return premier_direct(v);
        }
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
