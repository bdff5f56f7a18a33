// Entries [2] and [3] of the concatenation menu against the number-by-number
// search they replace: the same list, the same total and the same table
// afterwards, on ranges of every kind, under both choices and in both modes.

#include "aide.hpp"
#include "base/interruption.hpp"
#include "concat/concat.hpp"
#include "concat/decoupe.hpp"
#include "primes/remplissage.hpp"
#include "reference.hpp"

#include <chrono>
#include <csignal>
#include <gtest/gtest.h>
#include <pthread.h>
#include <random>
#include <string>
#include <thread>

namespace {

// What Nconcat prints after its questions, reduced to the reference's form.
std::string Nconcat_rapide(std::uint64_t debut, std::uint64_t fin, int choix, int seul) {
    choix0 = choix;
    Dialogue d(std::to_string(debut) + "\n" + std::to_string(fin) + "\n" + std::to_string(seul) +
               "\n");
    Nconcat();
    const std::string& s = d.sortie();
    const std::string tete = "   les  nombres qui convienent sont : ", total = " \n \n \t Il y a  ";
    std::size_t b = s.find(total);
    std::size_t a = s.find(tete);
    a = a == std::string::npos ? b : a + tete.size();
    return s.substr(a, b - a) + "|" +
           s.substr(b + total.size(), s.find(' ', b + total.size()) - b - total.size());
}

// Both searches on [debut, fin] from a fresh table, in both modes and under
// both choices: the screens, then the table once filled.
void comparer(std::uint64_t debut, std::uint64_t fin) {
    for (int choix : {2, 3}) {
        for (int seul : {0, 1}) {
            SCOPED_TRACE(std::to_string(debut) + ".." + std::to_string(fin) + " choice " +
                         std::to_string(choix) + (seul == 1 ? " count" : " list"));
            table_neuve();
            std::string attendu = Nconcat_literal(debut, fin, choix, seul);
            attendre_table();
            std::int64_t np_attendu = np;
            table_neuve();
            ASSERT_EQ(Nconcat_rapide(debut, fin, choix, seul), attendu);
            attendre_table();
            ASSERT_EQ(np, np_attendu);
        }
    }
}

TEST(RechercheReference, RandomRangesBelow10Pow7) {
    std::mt19937_64 alea(2357);
    for (int essai = 0; essai < 40; ++essai) {
        std::uint64_t haut = 10;
        for (std::uint64_t e = alea() % 7; e > 0; --e) {
            haut *= 10;
        }
        std::uint64_t debut = alea() % haut + 1;
        comparer(debut, debut + alea() % (essai % 4 == 0 ? 20 : 4000));
    }
}

TEST(RechercheReference, PowersOfTenAndSingleNumbers) {
    for (std::uint64_t p = 100; p <= 10'000'000; p *= 10) {
        comparer(p - 25, p + 25);
    }
    comparer(1, 1);
    comparer(1, 30);
    for (std::uint64_t n : {2, 5, 11, 22, 23, 113, 2003, 3737, 1000000, 7654321, 9999991}) {
        comparer(n, n);
    }
}

// Above the table of odd values the numbers come from a sieve of the range
// (a wide range) or from a test each (a narrow one); near 2^63 their pieces
// need the table up to 3e9, so its growth is capped for both searches.
TEST(RechercheReference, RangesAboveTheBitTable) {
    comparer(99'990'000, 100'010'000);
    comparer(100'000'000'000'000, 100'000'000'002'000);
    comparer(314'159'265'358'979, 314'159'265'360'979);
    RangFichierAbaisse limite(20000);
    comparer(9'223'372'036'854'775'807 - 400, 9'223'372'036'854'775'807);
}

// Ctrl-C in a search that would run for ages, on both cores: the search
// ends, and the list written so far stops after a whole number.
TEST(Recherche, CtrlCEndsALongSearchAfterAWholeNumber) {
    installer_interruption();
    for (int seul : {0, 1}) {
        table_neuve();
        choix0 = 2;
        Dialogue d("1\n9223372036854775807\n" + std::to_string(seul) + "\n");
        pthread_t principal = pthread_self();
        std::thread ctrl_c([principal] {
            std::this_thread::sleep_for(std::chrono::milliseconds(200));
            pthread_kill(principal, SIGINT);
        });
        EXPECT_THROW(Nconcat(), Interruption);
        ctrl_c.join();
        interruption_demandee = 0;
        const std::string& s = d.sortie();
        if (seul == 0 && !s.ends_with("sont : ")) { // a round or more was written
            EXPECT_TRUE(s.ends_with("]  "));
        }
    }
}

} // namespace
