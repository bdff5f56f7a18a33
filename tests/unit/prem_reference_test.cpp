// The fast primality tests against trial division: same verdicts and the
// same table afterwards, on many inputs the literal routines finish quickly.

#include "aide.hpp"
#include "primes/primes.hpp"
#include "primes/remplissage.hpp"
#include "reference.hpp"
#include "state/travail.hpp"

#include <gtest/gtest.h>
#include <random>
#include <vector>

namespace {

// Runs TEST and REFERENCE on the same value from the same table of RANG
// ranks; verdicts and final np must agree.
template <class Fixer>
void comparer(Fixer fixer, int (*test)(), int (*reference)(), std::int64_t rang) {
    table_neuve();
    while (np < rang) {
        Suiv();
    }
    fixer();
    int attendu = reference();
    attendre_table();
    std::int64_t np_attendu = np;
    table_neuve();
    while (np < rang) {
        Suiv();
    }
    fixer();
    ASSERT_EQ(test(), attendu);
    attendre_table();
    ASSERT_EQ(np, np_attendu);
}

void comparer_grand(const ZZ& n, std::int64_t rang) {
    SCOPED_TRACE(n);
    comparer([&] { S = n; }, prem, prem_literal, rang);
}

void comparer64(std::int64_t v, std::int64_t rang) {
    SCOPED_TRACE(v);
    comparer([&] { S3 = v; }, prem1, prem1_literal, rang);
}

TEST(PremReference, SmallValuesAndSquares) {
    for (long n = 0; n < 3000; ++n) {
        comparer_grand(ZZ(n), n % 3 == 0 ? 2 : 200);
        if (n >= 3) {
            comparer64(n, n % 3 == 0 ? 2 : 200);
        }
    }
    for (long p : {3L, 5L, 7L, 101L, 997L, 7919L, 104729L, 1299709L}) {
        for (long v : {p * p, p * p - 2, p * p + 2, p * p * p, 2 * p}) {
            comparer_grand(ZZ(v), 2);
            comparer64(v, 2);
        }
    }
}

TEST(PremReference, RandomValuesUpTo10To12) {
    std::mt19937_64 alea(2026);
    for (int n = 0; n < 2000; ++n) {
        auto v = static_cast<long>(alea() % 1000000000000ULL) + 3;
        comparer_grand(ZZ(v), n % 2 == 0 ? 2 : 5000);
        comparer64(v, n % 2 == 0 ? 2 : 5000);
    }
}

TEST(PremReference, BigNumbersWithSmallFactorsAndPieces) {
    // Above 2^64 the literal test ends quickly only on a small factor.
    std::mt19937_64 alea(7);
    for (int n = 0; n < 300; ++n) {
        ZZ v = ZZ(static_cast<long>(alea() >> 1)) * ZZ(static_cast<long>(alea() >> 1)) + 1;
        long petit = static_cast<long>(alea() % 50000) + 2;
        comparer_grand(v * petit, 2);
        comparer_grand(v * 104759 * petit, 3000); // a factor at the file's last prime
    }
    // Pieces with leading zeros read as small values.
    comparer_grand(ZZ(3), 2);
    comparer_grand(ZZ(7), 2);
}

} // namespace
