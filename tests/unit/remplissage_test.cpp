// The table filled in the background: whatever the order of the requests and
// whoever reads it while it fills, the table that is read is the one the
// requests one at a time would have left; the fill's contract on a table of
// its own (a reader during the fill, Ctrl-C, a filler's failure, the end
// during a fill, no thread at all); and the storage gives back every
// entry's value, past 2^32 too.

#include "aide.hpp"
#include "base/equipe.hpp"
#include "base/interruption.hpp"
#include "base/remplissage.hpp"
#include "base/tablepremiers.hpp"
#include "listings/listings.hpp"
#include "primes/portee.hpp"
#include "primes/primes.hpp"
#include "primes/remplissage.hpp"

#include <chrono>
#include <csignal>
#include <future>
#include <gtest/gtest.h>
#include <new>
#include <optional>
#include <primesieve.hpp>
#include <pthread.h>
#include <string>
#include <thread>
#include <vector>

namespace {

// The table holds exactly the primes up to its last one.
void table_exacte() {
    attendre_table();
    std::vector<std::int64_t> premiers{0};
    primesieve::generate_primes(Nprem[static_cast<std::size_t>(np)], &premiers);
    ASSERT_EQ(Nprem.size(), premiers.size());
    EXPECT_TRUE(Nprem == premiers);
}

TEST(Remplissage, TargetsInAnyOrderGiveTheLargest) {
    table_neuve();
    grandir_jusqu_a(2'000'000); // 2000003, rank 148934
    grandir_jusqu_a(1'000'000);
    grandir_au_dessus(500);
    EXPECT_EQ(rang_vise(), 148934);
    EXPECT_EQ(premier_vise(), 2000003);
    table_exacte();
    EXPECT_EQ(np, 148934);
    grandir_au_dessus(1'500'000); // already reached: nothing more
    attendre_table();
    EXPECT_EQ(np, 148934);
}

// The listing's first screen, asked while the table fills, shows its end.
TEST(Remplissage, AReaderWaitsForTheFilling) {
    table_neuve();
    grandir_au_dessus(3'000'000); // 3000017, rank 216817
    Dialogue d("0\n");
    premier();
    EXPECT_NE(d.sortie().find("[ 216817 : 3000017 ] ."), std::string::npos);
    table_exacte();
}

// A long growth is cut into pieces that both fillers write at once, and a
// growth asked for while they write comes after it: the table is the
// sieve's, from its first rank, which a reader gets before the end, to its
// last.
TEST(Remplissage, PiecesWrittenOnBothCoresGiveTheSievesTable) {
    table_neuve();
    grandir_au_rang(45'000'000); // primes up to 8.7e8: a dozen pieces
    grandir_au_rang(60'000'000); // while the fillers cut them
    attendre_rang(1000);
    EXPECT_EQ(Nprem[1000], 7919);
    attendre_table();
    ASSERT_EQ(np, 60'000'000);
    primesieve::iterator it;
    std::int64_t faux = 0;
    for (std::size_t r = 1; r <= 60'000'000; ++r) {
        faux += Nprem[r] != static_cast<std::int64_t>(it.next_prime());
    }
    EXPECT_EQ(faux, 0);
}

// Where no thread can start, the work is done by the thread that waits for
// it: the same table, and every part of a split computation.
TEST(Remplissage, WithoutThreadsTheWaitingThreadFills) {
    FilsRefuses refus;
    table_neuve();
    grandir_au_rang(3'000'000);
    table_exacte();
    EXPECT_EQ(np, 3'000'000);
    Equipe equipe(2);
    std::vector<int> vues(2);
    equipe.executer([&](int part) { ++vues[static_cast<std::size_t>(part)]; });
    EXPECT_EQ(vues, std::vector<int>({1, 1}));
}

// A fill of its own, on a table of its own: ranks 1 and 2, then the growth
// to rank RANG (whose prime is PREMIER), counted by COMPTER.
struct Essai {
    TablePremiers table{3, 0};
    std::optional<Remplissage> fill;
    explicit Essai(Remplissage::Compteur compter = pi, int remplisseurs = 2) {
        table.assign(1, 0);
        table.push_back(2);
        table.push_back(3);
        fill.emplace(table, std::move(compter), remplisseurs);
    }
    // The ranks published agree with the sieve.
    void exacte() const {
        const std::int64_t n = fill->publie();
        primesieve::iterator it;
        std::int64_t faux = 0;
        for (std::size_t r = 1; r <= static_cast<std::size_t>(n); ++r) {
            faux += table[r] != static_cast<std::int64_t>(it.next_prime());
        }
        EXPECT_EQ(faux, 0);
    }
};

constexpr std::int64_t RANG = 20'000'000;
constexpr std::int64_t PREMIER = 373'587'883;

// A reader during the fill gets its ranks before the end, then the whole.
TEST(Remplissage, AReaderDuringTheFillGetsItsRanksFirst) {
    Essai e;
    e.fill->viser(RANG, PREMIER);
    e.fill->attendre(100'000);
    EXPECT_GE(e.fill->publie(), 100'000);
    EXPECT_EQ(e.table[100'000], 1'299'709);
    e.fill->attendre(Remplissage::TOUT);
    EXPECT_EQ(e.fill->publie(), RANG);
    EXPECT_EQ(e.table[RANG], PREMIER);
    e.exacte();
}

// Ctrl-C during a wait ends the wait and not the fill; the next wait gets
// the whole table. The counts of the pieces after the first wait for the
// key, so that the fill cannot end before it.
TEST(Remplissage, CtrlCDuringAWaitThenAWaitThatEnds) {
    std::promise<void> cle;
    std::shared_future<void> pressee = cle.get_future().share();
    Essai e([pressee](std::int64_t x) {
        pressee.wait();
        return pi(x);
    });
    e.fill->viser(RANG, PREMIER);
    installer_interruption();
    pthread_t principal = pthread_self();
    std::thread frappe([principal] {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        pthread_kill(principal, SIGINT);
    });
    EXPECT_THROW(e.fill->attendre(Remplissage::TOUT), Interruption);
    frappe.join();
    interruption_demandee = 0;
    cle.set_value();
    e.fill->attendre(Remplissage::TOUT);
    EXPECT_EQ(e.fill->publie(), RANG);
    e.exacte();
}

// A count that fails beyond a value: the ranks below it are published, the
// reader that needs more gets the failure, the target comes down to what
// was filled, and a later growth fills again.
TEST(Remplissage, AFillersFailureReachesTheReader) {
    for (int remplisseurs : {2, 0}) {
        Essai e(
            [](std::int64_t x) {
                if (x > 200'000'000) {
                    throw std::bad_alloc();
                }
                return pi(x);
            },
            remplisseurs);
        e.fill->viser(RANG, PREMIER);
        EXPECT_THROW(e.fill->attendre(RANG), std::bad_alloc) << remplisseurs;
        EXPECT_LT(e.fill->publie(), RANG);
        EXPECT_EQ(e.fill->cible(), e.fill->publie());
        e.exacte();
        e.fill->viser(e.fill->cible() + 1000, nieme_premier(e.fill->cible() + 1000));
        e.fill->attendre(Remplissage::TOUT);
        EXPECT_EQ(e.table[static_cast<std::size_t>(e.fill->publie())],
                  nieme_premier(e.fill->publie()));
        e.exacte();
    }
}

// The end of the program during a fill: the fillers stop and are joined.
TEST(Remplissage, TheEndDuringAFill) {
    for (int fois = 0; fois < 3; ++fois) {
        Essai e;
        e.fill->viser(RANG, PREMIER);
        e.fill->attendre(1000);
        e.fill.reset();
    }
}

// Without fillers the reader writes the pieces: the same table.
TEST(Remplissage, WithoutFillersTheReaderWrites) {
    Essai e(pi, 0);
    e.fill->viser(RANG / 10, nieme_premier(RANG / 10));
    e.fill->attendre(Remplissage::TOUT);
    EXPECT_EQ(e.fill->publie(), RANG / 10);
    e.exacte();
}

TEST(TablePremiers, EntriesPast32BitsKeepTheirValues) {
    TablePremiers t(1, 0);
    for (std::int64_t v = 1; v <= 70'000; ++v) {
        t.push_back(v);
    }
    const std::int64_t grand = (std::int64_t{1} << 32) + 15;
    t.push_back(grand);
    t.push_back(grand + 2);
    t.push_back(INT64_MAX);
    EXPECT_EQ(t.size(), 70'004u);
    EXPECT_EQ(t[70'000], 70'000);
    EXPECT_EQ(t[70'001], grand);
    EXPECT_EQ(t.back(), INT64_MAX);
    EXPECT_EQ(*(t.end() - 2), grand + 2);
    t.assign(1, 0); // back to the start
    t.push_back(7);
    EXPECT_EQ(t[1], 7);
    EXPECT_EQ(t.size(), 2u);
}

} // namespace
