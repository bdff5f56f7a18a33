#pragma once
// The factorisation's cut-offs and tuning, all in one place, each with the
// figure it was chosen by. Which method a size goes to is decided in
// routage.cpp from these values.

#include <cmath>

// --- Where the work runs ---

// Up to this size (some 40 digits) the library answers within a few
// hundredths of a second: the work runs in the program itself, with no
// child process.
constexpr long BITS_COURTS = 130;

// --- Composites left once the small factors are out ---

// Below 45 digits PARI's own factorisation (its quadratic sieve) splits a
// composite as fast as ours: 0.17 s for a 44-digit product of two primes,
// the same as our sieve.
constexpr long BITS_CRIBLE = 150;
// Up to 100 digits ECM's share, then our quadratic sieve, which finishes a
// product of two 50-digit primes in minutes; above, no sieve finishes in
// hours, and ECM climbs on alone, until it finds a factor.
constexpr long BITS_CRIBLE_MAX = 332;

// Seconds of our sieve for a product of two primes of the same size, on
// two cores: 0.17 s at 44 digits, 1 s at 60, 10 s at 70, 1 to 2 minutes at
// 80, some 20 minutes at 90.
inline double secondes_crible(long bits) {
    constexpr double CHIFFRES_PAR_BIT = 0.30103;
    return 0.1 + std::pow(10, (static_cast<double>(bits) * CHIFFRES_PAR_BIT - 60) / 10);
}
// ECM runs this share of the sieve's time first, and at least a few
// curves (of 2 to 5 ms each at 50 to 60 digits): a product of two primes of
// the same size takes 5 % longer (PARI's ECM took 2 to 6 % of the sieve's
// time, on one core), while a factor of 12 digits (2^199 - 1 =
// 164504919713 x p49) is found in a few hundredths of a second instead of
// the sieve's 3.5 s.
constexpr double PART_ECM = 0.05;
constexpr long COURBES_AVANT_CRIBLE = 4;

// --- ECM ---

// The rungs of B1, from the table of expected curves in GMP-ECM's README
// (20 to 65 digits), after a first rung for factors of 15 digits: at each,
// the curves that find a factor of that many digits two times in three,
// with the default second stage. The last rung is run again and again. The
// texts are those of the progress line.
struct PalierEcm {
    double b1;
    long courbes;
    const char* libelle; // the progress line's, a literal
};
inline constexpr PalierEcm PALIERS_ECM[] = {
    {2e3, 25, "Decomposition en facteurs premiers : ECM, B1 = 2000, courbes"},          // 15 digits
    {11e3, 74, "Decomposition en facteurs premiers : ECM, B1 = 11000, courbes"},        // 20
    {5e4, 214, "Decomposition en facteurs premiers : ECM, B1 = 50000, courbes"},        // 25
    {25e4, 430, "Decomposition en facteurs premiers : ECM, B1 = 250000, courbes"},      // 30
    {1e6, 904, "Decomposition en facteurs premiers : ECM, B1 = 1000000, courbes"},      // 35
    {3e6, 2350, "Decomposition en facteurs premiers : ECM, B1 = 3000000, courbes"},     // 40
    {11e6, 4480, "Decomposition en facteurs premiers : ECM, B1 = 11000000, courbes"},   // 45
    {43e6, 7553, "Decomposition en facteurs premiers : ECM, B1 = 43000000, courbes"},   // 50
    {11e7, 17769, "Decomposition en facteurs premiers : ECM, B1 = 110000000, courbes"}, // 55
    {26e7, 42017, "Decomposition en facteurs premiers : ECM, B1 = 260000000, courbes"}, // 60
    {85e7, 69408, "Decomposition en facteurs premiers : ECM, B1 = 850000000, courbes"}, // 65
};
// A first stage that lasts longer than this many seconds (B1 = 1e6 on 135
// digits: 1.5 s) is run in the parametrisation that looks at the stop
// request at every prime (20 to 70 % slower), so that a part stops within a
// fraction of a second of the request.
constexpr double ETAPE1_LONGUE = 2.0;
// Memory: ECM takes at most this share of what is free (the table may be
// growing behind it); a part beyond the first needs a thread, whose stack
// (8 MB) and allocator's arena (64 MB of address space) count under a limit
// on the address space; each part's second stage gets 16 MB at least (below,
// GMP-ECM's second stage slows down to a crawl). Under 200 MB of address
// space, two parts with stages of a quarter of what was free ran out of
// memory inside GMP, which aborts.
constexpr double PART_MEMOIRE_ECM = 0.5;
constexpr double MEMOIRE_FIL = 72e6;
constexpr double MEMOIRE_ETAPE2_MIN = 16e6;

// --- Algebraic forms (a^n +- b^n) / c ---

// N is searched for such a form from 100 bits (below, the library factors
// it in a few milliseconds) up to 2^22 bits (the pieces of a larger N are
// too long to factor).
constexpr long BITS_FORMES = 100;
constexpr long BITS_FORMES_MAX = 1L << 22;
// The bases a and b tried, and the divisors c: every such form of 100 bits
// or more is found in under a millisecond.
constexpr long BASE_MAX = 64;
constexpr long DIVISEUR_MAX = 1L << 16;
