// The quadratic sieve on numbers of known factors, each relation checked
// against its congruence; the factorisation of numbers whose composite
// cofactor goes to it; the dependencies over GF(2).

#include "factor/algebre_gf2.hpp"
#include "factor/crible_qs.hpp"
#include "factor/moteur.hpp"

#include <NTL/ZZ.h>
#include <NTL/ZZ_limbs.h>
#include <algorithm>
#include <gmp.h>
#include <gtest/gtest.h>
#include <random>
#include <set>
#include <string>
#include <vector>

namespace {

// Under ThreadSanitizer, the smaller numbers only.
#if defined(__SANITIZE_THREAD__)
constexpr int CHIFFRES_MAX = 40;
#else
constexpr int CHIFFRES_MAX = 60;
#endif

NTL::ZZ premier_apres(const char* decimal) {
    return NTL::NextPrime(NTL::conv<NTL::ZZ>(decimal));
}

// An mpz_t with the value of X.
class Gmp {
  public:
    explicit Gmp(const NTL::ZZ& x) {
        mpz_init(v_);
        const NTL::ZZ_limb_t* l = NTL::ZZ_limbs_get(x);
        mpz_import(v_, static_cast<std::size_t>(x.size()), -1, sizeof *l, 0, 0, l);
    }
    ~Gmp() { mpz_clear(v_); }
    Gmp(const Gmp&) = delete;
    Gmp& operator=(const Gmp&) = delete;
    mpz_ptr get() { return v_; }
    NTL::ZZ zz() const { return NTL::conv<NTL::ZZ>(mpz_get_str(texte_, 10, v_)); }

  private:
    mpz_t v_;
    mutable char texte_[512];
};

TEST(Crible, SemiprimesSplitWithEveryRelationTrue) {
    struct Cas {
        int chiffres;
        const char* p;
        const char* q;
        int parts;
    };
    const Cas cas[] = {
        {40, "12345678901234567891", "98765432109876543211", 2},
        {40, "31415926535897932384", "27182818284590452353", 1},
        {50, "1234567890123456789012345", "5432109876543210987654321", 2},
        {60, "123456789012345678901234567890", "987654321098765432109876543211", 2},
    };
    for (const Cas& c : cas) {
        if (c.chiffres > CHIFFRES_MAX) {
            continue;
        }
        NTL::ZZ p = premier_apres(c.p);
        NTL::ZZ q = premier_apres(c.q);
        Gmp n(p * q);
        Gmp f(NTL::ZZ(0));
        OptionsCrible options;
        options.parts = c.parts;
        options.verifier = true;
        long appels = 0;
        long requises = 0;
        options.avancement = [&](long fait, long total) {
            ++appels;
            requises = total;
            EXPECT_GE(fait, 0) << c.chiffres;
        };
        BilanCrible bilan;
        ASSERT_TRUE(crible_quadratique(f.get(), n.get(), options, &bilan)) << c.chiffres;
        NTL::ZZ g = f.zz();
        EXPECT_TRUE(g == p || g == q) << c.chiffres << " digits: " << g;
        EXPECT_GE(bilan.relations, requises) << c.chiffres;
        EXPECT_GT(requises, bilan.premiers) << c.chiffres;
        EXPECT_GT(bilan.verifiees, 0) << c.chiffres;
        EXPECT_EQ(bilan.fausses, 0) << c.chiffres;
        EXPECT_GT(appels, 0) << c.chiffres;
    }
}

// Two large primes forced on where the table has one: relations with two
// are found, every relation and every cycle holds its congruence, and the
// factor comes out.
TEST(Crible, TwoLargePrimesWithEveryCycleTrue) {
    const ParametresCrible ligne = {50, 1200, 2, 50, 14, 1.8};
    NTL::ZZ p = premier_apres("1234567890123456789012345");
    NTL::ZZ q = premier_apres("5432109876543210987654321");
    Gmp n(p * q);
    Gmp f(NTL::ZZ(0));
    OptionsCrible options;
    options.parts = 2;
    options.verifier = true;
    options.parametres = &ligne;
    BilanCrible bilan;
    ASSERT_TRUE(crible_quadratique(f.get(), n.get(), options, &bilan));
    NTL::ZZ g = f.zz();
    EXPECT_TRUE(g == p || g == q) << g;
    EXPECT_GT(bilan.doubles, 0);
    EXPECT_GT(bilan.cycles, 0);
    EXPECT_EQ(bilan.fausses, 0);
    EXPECT_EQ(bilan.cycles_faux, 0);
}

// Whole factorisations whose composite part goes to the sieve (from some
// 45 digits) or stays with the library.
TEST(Crible, FactorisationsThroughTheSieve) {
    if (CHIFFRES_MAX < 60) {
        GTEST_SKIP() << "the sieve of 50 and 60 digits is too slow here";
    }
    NTL::ZZ p20a = premier_apres("10000000000000000051");
    NTL::ZZ p20b = premier_apres("31622776601683793319");
    NTL::ZZ p20c = premier_apres("77777777777777777777");
    NTL::ZZ p25a = premier_apres("1000000000000000000000007");
    NTL::ZZ p25b = premier_apres("4444444444444444444444444");
    NTL::ZZ p30 = premier_apres("123456789012345678901234567890");
    struct Cas {
        NTL::ZZ n;
        std::vector<std::pair<NTL::ZZ, long>> facteurs;
    };
    const std::vector<Cas> cas = {
        {p30 * p30, {{p30, 2}}},
        {p20a * p20b * p20c, {{p20a, 1}, {p20b, 1}, {p20c, 1}}},
        {NTL::ZZ(9) * 1000003 * p25a * p25b,
         {{NTL::ZZ(3), 2}, {NTL::ZZ(1000003), 1}, {p25a, 1}, {p25b, 1}}},
    };
    for (const Cas& c : cas) {
        Decomposition d = decomposer(c.n);
        ASSERT_EQ(d.facteurs.size(), c.facteurs.size()) << c.n;
        for (std::size_t t = 0; t < c.facteurs.size(); ++t) {
            EXPECT_EQ(d.facteurs[t].valeur, c.facteurs[t].first) << c.n;
            EXPECT_EQ(d.facteurs[t].exposant, c.facteurs[t].second) << c.n;
        }
    }
}

} // namespace

namespace {

// Random sparse rows, some of them sums of others, some with a column of
// their own: every dependency returned sums to zero and holds no row with a
// lone column.
TEST(AlgebreGF2, EveryDependencySumsToZero) {
    std::mt19937 alea(7);
    for (std::uint32_t largeur : {20u, 300u, 2000u}) {
        MatriceCreuse m;
        m.largeur = largeur + 1; // the last column: one row only
        std::vector<std::vector<std::uint32_t>> lignes;
        for (std::uint32_t r = 0; r < largeur + 40; ++r) {
            std::set<std::uint32_t> ligne;
            for (int t = 0; t < 6; ++t) {
                ligne.insert(static_cast<std::uint32_t>(alea() % largeur));
            }
            if (r == 3) {
                ligne.insert(largeur);
            }
            lignes.emplace_back(ligne.begin(), ligne.end());
            m.colonnes.insert(m.colonnes.end(), ligne.begin(), ligne.end());
            m.fermer_ligne();
        }
        std::vector<std::vector<std::uint32_t>> deps = dependances(m);
        EXPECT_GE(deps.size(), 39u) << largeur; // 39 rows more than columns, row 3 out
        for (const auto& d : deps) {
            std::vector<int> somme(m.largeur, 0);
            for (std::uint32_t r : d) {
                EXPECT_NE(r, 3u) << largeur;
                for (std::uint32_t c : lignes[r]) {
                    somme[c] ^= 1;
                }
            }
            EXPECT_EQ(std::count(somme.begin(), somme.end(), 1), 0) << largeur;
        }
    }
}

} // namespace
