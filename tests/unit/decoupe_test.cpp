// The split enumeration: the walk against a plain recursion over the digit
// string, the listing form against the splits found, the counting form's
// early stop, and the digit extraction around its 18-digit blocks.

#include "aide.hpp"
#include "concat/decoupe.hpp"
#include "primes/remplissage.hpp"
#include "state/travail.hpp"

#include <gtest/gtest.h>
#include <random>
#include <string>
#include <vector>

namespace {

using Lengths = std::vector<std::int32_t>;

// Primes up to 104759, the last prime of the short liste.txt.
const std::vector<long>& petits_premiers() {
    static const std::vector<long> p = [] {
        std::vector<bool> compose(104760);
        std::vector<long> v;
        for (long a = 2; a < 104760; ++a) {
            if (!compose[static_cast<std::size_t>(a)]) {
                v.push_back(a);
                for (long b = a * a; b < 104760; b += a) {
                    compose[static_cast<std::size_t>(b)] = true;
                }
            }
        }
        return v;
    }();
    return p;
}

// Independent primality for the pieces of the test strings: trial division,
// exact below 104759^2, and above it only for values with a small factor,
// which is how the long test strings are made.
bool premier_ref(const ZZ& v) {
    if (v < 2) {
        return false;
    }
    for (long q : petits_premiers()) {
        if (v == q) {
            return true;
        }
        if (rem(v, q) == 0) {
            return false;
        }
    }
    EXPECT_LT(v, ZZ(104759) * 104759) << "piece without a small factor: " << v;
    return true;
}

// Every split of S from position P on, shortest first piece first.
void recursion(const std::string& s, std::size_t p, Lengths& courant, std::vector<Lengths>& tout) {
    if (p == s.size()) {
        tout.push_back(courant);
        return;
    }
    ZZ v(0);
    for (std::size_t u = 1; p + u <= s.size(); ++u) {
        v = v * 10 + (s[p + u - 1] - '0');
        if (premier_ref(v)) {
            courant.push_back(static_cast<std::int32_t>(u));
            recursion(s, p + u, courant, tout);
            courant.pop_back();
        }
    }
}

std::vector<Lengths> reference(const std::string& s) {
    std::vector<Lengths> tout;
    Lengths courant;
    recursion(s, 0, courant, tout);
    return tout;
}

std::vector<Lengths> par_la_marche(Decoupe& d) {
    std::vector<Lengths> tout;
    d.parcourir([&](const Decoupe& x) {
        Lengths l;
        for (std::int32_t niveau = 1; niveau <= x.pieces(); ++niveau) {
            EXPECT_EQ(x.debut(niveau), niveau == 1 ? 1 : x.debut(niveau - 1) + l.back());
            l.push_back(x.longueur(niveau));
        }
        tout.push_back(l);
        return false;
    });
    return tout;
}

// The text the listing form prints for these splits of S.
std::string rendu(const std::string& s, const std::vector<Lengths>& splits) {
    std::string t;
    for (const Lengths& l : splits) {
        t += " ( ";
        std::size_t p = 0;
        for (std::int32_t u : l) {
            t += s.substr(p, static_cast<std::size_t>(u)) + " ";
            p += static_cast<std::size_t>(u);
        }
        t += ") ";
    }
    return t;
}

// Checks both forms of the walk on S with storage D, against the recursion;
// returns the number of splits.
std::int64_t verifier(Decoupe& d, const std::string& s) {
    SCOPED_TRACE(s);
    ZZ N = NTL::conv<ZZ>(s.c_str());
    d.analyser(N);
    std::vector<Lengths> attendu = reference(s);
    auto total = static_cast<std::int64_t>(attendu.size());
    EXPECT_EQ(par_la_marche(d), attendu);
    EXPECT_EQ(w1, total);
    {
        Dialogue dia("");
        lister(d);
        EXPECT_EQ(dia.sortie(), rendu(s, attendu));
        EXPECT_EQ(w1, total);
    }
    EXPECT_FALSE(denombrer(d, 0));
    EXPECT_EQ(w1, total);
    for (std::int64_t seuil : {1, 2, 3}) {
        EXPECT_EQ(denombrer(d, seuil), total >= seuil);
        EXPECT_EQ(w1, std::min(total, seuil));
    }
    return total;
}

bool facteur_connu(const ZZ& v) {
    for (long q : petits_premiers()) {
        if (rem(v, q) == 0) {
            return true;
        }
    }
    return false;
}

// Whether every piece of T that ends at one of its last DERNIERS digits and
// is worth 10^10 or more has a factor below 104759, so that prem settles it
// within the short table.
bool sain(const std::string& t, std::size_t derniers) {
    for (std::size_t fin = t.size() - derniers + 1; fin <= t.size(); ++fin) {
        for (std::size_t debut = 0; debut < fin; ++debut) {
            ZZ v = NTL::conv<ZZ>(t.substr(debut, fin - debut).c_str());
            if (v >= 10000000000L && !facteur_connu(v)) {
                return false;
            }
        }
    }
    return true;
}

// At least LONGUEUR digits made of random primes below 1000 written one after
// the other, so that the string splits at least once, and often in many ways.
std::string chaine_longue(std::mt19937& alea, std::size_t longueur) {
    const std::vector<long>& q = petits_premiers();
    std::string s;
    while (s.size() < longueur) {
        for (int essai = 0;; ++essai) {
            // "2" always fits: every long piece ending in it is even.
            std::string p = essai > 50 ? "2" : std::to_string(q[alea() % 168]);
            if (sain(s + p, p.size())) {
                s += p;
                break;
            }
        }
    }
    return s;
}

TEST(Decoupe, WorkedExamplesInOrder) {
    table_neuve();
    Decoupe d(4);
    for (const char* s : {"23", "113", "2357", "3737", "2003", "303", "20", "1000", "1", "7"}) {
        verifier(d, s);
    }
    d.analyser(ZZ(3737));
    EXPECT_EQ(
        par_la_marche(d),
        (std::vector<Lengths>{{1, 1, 1, 1}, {1, 1, 2}, {1, 2, 1}, {2, 1, 1}, {2, 2}, {3, 1}}));
}

// One storage for the whole run, as the range search uses it: shorter numbers
// after longer ones must not see what an earlier number left behind.
TEST(Decoupe, EveryNumberUpTo20000MatchesTheRecursion) {
    table_neuve();
    Decoupe d(5);
    for (int n = 20000; n >= 1; --n) {
        verifier(d, std::to_string(n));
        if (HasFailure()) {
            return;
        }
    }
}

TEST(Decoupe, LongDigitStringsMatchTheRecursion) {
    table_neuve();
    std::mt19937 alea(2357);
    Decoupe d(45);
    std::int64_t splits = 0;
    for (int essai = 0; essai < 12; ++essai) {
        std::string s = chaine_longue(alea, 25 + alea() % 16);
        splits += verifier(d, s);
    }
    EXPECT_GT(splits, 1000); // most strings split in many ways
    attendre_table();
    EXPECT_LE(np, 10002); // every long piece has a factor within the file
}

// A piece of 20 digits or more whose first 19 digits are above 2^63 - 1 keeps
// its exact value: 93000000000000000007 is prime, so its one-piece split is
// found (it was once lost to a sign change).
TEST(Decoupe, LongPieceAboveTheSignedRange) {
    RangFichierAbaisse limite(20000); // a prime piece above 2^64 takes the table to the limit
    table_neuve();
    Decoupe d(21);
    d.analyser(NTL::conv<ZZ>("93000000000000000007"));
    EXPECT_FALSE(denombrer(d, 0));
    EXPECT_GE(w1, 1);
    attendre_table();
    EXPECT_EQ(np, 20000);
}

TEST(Decoupe, NoPrimePrefixTestsThePrefixesOnly) {
    // 20000000089 is prime and needs the table beyond 104759; with a prime
    // prefix ahead of it (3) it is tested, behind 8 it is not.
    table_neuve();
    Decoupe d(12);
    d.analyser(ZZ(820000000089L));
    attendre_table();
    EXPECT_LE(np, 10002);
    EXPECT_FALSE(denombrer(d, 0));
    EXPECT_EQ(w1, 0);
    d.analyser(ZZ(320000000089L));
    attendre_table();
    EXPECT_GT(np, 10002);
}

TEST(Decoupe, DigitsAcrossTheEighteenDigitBlocks) {
    const ZZ dix18 = NTL::power_ZZ(10, 18);
    EXPECT_EQ(nombre_chiffres(ZZ(1)), 1);
    EXPECT_EQ(nombre_chiffres(ZZ(10)), 2);
    EXPECT_EQ(nombre_chiffres(dix18 - 1), 18);
    EXPECT_EQ(nombre_chiffres(dix18), 19);
    EXPECT_EQ(nombre_chiffres(dix18 * dix18), 37);
    EXPECT_EQ(nombre_chiffres(dix18 * dix18 - 1), 36);
    table_neuve();
    Decoupe d(40);
    // Multiples of 3 from 6 up: no prefix is prime, only the prefixes are tested.
    for (const char* s : {"9000000000000000006", "600000000000000000000000000000000000003",
                          "999999999999999999", "6000000000000000000369"}) {
        d.analyser(NTL::conv<ZZ>(s));
        std::string lu;
        for (std::int32_t t = 1; t <= d.chiffres(); ++t) {
            lu += static_cast<char>('0' + d.chiffre(t));
        }
        EXPECT_EQ(lu, s);
    }
}

} // namespace
