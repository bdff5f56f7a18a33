// The prime table's growth (file, compute phase, damaged files) and the two
// primality tests.

#include "aide.hpp"
#include "primes/primes.hpp"
#include "primes/remplissage.hpp"
#include "state/travail.hpp"

#include <cmath>
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
    EXPECT_EQ(i, 1);
}

TEST(Table, ComputePhaseAgreesWithTrialDivision) {
    // From ranks 1 and 2 alone, then past the end of a short file.
    for (const std::string& nom : {std::string("absent.txt"), liste_generee(1000)}) {
        table_neuve(nom);
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
    EXPECT_FALSE(monFlux.epuise());
    Suiv(); // rank 101 is computed, though the file holds it too
    attendre_table();
    EXPECT_EQ(Nprem[101], 547);
    grandir_jusqu_a(2000);
    attendre_table();
    EXPECT_EQ(Nprem, crible(17389));
}

// Every damaged file gives the same table as a sound one: the bad rank and
// every later one are computed.
TEST(Table, DamagedFilesAreReadNoFurther) {
    const std::vector<std::string> contenus = {
        "",
        "5 7 11 13 1",              // truncated in the middle of a token
        "5 7 11 abc 17",            // not a number
        "5 7 12abc 13",             // digits then letters
        "5 7 1.5 13",               //
        "5 7 7 11",                 // not above the previous value
        "5 7 0 11",                 //
        "5 7 -11 13",               //
        "5 7 99999999999999999999", // above 2^63 - 1
        "3 5 7",                    // the first value must be above 3
        "5\r\n7\r\n11\r\n13",       // sound: CRLF
        "  5\t\t7 \v\f 11\n\n13 ",  // sound: mixed white space
        "+5 0007 +011 13",          // sound: signs and leading zeros
    };
    for (const std::string& texte : contenus) {
        table_neuve(fichier("abime.txt", texte));
        grandir_jusqu_a(1000);
        attendre_table();
        EXPECT_EQ(Nprem, crible(7919)) << texte;
    }
    // The same faults deep inside a long file, where tokens are read in bulk.
    std::string debut;
    for (std::size_t r = 3; r < 1000; ++r) {
        debut += std::to_string(crible(7919)[r]) + "\n";
    }
    for (const char* faute : {"7919x", "7919.0", "-7919", "7907", "07919x", "79190000000000000000",
                              "791900000000000000000000000000000000000000"}) {
        table_neuve(fichier("long.txt", debut + faute + "\n7927\n7933\n" + debut));
        grandir_jusqu_a(1002);
        attendre_table();
        EXPECT_EQ(Nprem, crible(7933)) << faute;
    }
    table_neuve(fichier("long.txt", debut + "0007919\n+7927 \t 7933\r\n"));
    grandir_jusqu_a(1002);
    EXPECT_FALSE(monFlux.epuise());
    table_neuve("."); // a directory
    grandir_jusqu_a(100);
    attendre_table();
    EXPECT_EQ(Nprem, crible(541));
}

TEST(Table, LeadingZerosOfAnyLengthStayOneToken) {
    table_neuve(fichier("zeros.txt", "5 " + std::string(40, '0') + "7 11"));
    grandir_jusqu_a(5);
    attendre_table();
    EXPECT_EQ(Nprem, crible(11));
    EXPECT_FALSE(monFlux.epuise());
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
