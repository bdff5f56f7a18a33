#pragma once
// The tuning of the primality tests and of the counts, each figure with the
// measurement it was chosen by (the project's 2-core machine, Release
// build).

#include <cstdint>

// The odd values below 2^25 have their primality in a bit table (2 MiB),
// sieved on first use: most concatenation pieces are that small, and a bit
// costs less than any test.
inline constexpr std::uint64_t CRIBLE_IMPAIRS = std::uint64_t{1} << 25;
// The table is sieved only once that many values below it have been tested
// without it: sieving it takes some 8 ms, as long as 4,000 to 30,000 direct
// tests, while [1] on 2^100 + 1 tests a few dozen values in all.
inline constexpr std::uint64_t TESTS_AVANT_CRIBLE = 4096;

// Above 4096 bits (some 1,200 digits) one test of a big number lasts a
// tenth of a second or more: it runs where Ctrl-C can abandon it.
inline constexpr long BITS_TEST_ICI = 4096;

// A count expected to take less than 0.1 s is made in place: a child
// process would cost more than Ctrl-C could save.
inline constexpr double DUREE_COMPTE_ICI = 0.1;

// The cost model of a count (compte), both cores, best of 3 runs:
//   primecount pi(x): 1e9 0.3 ms, 1e10 1.3 ms, 1e12 about 20 ms, 1e13 about
//   60 ms, 1e15 0.75 s, 1e18 about 50 s; that is 1e-7 s for each unit of
//   x^(2/3) / ln(x)^2, the growth of Gourdon's algorithm, from 1e12 up,
//   and 1 ms at the least.
//   primesieve count of [a, a + w]: the sieving primes up to sqrt(a + w) in
//   0.25 ns each (0.23 s at 1e18 for w = 1e5), then per value, for w = 1e9:
//   0.12 ns up to 1e11, 0.17 at 1e12, 0.22 at 1e13, 0.31 at 1e14, 0.38 at
//   1e15, 0.58 at 1e16, 1.1 at 1e18: 35% more for each power of ten past 1e11.
inline constexpr double PI_FIXE = 1e-3;
inline constexpr double PI_UNITE = 1e-7;
inline constexpr double CRIBLE_RACINE = 0.25e-9;
inline constexpr double CRIBLE_VALEUR = 0.12e-9;
inline constexpr double CRIBLE_HAUSSE = 1.35;  // for each power of ten
inline constexpr double CRIBLE_DECADES = 11.0; // above 1e11
