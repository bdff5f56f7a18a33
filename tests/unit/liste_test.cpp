// Primes between two bounds: the screens for every small pair of bounds, the
// counts over wider ranges, the walk near 2^63 - 1, and the table grown only
// as far as the primality test of each odd value needs.

#include "aide.hpp"
#include "factor/factor.hpp"
#include "listings/listings.hpp"
#include "primes/remplissage.hpp"
#include "state/travail.hpp"

#include <algorithm>
#include <cmath>
#include <gtest/gtest.h>
#include <primesieve.hpp>
#include <string>
#include <vector>

namespace {

const std::string INFERIEURE = "\n \t Limite inferieure ? : ";
const std::string SUPERIEURE = "\n \t Limite superieure ? : ";
const std::string MODE = "\n \n \t Afficher,  [1] L'effectif seulement / [0] Toute la liste : ? ";

// What liste prints from the first bound question on, for bounds asked once
// and the primes P between them.
std::string ecran(int seul_effectif, const std::vector<std::uint64_t>& p) {
    std::string s = " \n " + INFERIEURE + " \n  " + SUPERIEURE + MODE;
    if (seul_effectif == 0) {
        s += " \n \n \t  Entre ces limites, les nombres premiers sont : ";
        for (std::uint64_t v : p) {
            s += ' ';
            s += std::to_string(v);
            s += " , ";
        }
    }
    s += " \n \n \t  Il y a  ";
    s += std::to_string(p.size());
    return s + "  nombres premiers entre ces limites. \n \n \n ";
}

std::string ecran(std::int64_t debut, std::int64_t fin, int seul_effectif) {
    std::vector<std::uint64_t> p;
    primesieve::generate_primes(static_cast<std::uint64_t>(debut), static_cast<std::uint64_t>(fin),
                                &p);
    return ecran(seul_effectif, p);
}

std::string lancer(const std::string& lignes) {
    Dialogue d(lignes);
    liste();
    return d.sortie();
}

std::string reponses(std::int64_t debut, std::int64_t fin, int seul_effectif) {
    return std::to_string(debut) + "\n" + std::to_string(fin) + "\n" +
           std::to_string(seul_effectif) + "\n";
}

TEST(Liste, EveryPairOfSmallBoundsBothModes) {
    table_neuve();
    for (std::int64_t debut = 1; debut <= 60; ++debut) {
        for (std::int64_t fin = debut; fin <= 60; ++fin) {
            for (int seul : {0, 1}) {
                ASSERT_EQ(lancer(reponses(debut, fin, seul)), ecran(debut, fin, seul))
                    << debut << ".." << fin << " mode " << seul;
            }
        }
    }
}

TEST(Liste, ReversedBoundsAskBothAgain) {
    table_neuve();
    std::string attendu = ecran(5, 10, 0);
    attendu.insert(3, INFERIEURE + " \n  " + SUPERIEURE + INFERIEURE + " \n  " + SUPERIEURE);
    EXPECT_EQ(lancer("10\n5\n11\n10\n5\n10\n0\n"), attendu);
}

TEST(Liste, CountsOverWiderRanges) {
    table_neuve();
    const std::vector<std::pair<std::int64_t, std::int64_t>> plages = {
        {1, 1000000}, {999000, 1001000}, {1000000000000, 1000000010000}};
    for (auto [debut, fin] : plages) {
        lancer(reponses(debut, fin, 1));
        EXPECT_EQ(w1, static_cast<std::int64_t>(primesieve::count_primes(
                          static_cast<std::uint64_t>(debut), static_cast<std::uint64_t>(fin))))
            << debut << ".." << fin;
    }
}

// Near 2^63 - 1 every odd value has a factor of at most 157 (rank 37): the
// walk reaches the last odd value, 2^63 - 1 itself, and stops there.
TEST(Liste, WalkEndsAtTheLargestBound) {
    const std::int64_t haut = INT64_MAX;
    for (std::int64_t debut : {haut - 23, haut - 22, haut - 1, haut}) {
        table_neuve();
        EXPECT_EQ(lancer(reponses(debut, haut, 0)), ecran(0, {})) << debut;
        attendre_table();
        EXPECT_EQ(np, debut >= haut - 1 ? 4 : 37) << debut; // 7 is rank 4
    }
}

// The last trial divisor prem1 uses on odd V: its smallest prime factor, or
// for a prime the first prime above the bound of its test.
std::uint64_t dernier_diviseur(std::int64_t v, const std::vector<std::uint64_t>& petits) {
    auto racine = static_cast<std::uint64_t>(std::sqrt(static_cast<double>(v)));
    for (std::uint64_t p : petits) {
        if (p > racine || static_cast<std::uint64_t>(v) % p == 0) {
            return p;
        }
    }
    return 0;
}

TEST(Liste, TableGrowsAsFarAsTheTestsOfOddValuesNeed) {
    std::vector<std::uint64_t> petits;
    primesieve::generate_primes(0, 2000000, &petits);
    const std::vector<std::pair<std::int64_t, std::int64_t>> plages = {
        {1, 10}, {4, 4}, {1, 100000}, {20000000000, 20000000300}, {1000000000000, 1000000002000}};
    for (auto [debut, fin] : plages) {
        table_neuve();
        lancer(reponses(debut, fin, 1));
        std::uint64_t dernier = 3;
        for (std::int64_t v = std::max<std::int64_t>(5, debut | 1); v <= fin; v += 2) {
            dernier = std::max(dernier, dernier_diviseur(v, petits));
        }
        attendre_table();
        EXPECT_EQ(np, static_cast<std::int64_t>(primesieve::count_primes(0, dernier)))
            << debut << ".." << fin;
    }
}

TEST(Liste, FactorisationFindsThePrimesTheListingAdded) {
    table_neuve();
    lancer(reponses(20000000000, 20000000300, 0));
    attendre_table();
    const std::int64_t grandi = np;
    EXPECT_GT(grandi, 10002);
    const std::vector<std::int64_t> avant(Nprem.begin(), Nprem.end());
    Dialogue d("10974867121\n0\n"); // 104761^2: rank 10003, already there
    decomp();
    EXPECT_NE(d.sortie().find(" \n \n \t 10974867121 =  (104761)^2"), std::string::npos);
    attendre_table();
    EXPECT_EQ(Nprem, avant);
    EXPECT_EQ(lancer(reponses(20000000000, 20000000300, 1)), ecran(20000000000, 20000000300, 1));
    attendre_table();
    EXPECT_EQ(np, grandi);
}

} // namespace
