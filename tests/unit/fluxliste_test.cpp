// The reader of liste.txt: moving past the lines that hold the expected
// values stops where reading them one by one and comparing would, whatever
// the text.

#include "aide.hpp"
#include "base/fluxliste.hpp"

#include <gtest/gtest.h>
#include <random>
#include <string>
#include <vector>

namespace {

// Increasing values one per line mostly, with now and then another separator, a sign,
// leading zeros, a value too long for the fast forms or for 64 bits, or a
// token that is no value at all.
std::string texte_melange(std::mt19937& alea, int valeurs) {
    static const char* const SEPARATEURS[] = {" ", "\t", "\r\n", "\n\n", "  \n", "\v", "\f"};
    static const char* const RARES[] = {"+17",
                                        "-5",
                                        "007",
                                        "0",
                                        "1234567890123456",
                                        "999999999999999",
                                        "9223372036854775807",
                                        "12345678901234567890",
                                        "12a",
                                        "-",
                                        "+"};
    std::string t = "\n";
    std::uint64_t v = alea() % 1000;
    for (int k = 0; k < valeurs; ++k) {
        v += 1 + alea() % (v < 100'000 ? 30 : 30'000'000);
        auto tirage = static_cast<unsigned>(alea() % 1000);
        if (tirage < 3) {
            t += RARES[alea() % std::size(RARES)];
        } else {
            t += std::to_string(v);
        }
        t += tirage % 50 == 7 ? SEPARATEURS[alea() % std::size(SEPARATEURS)] : "\n";
    }
    return t;
}

struct Jeton {
    std::int64_t valeur;
    std::uint64_t apres; // the reader's position after it
};

std::vector<Jeton> un_a_un(const std::string& nom) {
    FluxListe f(nom.c_str());
    std::vector<Jeton> j;
    for (std::int64_t v = 0; f.lire(v);) {
        j.push_back({v, f.position()});
    }
    return j;
}

// Expected values: the file's, one in a few hundred changed; passer_lignes
// never goes past a changed one nor past a line of another form, and stops
// where the reading one by one stands after the values it passed.
TEST(FluxListe, PassingTheExpectedLinesStopsWhereReadingThemWould) {
    std::mt19937 alea(12345);
    for (int essai = 0; essai < 30; ++essai) {
        std::string texte = texte_melange(alea, essai < 20 ? 3000 : 300'000);
        if (essai % 3 == 0) {
            texte.resize(texte.size() - alea() % 12); // ends inside a value
        }
        const std::string nom = fichier("melange.txt", texte);
        const std::vector<Jeton> jetons = un_a_un(nom);
        std::vector<std::int64_t> attendus;
        for (const Jeton& j : jetons) {
            attendus.push_back(alea() % 300 == 0 ? j.valeur + 1 : j.valeur);
        }
        FluxListe f(nom.c_str());
        std::size_t passes = 0;
        for (std::size_t t = 0; t < jetons.size();) {
            std::size_t voulu = std::min<std::size_t>(jetons.size() - t, 1 + alea() % 5000);
            std::size_t k = f.passer_lignes(attendus, t, voulu);
            ASSERT_LE(k, voulu);
            for (std::size_t u = t; u < t + k; ++u) {
                ASSERT_EQ(attendus[u], jetons[u].valeur) << "essai " << essai << " jeton " << u;
            }
            t += k;
            passes += k;
            if (k > 0) {
                ASSERT_EQ(f.position(), jetons[t - 1].apres) << "essai " << essai;
            }
            if (t < jetons.size() && k < voulu) {
                std::int64_t v = 0;
                ASSERT_TRUE(f.lire(v));
                ASSERT_EQ(v, jetons[t].valeur);
                ++t;
            }
        }
        std::int64_t v = 0;
        EXPECT_FALSE(f.lire(v));
        // Most lines are of the usual form: most values were passed.
        EXPECT_GT(passes, jetons.size() * 8 / 10) << "essai " << essai;
    }
}

// A value of the usual text only counts when a newline ends it; any other
// form of the same value is left to lire.
TEST(FluxListe, OnlyTheUsualTextOfAValueIsPassed) {
    for (const char* forme : {"1001x", "1001\r", "01001", "+1001", "1001 ", "1001\t", " 1001"}) {
        std::string texte;
        std::vector<std::int64_t> attendus;
        for (std::int64_t v = 1; v <= 2000; ++v) {
            texte += '\n';
            texte += v == 1001 ? std::string(forme) : std::to_string(v);
            attendus.push_back(v);
        }
        texte += "\n";
        FluxListe f(fichier("forme.txt", texte).c_str());
        EXPECT_EQ(f.passer_lignes(attendus, 0, attendus.size()), 1000U) << forme;
    }
}

} // namespace
