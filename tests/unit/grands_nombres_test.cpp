// Big numbers in and out: the answers of mode 9 and the numbers written to
// standard output go through GMP's conversions; the literal ways (value x 10
// + digit, and NTL's own decimal output) are the references.

#include "aide.hpp"
#include "state/reponses.hpp"

#include <NTL/ZZ.h>
#include <gtest/gtest.h>
#include <random>
#include <sstream>
#include <string>
#include <vector>

namespace {

// The value of a digit string built one digit at a time, as the dialogue
// has always defined it.
NTL::ZZ valeur_litterale(const std::string& chiffres) {
    NTL::ZZ v(0);
    std::size_t d = chiffres[0] == '+' ? 1 : 0;
    for (std::size_t p = d; p < chiffres.size(); ++p) {
        v = v * 10 + (chiffres[p] - '0');
    }
    return v;
}

std::string decimal_ntl(const NTL::ZZ& v) {
    std::ostringstream s;
    s << v;
    return s.str();
}

// Digit strings of every length up to 3000, and two longer ones,
// with a first digit 1 to 9, runs of 0 and of 9, sometimes a "+".
std::vector<std::string> chiffres_au_hasard() {
    std::mt19937_64 hasard(15);
    std::vector<std::string> r;
    std::vector<std::size_t> longueurs;
    for (std::size_t n = 1; n <= 60; ++n) {
        longueurs.push_back(n);
    }
    for (std::size_t n = 61; n <= 3000; n += 37) {
        longueurs.push_back(n);
    }
    for (std::size_t n : {6000u, 10'000u}) {
        longueurs.push_back(n);
    }
    for (std::size_t n : longueurs) {
        for (int forme = 0; forme < 3; ++forme) {
            std::string s(1, static_cast<char>('1' + hasard() % 9));
            while (s.size() < n) {
                char c =
                    forme == 0 ? static_cast<char>('0' + hasard() % 10) : (forme == 1 ? '0' : '9');
                s += c;
            }
            if (hasard() % 4 == 0) {
                s.insert(0, 1, '+');
            }
            r.push_back(s);
        }
    }
    return r;
}

TEST(GrandsNombres, AnswersOfAnyLengthHaveTheirLiteralValue) {
    for (const std::string& s : chiffres_au_hasard()) {
        xn = 1;
        Dialogue d(s + "\n");
        controle(9, "?");
        xn = 0;
        ASSERT_EQ(valeur0, valeur_litterale(s)) << s.size() << " digits: " << s.substr(0, 40);
    }
}

TEST(GrandsNombres, NumbersAreWrittenAsNtlWritesThem) {
    std::vector<NTL::ZZ> valeurs;
    for (const std::string& s : chiffres_au_hasard()) {
        valeurs.push_back(valeur_litterale(s));
        valeurs.push_back(-valeurs.back());
    }
    // Around the end of the machine word, where the way of writing changes.
    NTL::ZZ deux63 = NTL::power2_ZZ(63);
    for (long e : {-2, -1, 0, 1, 2}) {
        valeurs.push_back(deux63 + e);
        valeurs.push_back(-deux63 + e);
        valeurs.push_back(NTL::power2_ZZ(64) + e);
        valeurs.push_back(NTL::ZZ(e));
    }
    std::string attendu;
    for (const NTL::ZZ& v : valeurs) {
        attendu += decimal_ntl(v) + ",";
    }
    Dialogue d("");
    for (const NTL::ZZ& v : valeurs) {
        out << v << ",";
    }
    EXPECT_TRUE(d.sortie() == attendu) << "the outputs differ";
}

} // namespace
