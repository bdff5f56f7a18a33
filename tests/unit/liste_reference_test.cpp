// Menu [3] against the walk it replaces: every odd value from 5 up tested
// with prem1. Screens and final table must be identical on many ranges.

#include "aide.hpp"
#include "listings/listings.hpp"
#include "primes/primes.hpp"
#include "primes/remplissage.hpp"
#include "reference.hpp"
#include "state/travail.hpp"

#include <gtest/gtest.h>
#include <random>
#include <string>

namespace {

// The literal walk over [debut, fin], printed as liste prints it.
std::string marche_literale(std::int64_t debut, std::int64_t fin, int seul) {
    std::string s;
    std::int64_t n = 0;
    auto trouve = [&](std::int64_t v) {
        ++n;
        if (seul == 0) {
            s += ' ';
            s += std::to_string(v);
            s += " , ";
        }
    };
    for (; debut <= 3 && debut <= fin; ++debut) {
        if (debut >= 2) {
            trouve(debut);
        }
    }
    if (debut > 3 && debut % 2 == 0) {
        ++debut;
    }
    for (std::int64_t v = debut; v <= fin; v += 2) {
        S3 = v;
        if (prem1() == 1) {
            trouve(v);
        }
        if (fin - v < 2) {
            break;
        }
    }
    return s + "|" + std::to_string(n);
}

// What liste prints after the questions, reduced to the same form.
std::string liste_rapide(std::int64_t debut, std::int64_t fin, int seul) {
    Dialogue d(std::to_string(debut) + "\n" + std::to_string(fin) + "\n" + std::to_string(seul) +
               "\n");
    liste();
    std::string s = d.sortie();
    const std::string tete = " \n \n \t  Entre ces limites, les nombres premiers sont : ";
    std::size_t a = s.find(tete);
    a = a == std::string::npos ? s.find(" \n \n \t  Il y a  ") : a + tete.size();
    std::size_t b = s.find(" \n \n \t  Il y a  ");
    std::string liste_p = s.substr(a, b - a);
    std::string compte = s.substr(b + 16, s.find(' ', b + 16) - b - 16);
    return liste_p + "|" + compte;
}

// Compares both on [debut, fin] from the same table, in both modes.
void comparer(std::int64_t debut, std::int64_t fin, std::int64_t rang_initial) {
    for (int seul : {0, 1}) {
        table_neuve();
        while (np < rang_initial) {
            Suiv();
        }
        std::string attendu = marche_literale(debut, fin, seul);
        attendre_table();
        std::int64_t np_attendu = np;
        table_neuve();
        while (np < rang_initial) {
            Suiv();
        }
        ASSERT_EQ(liste_rapide(debut, fin, seul), attendu) << debut << ".." << fin;
        attendre_table();
        ASSERT_EQ(np, np_attendu) << debut << ".." << fin << " from rank " << rang_initial;
    }
}

TEST(ListeReference, RandomRangesOfEverySize) {
    std::mt19937_64 alea(12345);
    for (int n = 0; n < 300; ++n) {
        std::int64_t ordre = 1 + static_cast<std::int64_t>(alea() % 12); // up to 10^12
        std::int64_t haut = 1;
        for (std::int64_t e = 0; e < ordre; ++e) {
            haut *= 10;
        }
        auto debut = static_cast<std::int64_t>(alea() % static_cast<std::uint64_t>(haut)) + 1;
        auto largeur = static_cast<std::int64_t>(alea() % (n % 3 == 0 ? 40 : 3000));
        comparer(debut, debut + largeur, n % 2 == 0 ? 2 : 3000);
    }
}

TEST(ListeReference, RangesAroundSquaresAndWithoutPrimes) {
    for (std::int64_t p : {101L, 1009L, 10007L, 104729L, 1000003L}) {
        comparer(p * p - 6, p * p + 6, 2); // a prime square ends the range's primes
        comparer(p * p - 40, p * p, 2);    // the square itself is the last value
        comparer(p * p, p * p, 2);         //
        comparer(p * p + 1, p * p + 1, 2); //
    }
    comparer(1327 * 1327 + 2, 1327 * 1327 + 2 + 30, 2); // inside a gap: composites only
    comparer(370261, 370373, 2);                        // the gap of 112 after 370261
    comparer(370262, 370372, 2);                        // no prime at all
    comparer(24, 28, 2);
    comparer(8, 8, 2);
}

TEST(ListeReference, RangesJustBelowTheTopOfTheRange) {
    // Primes here need table primes up to 3.04e9: only composite-only
    // stretches stay cheap for the literal walk.
    const std::int64_t haut = INT64_MAX;
    comparer(haut - 23, haut, 2);
    comparer(haut - 1, haut, 2);
    comparer(haut - 10, haut - 2, 2);
}

} // namespace
