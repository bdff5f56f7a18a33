// The prime table's growth (the ranks of liste.txt's range, the compute
// phase) and the primality tests.

#include "aide.hpp"
#include "primes/arith64.hpp"
#include "primes/primes.hpp"
#include "primes/remplissage.hpp"
#include "reference.hpp"
#include "state/travail.hpp"

#include <cmath>
#include <cstdint>
#include <flint/ulong_extras.h>
#include <gtest/gtest.h>
#include <vector>

namespace {

// Plain sieve of Eratosthenes: the independent source the table is checked on.
std::vector<std::int64_t> crible(std::int64_t n) {
    std::vector<bool> compose(static_cast<std::size_t>(n) + 1);
    std::vector<std::int64_t> p = {0};
    for (std::int64_t a = 2; a <= n; ++a) {
        if (!compose[static_cast<std::size_t>(a)]) {
            p.push_back(a);
            for (std::int64_t b = a * a; b <= n; b += a) {
                compose[static_cast<std::size_t>(b)] = true;
            }
        }
    }
    return p;
}

// The next prime as the literal compute phase finds it: odd candidates from
// the last prime + 2, trial divisors from rank 1 while Nprem[j] <= sqrt(c) in
// double precision.
std::int64_t suivant_par_division() {
    std::int64_t pas = 1;
    for (;;) {
        std::int64_t c = Nprem[static_cast<std::size_t>(np)] + 2 * pas;
        bool premier = true;
        for (std::size_t j = 1; static_cast<double>(Nprem[j]) <= std::sqrt(static_cast<double>(c));
             ++j) {
            if (c % Nprem[j] == 0) {
                premier = false;
                break;
            }
        }
        if (premier) {
            return c;
        }
        ++pas;
    }
}

void grandir_jusqu_a(std::int64_t rang) {
    while (np < rang) {
        Suiv();
    }
}

TEST(Table, StartsWithRanksOneAndTwo) {
    table_neuve();
    attendre_table();
    EXPECT_EQ(np, 2);
    attendre_table();
    EXPECT_EQ(Nprem, (std::vector<std::int64_t>{0, 2, 3}));
}

TEST(Table, FileValuesTakeRanksFromThree) {
    table_neuve();
    Suiv();
    attendre_table();
    EXPECT_EQ(np, 3);
    attendre_table();
    EXPECT_EQ(Nprem[3], 5);
    grandir_jusqu_a(10002);
    attendre_table();
    EXPECT_EQ(Nprem, crible(104759));
}

TEST(Table, ComputePhaseAgreesWithTrialDivision) {
    // From ranks 1 and 2 alone, then from rank 1002.
    for (std::int64_t depart : {2, 1002}) {
        table_neuve();
        grandir_jusqu_a(depart);
        for (int n = 0; n < 3000; ++n) {
            std::int64_t attendu = suivant_par_division();
            Suiv();
            attendre_table();
            ASSERT_EQ(Nprem[static_cast<std::size_t>(np)], attendu) << "rank " << np;
        }
        attendre_table();
        EXPECT_EQ(Nprem, crible(Nprem.back()));
    }
}

TEST(Table, FileBoundaryStopsReadingAtItsLastRank) {
    table_neuve();
    RangFichierAbaisse limite(100);
    grandir_jusqu_a(100);
    Suiv(); // rank 101 is computed, though the file holds it too
    attendre_table();
    EXPECT_EQ(Nprem[101], 547);
    grandir_jusqu_a(2000);
    attendre_table();
    EXPECT_EQ(Nprem, crible(17389));
}

TEST(Prem, SmallCasesTouchNothing) {
    table_neuve();
    k = 77;
    i = 5;
    for (long n : {0L, 1L, 2L}) {
        S = n;
        EXPECT_EQ(prem(), n == 2 ? 1 : 0);
    }
    EXPECT_EQ(k, 77);
    EXPECT_EQ(i, 5);
    attendre_table();
    EXPECT_EQ(np, 2);
}

// The table ends at the divisor that decides: 3 needs only 2; 49 needs 7.
TEST(Prem, StopsAtTheDivisorThatDecides) {
    for (auto [n, rang] : {std::pair{3L, 2L}, {4L, 2L}, {49L, 4L}, {25L, 3L}}) {
        table_neuve();
        S = n;
        EXPECT_EQ(prem(), n == 3 ? 1 : 0);
        attendre_table();
        EXPECT_EQ(np, rang) << n;
    }
    for (auto [n, rang] : {std::pair{3L, 2L}, {5L, 2L}, {9L, 2L}, {25L, 3L}, {121L, 5L}}) {
        table_neuve();
        S3 = n;
        EXPECT_EQ(prem1(), n <= 5 ? 1 : 0);
        attendre_table();
        EXPECT_EQ(np, rang) << n;
    }
}

TEST(Prem, VerdictsAndGrowthMatchASieve) {
    const std::vector<std::int64_t> p = crible(100000);
    std::vector<bool> est(100001);
    for (std::size_t r = 1; r < p.size(); ++r) {
        est[static_cast<std::size_t>(p[r])] = true;
    }
    table_neuve();
    for (std::int64_t n = 3; n <= 100000; ++n) {
        S = n;
        S3 = n;
        ASSERT_EQ(prem(), est[static_cast<std::size_t>(n)] ? 1 : 0) << n;
        ASSERT_EQ(prem1(), est[static_cast<std::size_t>(n)] ? 1 : 0) << n;
    }
    // 99991 is the last prime tested: its bound 316 needs the first prime above it.
    attendre_table();
    EXPECT_EQ(Nprem[static_cast<std::size_t>(np)], 317);
}

TEST(Prem, PrimeGrowsTheTableJustPastItsRootCompositeToItsFactor) {
    table_neuve();
    S = ZZ(1000003); // prime, root 1000
    EXPECT_EQ(prem(), 1);
    attendre_table();
    EXPECT_EQ(Nprem[static_cast<std::size_t>(np)], 1009);
    table_neuve();
    S3 = 1009L * 1013L;
    EXPECT_EQ(prem1(), 0);
    attendre_table();
    EXPECT_EQ(Nprem[static_cast<std::size_t>(np)], 1009);
    // Above 2^53: a prime square is still caught at its root.
    table_neuve();
    S3 = 134217757L * 134217757L;
    EXPECT_EQ(prem1(), 0);
    attendre_table();
    EXPECT_EQ(Nprem[static_cast<std::size_t>(np)], 134217757);
}

} // namespace

// The direct test against FLINT's: every value below 2^18, the strong
// pseudoprimes to the first bases and Carmichael numbers, squares and
// products of two primes near 2^32, and values near 2^64.
TEST(Arith64, DirectTestAgreesWithFlint) {
    std::vector<std::uint64_t> v;
    for (std::uint64_t x = 0; x < (1u << 18); ++x) {
        v.push_back(x);
    }
    for (std::uint64_t x :
         {2047ULL, 1373653ULL, 25326001ULL, 3215031751ULL, 2152302898747ULL, 3474749660383ULL,
          341550071728321ULL, 3825123056546413051ULL, 561ULL, 41041ULL, 825265ULL,
          4294967291ULL * 4294967279ULL, 4294967291ULL * 4294967291ULL, 18446744073709551557ULL,
          18446744073709551615ULL}) {
        v.push_back(x);
    }
    for (std::uint64_t x = (std::uint64_t{1} << 32) - 5000; x < (std::uint64_t{1} << 32) + 5000;
         ++x) {
        v.push_back(x);
        v.push_back(x * 3 + 1);
        v.push_back(~std::uint64_t{0} - x);
    }
    for (std::uint64_t x : v) {
        ASSERT_EQ(premier_direct(x), n_is_prime(x) != 0) << x;
    }
}
