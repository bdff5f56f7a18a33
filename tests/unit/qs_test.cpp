// The stages of the quadratic sieve, each built from its inputs and checked
// against a plain computation: the multiplier against the literal estimate,
// the factor base against a plain sieve, the roots of every b of the Gray
// code and the buckets' hits against Q(x) mod p, the relations found
// against their congruence, the pairing of partial relations.

#include "factor/qs/qs.hpp"

#include <algorithm>
#include <cmath>
#include <gmp.h>
#include <gtest/gtest.h>
#include <random>
#include <set>
#include <string>
#include <vector>

namespace {

using qs::u32;
using qs::u64;

// A product of two primes of D / 2 digits each, drawn with GRAINE.
void semipremier(mpz_t n, int d, unsigned long graine) {
    gmp_randstate_t etat;
    gmp_randinit_default(etat);
    gmp_randseed_ui(etat, graine);
    mpz_t p, q;
    mpz_inits(p, q, nullptr);
    mpz_urandomb(p, etat, static_cast<mp_bitcnt_t>(d * 3.3219 / 2));
    mpz_setbit(p, static_cast<mp_bitcnt_t>(d * 3.3219 / 2));
    mpz_nextprime(p, p);
    mpz_urandomb(q, etat, static_cast<mp_bitcnt_t>(d * 3.3219 / 2));
    mpz_setbit(q, static_cast<mp_bitcnt_t>(d * 3.3219 / 2));
    mpz_nextprime(q, q);
    mpz_mul(n, p, q);
    mpz_clears(p, q, nullptr);
    gmp_randclear(etat);
}

// The literal estimate: Euler's criterion for the residues, every odd
// squarefree k of the list, ties to the first.
unsigned long multiplicateur_literal(const mpz_t n) {
    const unsigned long candidats[] = {1,  3,  5,  7,  11, 13, 15, 17, 19, 21, 23,
                                       29, 31, 33, 35, 37, 39, 41, 43, 47, 51, 53,
                                       55, 57, 59, 61, 65, 67, 69, 71, 73};
    std::vector<unsigned long> petits;
    for (unsigned long p = 3; p < 2000; p += 2) {
        bool premier = true;
        for (unsigned long d = 3; d * d <= p; d += 2) {
            premier = premier && p % d != 0;
        }
        if (premier) {
            petits.push_back(p);
        }
    }
    auto euler = [](unsigned long a, unsigned long p) {
        unsigned long r = 1, x = a % p;
        for (unsigned long e = (p - 1) / 2; e > 0; e >>= 1, x = x * x % p) {
            r = (e & 1) != 0 ? r * x % p : r;
        }
        return r == 1;
    };
    unsigned long meilleur = 1;
    double max = -1e300;
    for (unsigned long k : candidats) {
        double score = -0.5 * std::log(static_cast<double>(k));
        unsigned long r8 = k * mpz_fdiv_ui(n, 8) % 8;
        score += r8 == 1 ? 2 * std::log(2.0) : r8 == 5 ? std::log(2.0) : 0.5 * std::log(2.0);
        for (unsigned long p : petits) {
            double lp = std::log(static_cast<double>(p));
            if (k % p == 0) {
                score += lp / static_cast<double>(p);
            } else if (euler(k % p * mpz_fdiv_ui(n, p) % p, p)) {
                score += 2 * lp / static_cast<double>(p - 1);
            }
        }
        if (score > max) {
            max = score;
            meilleur = k;
        }
    }
    return meilleur;
}

class Nombre {
  public:
    Nombre() { mpz_init(v_); }
    ~Nombre() { mpz_clear(v_); }
    Nombre(const Nombre&) = delete;
    Nombre& operator=(const Nombre&) = delete;
    operator mpz_ptr() { return v_; }

  private:
    mpz_t v_;
};

TEST(QS, MultiplierAgreesWithTheLiteralEstimate) {
    Nombre n;
    for (unsigned long g = 1; g <= 300; ++g) {
        semipremier(n, 30 + static_cast<int>(g % 40), g);
        EXPECT_EQ(qs::multiplicateur(n), multiplicateur_literal(n)) << g;
    }
}

// Every odd prime below the base's end with kN a nonzero square mod p is in
// the base, in order, with a root of kN.
TEST(QS, FactorBaseIsEveryPrimeWithKNASquare) {
    Nombre n;
    for (int d : {30, 45, 60, 70}) {
        semipremier(n, d, static_cast<unsigned long>(d));
        qs::Contexte c;
        qs::preparer(c, n);
        ASSERT_EQ(c.diviseur, 0u) << d;
        ASSERT_EQ(c.p.size(), c.taille) << d;
        std::vector<u32> attendus = {1, 2};
        std::vector<char> compose(c.p.back() + 1, 0);
        for (u32 q = 3; q <= c.p.back(); q += 2) {
            if (compose[q] != 0) {
                continue;
            }
            for (u64 m = u64{q} * q; m <= c.p.back(); m += 2 * q) {
                compose[m] = 1;
            }
            u64 r = mpz_fdiv_ui(c.kn, q), e = 1; // Euler's criterion
            for (u64 x = r, m = (q - 1) / 2; m > 0; m >>= 1, x = x * x % q) {
                e = (m & 1) != 0 ? e * x % q : e;
            }
            if (r == 0 || e == 1) {
                attendus.push_back(q);
            }
        }
        EXPECT_EQ(c.p, attendus) << d;
        for (u32 i = 2; i < c.taille; ++i) {
            EXPECT_EQ(u64{c.t[i]} * c.t[i] % c.p[i], mpz_fdiv_ui(c.kn, c.p[i])) << c.p[i];
            EXPECT_EQ(c.inv[i] * c.p[i], 1u) << c.p[i];
        }
    }
}

// Q(x) mod p at position POS of the interval.
u32 q_mod(qs::Chercheur& ch, u32 pos, u32 p) {
    Nombre q;
    long x = static_cast<long>(pos) - static_cast<long>(ch.c_.demi);
    mpz_mul_si(q, ch.a_, x);
    mpz_add(q, q, ch.deux_b_);
    mpz_mul_si(q, q, x);
    mpz_add(q, q, ch.c_coef_);
    return static_cast<u32>(mpz_fdiv_ui(q, p));
}

// For every b of the Gray code of a few a: b^2 = kN mod a, both roots of
// each prime outside a make Q(x) = 0 mod p, and every bucket entry is a
// hit of its prime at its position.
TEST(QS, RootsAndBucketsOfEveryBOfTheGrayCode) {
    Nombre n, reste;
    for (int d : {40, 60}) {
        semipremier(n, d, 100 + static_cast<unsigned long>(d));
        qs::Contexte c;
        qs::preparer(c, n);
        qs::Collecte col(1);
        qs::Chercheur ch(c, col, 7);
        for (int tirage = 0; tirage < 2; ++tirage) {
            ch.choisir_a();
            ch.initialiser_b();
            u32 nombre = u32{1} << (c.s - 1);
            for (u32 g = 0; g < nombre; ++g) {
                if (g > 0) {
                    ch.changer_b(g);
                }
                mpz_mul(reste, ch.b_, ch.b_);
                mpz_sub(reste, reste, c.kn);
                ASSERT_EQ(mpz_divisible_p(reste, ch.a_), 1) << d << " g " << g;
                for (u32 i = 2; i < c.taille; i += 1 + i / 64) {
                    if (ch.dans_a_[i] != 0) {
                        continue;
                    }
                    ASSERT_EQ(q_mod(ch, ch.r1_[i], c.p[i]), 0u) << d << " p " << c.p[i];
                    ASSERT_EQ(q_mod(ch, ch.r2_[i], c.p[i]), 0u) << d << " p " << c.p[i];
                }
                for (u32 b = 0; b < c.blocs; ++b) {
                    for (u32 e = 0; e < ch.remplis_[b]; e += 7) {
                        u32 v = ch.seaux_[b * ch.capacite_ + e];
                        u32 pos = b * qs::BLOC + (v & qs::MASQUE_BLOC);
                        ASSERT_EQ(q_mod(ch, pos, c.p[v >> qs::BITS_BLOC]), 0u) << d;
                    }
                }
            }
        }
    }
}

// The relations of a few polynomials, each checked by hand: Y^2 = the
// product of its primes and large prime mod N, the large prime under the
// bound.
TEST(QS, RelationsOfTheSieveHoldTheirCongruence) {
    Nombre n, gauche, droite, y;
    for (int d : {40, 55}) {
        semipremier(n, d, 200 + static_cast<unsigned long>(d));
        qs::Contexte c;
        qs::preparer(c, n);
        qs::Collecte col(1);
        qs::Chercheur ch(c, col, 11);
        ch.choisir_a();
        ch.initialiser_b();
        for (u32 g = 0; g < (u32{1} << (c.s - 1)) && g < 16; ++g) {
            if (g > 0) {
                ch.changer_b(g);
            }
            ch.cribler();
        }
        const qs::Lot& lot = ch.lot_;
        ASSERT_GT(lot.releves.size(), 0u) << d;
        for (const qs::Releve& r : lot.releves) {
            mpz_roinit_n(y, lot.membres.data() + r.debut_y, static_cast<mp_size_t>(r.nb_y));
            mpz_powm_ui(gauche, y, 2, n);
            mpz_set_ui(droite, r.grand);
            EXPECT_LT(r.grand, c.borne_grand) << d;
            for (u32 e = 0; e < r.nb_f; ++e) {
                u32 i = lot.facteurs[r.debut_f + e];
                if (i == 0) {
                    mpz_neg(droite, droite);
                } else {
                    mpz_mul_ui(droite, droite, c.p[i]);
                }
            }
            mpz_mod(droite, droite, n);
            EXPECT_EQ(mpz_cmp(gauche, droite), 0) << d;
        }
    }
}

// A graph of known cycles: two full relations; 101 twice with 1; the
// triangle 1, 103, 107; the triangle 109, 113, 127; the lone edge 131-137;
// 139 squared; 149 alone. 11 edges, 11 vertices (1 among them), 4
// components: 4 cycles, whose lines hold each large prime an even number of
// times.
TEST(QS, CyclesOfAKnownGraph) {
    const std::pair<u64, u64> grands[] = {
        {1, 1},     {1, 1},     {101, 1},   {101, 1},   {103, 107}, {103, 1}, {107, 1},
        {109, 113}, {113, 127}, {109, 127}, {131, 137}, {139, 139}, {149, 1}};
    qs::Lot lot;
    for (auto [g, h] : grands) {
        qs::Releve r;
        r.grand = g;
        r.grand2 = h;
        lot.releves.push_back(r);
    }
    qs::Collecte col(100);
    EXPECT_FALSE(col.ajouter(lot));
    EXPECT_TRUE(lot.releves.empty());
    EXPECT_EQ(col.cycles(), 4);
    EXPECT_EQ(col.trouvees(), 6);
    EXPECT_EQ(col.partielles(), 11);
    EXPECT_EQ(col.doubles(), 6);
    col.fermer();
    ASSERT_EQ(col.lignes(), 6u);
    std::set<std::vector<u32>> lignes;
    for (u32 l = 0; l < col.lignes(); ++l) {
        std::vector<u32> ids(col.ligne(l), col.ligne(l) + col.longueur(l));
        std::multiset<u64> vus;
        for (u32 id : ids) {
            for (u64 g : {grands[id].first, grands[id].second}) {
                if (g != 1) {
                    vus.insert(g);
                }
            }
        }
        for (u64 g : vus) {
            EXPECT_EQ(vus.count(g) % 2, 0u) << g;
        }
        std::sort(ids.begin(), ids.end());
        lignes.insert(ids);
    }
    const std::set<std::vector<u32>> attendues = {{0}, {1}, {2, 3}, {4, 5, 6}, {7, 8, 9}, {11}};
    EXPECT_EQ(lignes, attendues);
    EXPECT_EQ(col.trier([](const u32*, u32 nombre) { return nombre != 3; }), 2);
    EXPECT_EQ(col.lignes(), 4u);
}

// Both scans of a block give the bytes past 127, in order: blocks empty,
// full, with marks at the edges of the 64-byte runs, and random ones.
TEST(QS, BothScansFindEveryMarkedByte) {
    std::mt19937 alea(3);
    std::vector<std::uint8_t> bloc(qs::BLOC);
    const bool avx2 = __builtin_cpu_supports("avx2") != 0;
    for (int essai = 0; essai < 40; ++essai) {
        std::vector<u32> attendus;
        for (u32 o = 0; o < qs::BLOC; ++o) {
            bool marque = essai == 1 ||
                          (essai == 2 && (o % 64 == 0 || o % 64 == 63 || o % 32 == 31)) ||
                          (essai > 2 && alea() % (1u << (essai % 10)) == 0);
            bloc[o] = static_cast<std::uint8_t>(marque ? 0x80 | alea() : alea() & 0x7F);
            if (marque) {
                attendus.push_back(o);
            }
        }
        std::vector<u32> portable = {7}, vectoriel = {7}; // what was there stays
        qs::candidats_portable(bloc.data(), portable);
        EXPECT_EQ(std::vector<u32>(portable.begin() + 1, portable.end()), attendus) << essai;
        if (avx2) {
            qs::candidats_avx2(bloc.data(), vectoriel);
            EXPECT_EQ(vectoriel, portable) << essai;
        }
    }
}

} // namespace
