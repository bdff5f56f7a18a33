// The table filled in the background: whatever the order of the requests and
// whoever reads it while it fills, the table that is read is the one the
// requests one at a time would have left; and its storage gives back every
// entry's value, past 2^32 too.

#include "aide.hpp"
#include "base/equipe.hpp"
#include "base/fluxliste.hpp"
#include "base/tablepremiers.hpp"
#include "listings/listings.hpp"
#include "primes/portee.hpp"
#include "primes/primes.hpp"
#include "primes/remplissage.hpp"

#include <gtest/gtest.h>
#include <primesieve.hpp>
#include <string>
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
    fils_refuses = true;
    table_neuve();
    grandir_au_rang(3'000'000);
    table_exacte();
    EXPECT_EQ(np, 3'000'000);
    Equipe equipe(2);
    std::vector<int> vues(2);
    equipe.executer([&](int part) { ++vues[static_cast<std::size_t>(part)]; });
    EXPECT_EQ(vues, std::vector<int>({1, 1}));
    fils_refuses = false;
}

// A damaged file is read no further; the filling computes the rest.
TEST(Remplissage, ADamagedFileGivesTheSameTable) {
    for (const char* texte : {"5 7 11 12 17 19", "5 7 11 13 19 23", "5 7 97 101"}) {
        table_neuve(fichier("abime.txt", texte));
        grandir_jusqu_a(1'000'000);
        table_exacte();
        EXPECT_TRUE(monFlux.epuise()) << texte;
    }
}

// A long block of the file is read beside the sieve: sound, it is read to
// its end; a value off by two deep inside stops the reading there.
TEST(Remplissage, ALongBlockOfTheFileIsReadAndChecked) {
    const std::string nom = liste_generee(200'000);
    table_neuve(nom);
    grandir_au_rang(200'002);
    table_exacte();
    EXPECT_FALSE(monFlux.epuise());
    std::string texte;
    std::vector<std::int64_t> premiers;
    primesieve::generate_n_primes(200'000, 5, &premiers);
    premiers[150'000] += 2;
    for (std::int64_t p : premiers) {
        texte += std::to_string(p) + "\n";
    }
    table_neuve(fichier("faux.txt", texte));
    grandir_au_rang(200'002);
    table_exacte();
    EXPECT_TRUE(monFlux.epuise());
}

// Where the reading of a long block stops, whatever the layout of the file
// and wherever it goes wrong, is where reading the values one by one and
// checking each stops.
TEST(Remplissage, ABlockReadOnTwoCoresStopsWhereOneByOneStops) {
    constexpr std::int64_t RANGS = 200'000; // one block, checked in two parts split near 3/4
    std::vector<std::int64_t> premiers;
    primesieve::generate_n_primes(RANGS, 5, &premiers);
    struct Cas {
        const char* nom;
        std::size_t ou;     // the value changed
        const char* avant;  // written before it
        const char* valeur; // in its place, when not null
        const char* apres;  // written after it in place of the newline
    };
    const Cas cas[] = {
        {"sound", 0, "", nullptr, "\n"},
        {"crlf everywhere", RANGS, "", nullptr, "\r\n"},
        {"two blanks early", 1000, "", nullptr, " \n"},
        {"two blanks late", 150'000, "", nullptr, " \n"},
        {"leading zero early", 1000, "0", nullptr, "\n"},
        {"leading zero late", 150'000, "00", nullptr, "\n"},
        {"wrong early", 1000, "", "4", "\n"},
        {"wrong late", 150'000, "", "4", "\n"},
        {"wrong last", RANGS - 1, "", "4", "\n"},
        {"two blanks deep", 190'000, "", nullptr, " \n"},
        {"leading zero deep", 190'000, "0", nullptr, "\n"},
        {"wrong deep", 190'000, "", "4", "\n"},
        {"wrong in the first quarter", 60'000, "", "4", "\n"},
        {"cut late", 150'000, "", "", ""},
    };
    for (const Cas& c : cas) {
        std::string texte;
        for (std::size_t k = 0; k < premiers.size(); ++k) {
            bool ici = k == c.ou || c.ou == static_cast<std::size_t>(RANGS);
            if (std::string(c.nom) == "cut late" && k == c.ou) {
                break;
            }
            texte += ici ? c.avant : "";
            texte += ici && c.valeur != nullptr ? c.valeur : std::to_string(premiers[k]);
            texte += ici ? c.apres : "\n";
        }
        texte += "5\n"; // after the ranks read
        const std::string nom = fichier("disposition.txt", texte);
        FluxListe temoin(nom.c_str());
        for (std::int64_t p : premiers) {
            std::int64_t v = 0;
            if (!temoin.lire(v) || v != p) {
                temoin.fermer();
                break;
            }
        }
        table_neuve(nom);
        grandir_au_rang(RANGS + 2);
        table_exacte();
        ASSERT_EQ(monFlux.epuise(), temoin.epuise()) << c.nom;
        if (!temoin.epuise()) {
            EXPECT_EQ(monFlux.position(), temoin.position()) << c.nom;
        }
    }
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
