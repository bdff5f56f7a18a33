// Counting without the sieve: pi and the count of a range against the
// sieve's count on both sides of the point where the cost model switches,
// ranges at 2^63 - 1, the table after a count by pi, and counts after a fork.

#include "aide.hpp"
#include "base/interruption.hpp"
#include "listings/listings.hpp"
#include "primes/compte.hpp"
#include "primes/primes.hpp"
#include "primes/remplissage.hpp"
#include "state/travail.hpp"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <gtest/gtest.h>
#include <primesieve.hpp>
#include <random>
#include <string>
#include <vector>

namespace {

std::int64_t crible(std::int64_t debut, std::int64_t fin) {
    return static_cast<std::int64_t>(primesieve::count_primes(static_cast<std::uint64_t>(debut),
                                                              static_cast<std::uint64_t>(fin)));
}

TEST(Compte, PiAgainstTheSieve) {
    for (std::int64_t x : {-5L, 0L, 1L, 2L, 3L, 4L, 5L, 100L, 7919L, 7920L}) {
        EXPECT_EQ(pi(x), x < 2 ? 0 : crible(1, x)) << x;
    }
    std::mt19937_64 alea(7);
    for (int n = 0; n < 20; ++n) {
        auto x = static_cast<std::int64_t>(alea() % 300'000'000ULL);
        ASSERT_EQ(pi(x), crible(1, x)) << x;
    }
    EXPECT_EQ(pi(1'000'000'000'000), 37'607'912'018);
}

// The widest range at height DEBUT still counted by the sieve.
std::int64_t largeur_de_bascule(std::int64_t debut) {
    std::int64_t bas = 0;
    std::int64_t haut = std::int64_t{1} << 40;
    EXPECT_FALSE(compte_par_pi(debut, debut));
    EXPECT_TRUE(compte_par_pi(debut, debut + haut));
    while (haut - bas > 1) {
        std::int64_t milieu = bas + (haut - bas) / 2;
        (compte_par_pi(debut, debut + milieu) ? haut : bas) = milieu;
    }
    return bas;
}

TEST(Compte, RandomRangesOnBothSidesOfTheSwitch) {
    std::mt19937_64 alea(2024);
    int par_pi = 0;
    int par_crible = 0;
    for (int n = 0; n < 24; ++n) {
        double e = 5.0 + static_cast<double>(alea() % 800) / 100.0; // heights 1e5 to 1e13
        auto debut = static_cast<std::int64_t>(std::pow(10.0, e)) + static_cast<int>(alea() % 1000);
        std::int64_t bascule = largeur_de_bascule(debut);
        for (double f : {0.6, 0.97, 1.03, 1.7}) {
            auto fin = debut + static_cast<std::int64_t>(static_cast<double>(bascule) * f);
            (compte_par_pi(debut, fin) ? par_pi : par_crible) += 1;
            ASSERT_EQ(nombre_premiers(debut, fin), crible(debut, fin)) << debut << ".." << fin;
        }
    }
    EXPECT_EQ(par_pi, 48);
    EXPECT_EQ(par_crible, 48);
}

TEST(Compte, RangesAtTheTopOfTheRange) {
    const std::int64_t haut = INT64_MAX;
    for (std::int64_t largeur : {0L, 25L, 1000L}) {
        EXPECT_EQ(nombre_premiers(haut - largeur, haut), crible(haut - largeur, haut)) << largeur;
    }
    EXPECT_EQ(nombre_premiers(haut - 24, haut), 1); // 2^63 - 25 is the largest prime
    EXPECT_TRUE(compte_par_pi(1, haut));
    EXPECT_TRUE(compte_par_pi(haut / 2, haut));
    EXPECT_FALSE(compte_par_pi(haut - 1'000'000'000, haut));
    EXPECT_GT(duree_pi(haut), 30.0); // long enough to need Ctrl-C
    EXPECT_LT(duree_pi(haut), 1000.0);
}

// Count only, from the table TABLE leaves: w1, np and the whole table.
struct Apres {
    std::int64_t w;
    std::vector<std::int64_t> table;
};

Apres apres_liste(std::int64_t debut, std::int64_t fin, int seul, std::int64_t rang) {
    table_neuve();
    while (np < rang) {
        Suiv();
    }
    Dialogue d(std::to_string(debut) + "\n" + std::to_string(fin) + "\n" + std::to_string(seul) +
               "\n");
    liste();
    attendre_table();
    return {w1, std::vector<std::int64_t>(Nprem.begin(), Nprem.begin() + np + 1)};
}

// The full listing grows the table as the walk does, value by value; a count
// by pi must leave the same table and the same count.
TEST(Compte, TheTableAfterACountByPiIsTheListingsTable) {
    const std::vector<std::pair<std::int64_t, std::int64_t>> plages = {
        {1, 30'000'000}, {4, 30'000'000}, {1'234'567, 40'000'000}, {9'999'991, 50'000'000}};
    for (auto [debut, fin] : plages) {
        ASSERT_TRUE(compte_par_pi(std::max<std::int64_t>(5, debut | 1), fin))
            << debut << ".." << fin;
        for (std::int64_t rang : {2L, 3000L}) {
            Apres compte = apres_liste(debut, fin, 1, rang);
            Apres liste_p = apres_liste(debut, fin, 0, rang);
            EXPECT_EQ(compte.w, crible(debut, fin));
            EXPECT_EQ(compte.w, liste_p.w);
            EXPECT_EQ(compte.table, liste_p.table) << debut << ".." << fin << " from rank " << rang;
        }
    }
}

// primecount's threads do not survive a fork: after counts done in place,
// with Ctrl-C handled as at a terminal, a long count in a child must still
// come back. In a process of its own, started with the handler installed.
void compter_apres_installation() {
    installer_interruption();
    bool juste = nombre_premiers(1, 10'000'000'000'000) == 346'065'536'839 &&  // in place
                 pi(100'000'000'000) == 4'118'054'813 &&                       //
                 nombre_premiers(1, 100'000'000'000'000) == 3'204'941'750'802; // in a child
    std::exit(juste ? 0 : 1);
}

TEST(Compte, ALongCountInAChildAfterCountsInPlace) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(compter_apres_installation(), testing::ExitedWithCode(0), "");
}

} // namespace
