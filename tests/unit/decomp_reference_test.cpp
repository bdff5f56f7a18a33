// The fast factorisation against trial division: same screens and the same
// table afterwards, on inputs the literal routine finishes quickly.

#include "aide.hpp"
#include "factor/factor.hpp"
#include "primes/primes.hpp"
#include "primes/remplissage.hpp"
#include "reference.hpp"
#include "state/travail.hpp"

#include <gtest/gtest.h>
#include <random>
#include <sstream>
#include <string>
#include <vector>

namespace {

// One entry into the factorisation with every N of NS, answering 1 to
// "Nouvelle valeur" between them; returns the screen and leaves the table.
std::string session(int (*routine)(), const std::vector<ZZ>& ns, std::int64_t rang) {
    table_neuve();
    while (np < rang) {
        Suiv();
    }
    std::ostringstream lignes;
    for (std::size_t t = 0; t < ns.size(); ++t) {
        lignes << ns[t] << "\n" << (t + 1 < ns.size() ? "1" : "0") << "\n";
    }
    Dialogue d(lignes.str());
    routine();
    return d.sortie();
}

void comparer(const std::vector<ZZ>& ns, std::int64_t rang) {
    std::string attendu = session(decomp_literal, ns, rang);
    attendre_table();
    std::int64_t np_attendu = np;
    ASSERT_EQ(session(decomp, ns, rang), attendu);
    attendre_table();
    ASSERT_EQ(np, np_attendu);
}

TEST(DecompReference, EveryNUpTo3000AndPrimePowers) {
    std::vector<ZZ> ns;
    for (long n = 1; n <= 3000; ++n) {
        ns.emplace_back(n);
    }
    comparer(ns, 2);
    for (long p : {2L, 3L, 97L, 7919L, 104729L, 104761L, 1299709L}) {
        for (long e : {1L, 2L, 3L}) {
            comparer({power(ZZ(p), e)}, 2);
            comparer({power(ZZ(p), e) * 6}, 2);
        }
    }
}

TEST(DecompReference, RandomNumbersOneAtATimeAndInSessions) {
    std::mt19937_64 alea(99);
    for (int n = 0; n < 300; ++n) {
        // A smooth part times one factor up to 10^12: the literal division
        // ends at the square root of the last cofactor or at that factor.
        ZZ v(1);
        for (int t = static_cast<int>(alea() % 5); t > 0; --t) {
            v *= static_cast<long>(alea() % 2000) + 2;
        }
        v *= static_cast<long>(alea() % 1000000000000ULL) + 1;
        comparer({v}, n % 2 == 0 ? 2 : 10002);
    }
    std::vector<ZZ> ns;
    for (int n = 0; n < 50; ++n) {
        ns.emplace_back(static_cast<long>(alea() % 100000000000ULL) + 1);
    }
    comparer(ns, 2);
}

TEST(DecompReference, BigSmoothNumbersAndAPrimeAboveTheFile) {
    comparer({power(ZZ(2), 200), power(ZZ(10), 40) + 0, power(ZZ(3), 50) * 104729}, 2);
    comparer({ZZ(104761) * 104761 * 1000003}, 2); // table grows by computed primes
    comparer({ZZ(1000003) * 1000033}, 10002);     // two factors above the file
}

} // namespace

namespace {

// Where trial division would need primes past the end of liste.txt, the
// table stops there: the file's last rank is lowered to see it.
TEST(Plafond, TableGrowsByItselfNoFurtherThanTheFile) {
    RangFichierAbaisse limite(5000);
    session(decomp, {ZZ(1000003) * 1000033}, 2);
    attendre_table();
    EXPECT_EQ(np, 5000);
    table_neuve();
    S = power(ZZ(10), 30) + 57; // prime
    EXPECT_EQ(prem(), 1);
    attendre_table();
    EXPECT_EQ(np, 5000);
    table_neuve();
    S = ZZ(1000003) * 1000033 * 1000037;
    EXPECT_EQ(prem(), 0);
    attendre_table();
    EXPECT_EQ(np, 5000);
    // Already past the limit: nothing grows.
    while (np < 6000) {
        Suiv();
    }
    S = power(ZZ(10), 30) + 57;
    EXPECT_EQ(prem(), 1);
    attendre_table();
    EXPECT_EQ(np, 6000);
}

} // namespace
