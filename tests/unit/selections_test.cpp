// The selections' searches and runs, checked on many bounds against the
// literal scans over the table, and the table left untouched.

#include "aide.hpp"
#include "listings/listings.hpp"
#include "primes/primes.hpp"
#include "primes/remplissage.hpp"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

constexpr std::int64_t RANGS = 1200; // primes up to 9733

class Selections : public ::testing::Test {
  protected:
    void SetUp() override {
        table_neuve();
        while (np < RANGS) {
            Suiv();
        }
    }
};

// What one option prints after its last question: ANSWERS are typed after
// "*", then 0 leaves the selections.
std::string resultat(const std::string& reponses, const std::string& dernier_prompt) {
    Dialogue d(reponses + "0\n");
    affiche();
    const std::string& s = d.sortie();
    std::size_t debut = s.rfind(dernier_prompt) + dernier_prompt.size();
    std::size_t fin = s.find(" \n \n \n \t AFFICHAGE", debut);
    return s.substr(debut, fin - debut);
}

std::string entree(std::int64_t t) {
    return "   [ " + std::to_string(t) + " : " + std::to_string(Nprem[t]) + " ] ";
}

// The literal lower search: from rank 1 while the prime is below A.
std::int64_t balayage_minore(std::int64_t a) {
    std::int64_t t = 1;
    while (Nprem[t] < a) {
        ++t;
    }
    return t;
}

// The literal upper search: from rank S while the rank is known and its prime
// is at most B; the rank before the stop.
std::int64_t balayage_majore(std::int64_t b, std::int64_t s) {
    std::int64_t t = s;
    while (t <= np && Nprem[t] <= b) {
        ++t;
    }
    return t - 1;
}

std::string liste_attendue(std::int64_t de, std::int64_t a) {
    std::string o = " \n \n ";
    for (std::int64_t t = de; t <= a; ++t) {
        o += ((t - 1) % 100 == 0 ? " \n \n \n " : "") + entree(t);
    }
    return o;
}

TEST_F(Selections, LargestPrimeBelowEveryBound) {
    for (std::int64_t b = 1; b <= Nprem[np]; ++b) {
        std::int64_t r = balayage_majore(b, 1);
        std::string attendu =
            " \n \n \t [ " + std::to_string(r) + " : " + std::to_string(Nprem[r]) + " ] ";
        ASSERT_EQ(resultat("2\n" + std::to_string(b) + "\n", "Majorant du nombre ? : "), attendu)
            << "bound " << b;
    }
    attendre_table();
    EXPECT_EQ(np, RANGS);
}

TEST_F(Selections, PrimesBetweenBoundsOfEveryWidth) {
    for (std::int64_t a = 1; a <= Nprem[np]; a += 7) {
        for (std::int64_t largeur : {0, 1, 2, 13, 250, 1000}) {
            std::int64_t b = std::min(a + largeur, Nprem[np]);
            std::int64_t r1 = balayage_minore(a);
            std::string reponses = "4\n" + std::to_string(a) + "\n" + std::to_string(b) + "\n";
            ASSERT_EQ(resultat(reponses, "\t Majorant ? : "),
                      liste_attendue(r1, balayage_majore(b, r1)))
                << "bounds " << a << " " << b;
        }
    }
    attendre_table();
    EXPECT_EQ(np, RANGS);
}

// Runs found another way: the pairs at the gap in order of appearance, grouped
// into maximal chains; a chain of L primes, L >= minimum, is one line numbered
// by the ordinal of its first pair.
std::string suites_attendues(std::int64_t a, std::int64_t b, std::int64_t ecart,
                             std::int64_t minimum) {
    std::vector<std::int64_t> rangs;
    for (std::int64_t t = 1; t <= np; ++t) {
        if (Nprem[t] >= a && Nprem[t] <= b) {
            rangs.push_back(t);
        }
    }
    std::string o = " \n \n ";
    std::int64_t paires = 0;
    std::size_t p = 0;
    while (p + 1 < rangs.size()) {
        if (Nprem[rangs[p + 1]] - Nprem[rangs[p]] != ecart) {
            ++p;
            continue;
        }
        std::int64_t premiere = paires + 1;
        std::size_t fin = p + 1;
        while (fin + 1 < rangs.size() && Nprem[rangs[fin + 1]] - Nprem[rangs[fin]] == ecart) {
            ++fin;
        }
        paires += static_cast<std::int64_t>(fin - p);
        if (static_cast<std::int64_t>(fin - p + 1) >= minimum) {
            o += " \n    " + std::to_string(premiere) + "  :  ";
            for (std::size_t q = p; q <= fin; ++q) {
                o += entree(rangs[q]);
            }
        }
        p = fin;
    }
    return o;
}

TEST_F(Selections, RunsOfConsecutivePrimesAtAFixedGap) {
    const std::vector<std::pair<std::int64_t, std::int64_t>> bornes = {
        {1, 20}, {1, 100}, {3, 3}, {4, 6}, {5, 13}, {100, 2000}, {1, 9733}, {2000, 9000}};
    for (auto [a, b] : bornes) {
        for (std::int64_t ecart : {1, 2, 4, 6, 12, 30}) {
            for (std::int64_t minimum : {2, 3, 4}) {
                std::string reponses = "5\n" + std::to_string(a) + "\n" + std::to_string(b) + "\n" +
                                       std::to_string(ecart) + "\n" + std::to_string(minimum) +
                                       "\n";
                ASSERT_EQ(resultat(reponses, "l'affichage ait lieu ? : "),
                          suites_attendues(a, b, ecart, minimum))
                    << a << " " << b << " gap " << ecart << " min " << minimum;
            }
        }
    }
    attendre_table();
    EXPECT_EQ(np, RANGS);
}

} // namespace
