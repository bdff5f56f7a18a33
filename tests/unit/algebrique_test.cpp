// Algebraic factors: the pieces of a^n +- b^n against FLINT's factorisation
// of the whole number, the halves of Aurifeuille's identity on known
// cases, and the forms found from the value alone.

#include "factor/algebrique.hpp"
#include "factor/moteur.hpp"

#include <NTL/ZZ.h>
#include <algorithm>
#include <gtest/gtest.h>
#include <map>
#include <vector>

namespace {

using NTL::ZZ;

ZZ valeur(const FormeAlgebrique& f) {
    ZZ v = NTL::power(ZZ(f.a), f.n);
    ZZ w = NTL::power(ZZ(f.b), f.n);
    return (f.plus ? v + w : v - w) / f.c;
}

// Every prime of V with its exponent, by FLINT.
void ajouter(std::map<ZZ, long>& f, const ZZ& v) {
    for (const FacteurPremier& p : decomposer_flint(v).facteurs) {
        f[p.valeur] += p.exposant;
    }
}

// The forms a^n +- b^n / c tried: 2^n +- 1 up to n = 64, 10^n +- 1 up to
// n = 18, the repunits, and bases where Aurifeuille's identity applies
// (3 = 3 . 1^2, 5, 6, 7, 12 = 3 . 2^2) or b > 1.
std::vector<FormeAlgebrique> formes() {
    std::vector<FormeAlgebrique> f;
    for (bool plus : {false, true}) {
        for (long n = 2; n <= 64; ++n) {
            f.push_back({2, 1, n, plus, 1});
        }
        for (long n = 2; n <= 18; ++n) {
            f.push_back({10, 1, n, plus, 1});
        }
        for (long a : {3L, 5L, 6L, 7L, 12L}) {
            for (long n = 2; n <= 24; ++n) {
                f.push_back({a, 1, n, plus, 1});
            }
        }
        for (long n = 2; n <= 24; ++n) {
            f.push_back({3, 2, n, plus, 1});
            f.push_back({7, 5, n, plus, 1});
        }
    }
    for (long n = 2; n <= 18; ++n) {
        f.push_back({10, 1, n, false, 9});
    }
    for (long n = 3; n <= 63; n += 2) {
        f.push_back({2, 1, n, true, 3});
    }
    return f;
}

TEST(Algebrique, PiecesFactorLikeTheWholeNumber) {
    for (const FormeAlgebrique& f : formes()) {
        const ZZ n = valeur(f);
        std::vector<ZZ> m = morceaux(f);
        ZZ produit(1);
        std::map<ZZ, long> par_morceaux;
        for (const ZZ& x : m) {
            EXPECT_GT(x, 1) << n;
            produit *= x;
            ajouter(par_morceaux, x);
        }
        std::map<ZZ, long> direct;
        ajouter(direct, n);
        EXPECT_EQ(produit, n) << f.a << "^" << f.n << (f.plus ? "+" : "-") << f.b << "^" << f.n;
        EXPECT_EQ(par_morceaux, direct) << n;
    }
}

// Known factorisations where the identity cuts a cyclotomic value in two:
// 2^10 + 1 = 5 . 205 and Phi_20(2) = 205 = 5 . 41; Phi_18(3) = 703 = 19 . 37;
// Phi_20(10) = 3541 . 27961; Phi_5(5) = 781 = 11 . 71; 2^58 + 1 =
// 5 . 107367629 . 536903681; Phi_12(6) = 1261 = 13 . 97.
TEST(Algebrique, AurifeuilleCutsInTwo) {
    struct Cas {
        FormeAlgebrique f;
        std::vector<long> morceaux;
    };
    const Cas cas[] = {
        {{2, 1, 10, true, 1}, {5, 5, 41}},
        {{3, 1, 9, true, 1}, {4, 7, 19, 37}},
        {{10, 1, 10, true, 1}, {101, 3541, 27961}},
        {{5, 1, 5, false, 1}, {4, 11, 71}},
        {{2, 1, 58, true, 1}, {5, 107367629, 536903681}},
        {{6, 1, 6, true, 1}, {37, 13, 97}},
    };
    for (const Cas& c : cas) {
        std::vector<ZZ> m = morceaux(c.f);
        std::vector<ZZ> attendu(c.morceaux.begin(), c.morceaux.end());
        std::sort(m.begin(), m.end());
        std::sort(attendu.begin(), attendu.end());
        EXPECT_EQ(m, attendu) << c.f.a << "^" << c.f.n;
    }
}

TEST(Algebrique, FormFoundFromTheValue) {
    struct Cas {
        FormeAlgebrique f;
        bool trouvee;
    };
    const Cas cas[] = {
        {{2, 1, 127, false, 1}, true},  {{2, 1, 200, true, 1}, true},
        {{10, 1, 41, false, 9}, true},  {{2, 1, 127, true, 3}, true},
        {{3, 2, 70, false, 1}, true},   {{7, 1, 50, true, 1}, true},
        {{64, 63, 40, false, 1}, true}, {{10, 1, 42, true, 101}, true},
        {{2, 1, 90, true, 1}, false}, // 90 bits: below the search
    };
    for (const Cas& c : cas) {
        FormeAlgebrique f;
        ASSERT_EQ(forme_algebrique(valeur(c.f), f), c.trouvee) << c.f.a << "^" << c.f.n;
        if (c.trouvee) {
            EXPECT_EQ(f.a, c.f.a);
            EXPECT_EQ(f.b, c.f.b);
            EXPECT_EQ(f.n, c.f.n);
            EXPECT_EQ(f.plus, c.f.plus);
            EXPECT_EQ(f.c, c.f.c);
        }
    }
    // 4^70 - 1 is found as 2^140 - 1; numbers of no such form stay whole.
    FormeAlgebrique f;
    ASSERT_TRUE(forme_algebrique(NTL::power(ZZ(4), 70) - 1, f));
    EXPECT_EQ(f.a, 2);
    EXPECT_EQ(f.n, 140);
    for (const ZZ& n : {NTL::power2_ZZ(127) + 3, NTL::power2_ZZ(150),
                        NTL::conv<ZZ>("2287578533285563717539406310225583437057")}) {
        EXPECT_FALSE(forme_algebrique(n, f)) << n;
        EXPECT_EQ(morceaux_algebriques(n), std::vector<ZZ>{n});
    }
}

} // namespace
