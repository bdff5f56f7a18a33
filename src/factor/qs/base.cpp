// The factor base of the quadratic sieve: the multiplier k, the odd primes
// p with kN a square mod p and a root of kN mod each, the logarithms and
// exact-division constants of each, and the sieve's shape (blocks, the
// threshold, how many primes make a and where they are drawn from).

#include "factor/qs/qs.hpp"

#include <algorithm>
#include <cmath>
#include <flint/ulong_extras.h>
#include <primesieve.hpp>

namespace qs {

Parametres parametres(double chiffres) {
    constexpr std::size_t n = sizeof TABLE / sizeof TABLE[0];
    if (chiffres <= TABLE[0].chiffres) {
        return TABLE[0];
    }
    for (std::size_t t = 1; t < n; ++t) {
        if (chiffres <= TABLE[t].chiffres) {
            const Parametres& u = TABLE[t - 1];
            const Parametres& v = TABLE[t];
            double f = (chiffres - u.chiffres) / (v.chiffres - u.chiffres);
            auto mix = [f](double x, double y) { return x + f * (y - x); };
            double doubles = u.doubles > 0 ? mix(u.doubles, v.doubles) : 0;
            return {chiffres,
                    mix(u.premiers, v.premiers),
                    std::round(mix(u.blocs, v.blocs)),
                    mix(u.multiple, v.multiple),
                    mix(u.marge, v.marge),
                    doubles};
        }
    }
    return TABLE[n - 1];
}

namespace {

// A quadratic residue mod the odd prime P, not 0.
bool residu(u32 a, u32 p) {
    return n_jacobi(static_cast<long>(a % p), p) == 1;
}

} // namespace

// The estimate, for each odd squarefree k, of the small primes' help, less
// the cost of a larger kN.
unsigned long multiplicateur(const mpz_t n) {
    static constexpr unsigned long CANDIDATS[] = {1,  3,  5,  7,  11, 13, 15, 17, 19, 21, 23,
                                                  29, 31, 33, 35, 37, 39, 41, 43, 47, 51, 53,
                                                  55, 57, 59, 61, 65, 67, 69, 71, 73};
    static const std::vector<u32> petits = [] {
        std::vector<u32> v;
        primesieve::generate_primes(2000, &v);
        return v;
    }();
    unsigned long meilleur = 1;
    double score_max = -1e300;
    auto n8 = static_cast<u32>(mpz_fdiv_ui(n, 8));
    for (unsigned long k : CANDIDATS) {
        double score = -0.5 * std::log(static_cast<double>(k));
        u32 r8 = static_cast<u32>(k * n8 % 8);
        score += r8 == 1 ? 2 * std::log(2.0) : r8 == 5 ? std::log(2.0) : 0.5 * std::log(2.0);
        for (std::size_t t = 1; t < petits.size(); ++t) {
            u32 p = petits[t];
            double lp = std::log(static_cast<double>(p));
            if (k % p == 0) {
                score += lp / p;
            } else if (residu(static_cast<u32>(k % p * mpz_fdiv_ui(n, p) % p), p)) {
                score += 2 * lp / (p - 1);
            }
        }
        if (score > score_max) {
            score_max = score;
            meilleur = k;
        }
    }
    return meilleur;
}

namespace {

// The odd primes p with kN a square mod p, and a root of kN mod each,
// until the base holds c.taille primes; stops at a prime dividing N.
void premiers_de_la_base(Contexte& c, const mpz_t n) {
    c.p = {1, 2};
    c.t = {0, 1};
    std::vector<u32> candidats;
    for (u32 borne = 1 << 16; c.p.size() < c.taille; borne *= 2) {
        c.p.resize(2);
        c.t.resize(2);
        candidats.clear();
        primesieve::generate_primes(3, borne, &candidats);
        for (u32 q : candidats) {
            auto nm = static_cast<u32>(mpz_fdiv_ui(n, q));
            if (nm == 0) {
                c.diviseur = q;
                return;
            }
            auto r = static_cast<u32>(c.k % q * nm % q);
            if (r == 0 || residu(r, q)) {
                c.p.push_back(q);
                c.t.push_back(static_cast<u32>(n_sqrtmod(r, q)));
                if (c.p.size() == c.taille) {
                    break;
                }
            }
        }
    }
}

// The indices where the sieved primes, those of the buckets and those
// above the interval begin; the interval's length.
void forme_du_crible(Contexte& c) {
    c.debut_crible = 2;
    while (c.debut_crible < c.taille && c.p[c.debut_crible] < PLUS_PETIT_CRIBLE) {
        ++c.debut_crible;
    }
    c.debut_grands = c.debut_crible;
    while (c.debut_grands < c.taille && c.p[c.debut_grands] < PLUS_PETIT_SEAU) {
        ++c.debut_grands;
    }
    c.blocs = static_cast<u32>(std::clamp(c.par.blocs, 1.0, double{MAX_BLOCS}));
    c.longueur = c.blocs * BLOC;
    c.demi = c.longueur / 2;
    c.debut_enormes = c.debut_grands;
    while (c.debut_enormes < c.taille && c.p[c.debut_enormes] < c.longueur) {
        ++c.debut_enormes;
    }
}

// The threshold, the bytes' logarithms, and the constants of exact division.
void seuil_et_logarithmes(Contexte& c) {
    double pmax = c.p.back();
    c.borne_grand = static_cast<u64>(std::min(pmax * pmax, pmax * c.par.multiple));
    c.carre_base = static_cast<u64>(pmax * pmax);
    double reste_max = static_cast<double>(c.borne_grand);
    if (c.par.doubles > 0) {
        // Below 2^63: the residue is read from one word.
        reste_max = std::min(std::pow(reste_max, c.par.doubles), 0x1p63);
        c.borne_double = static_cast<u64>(reste_max);
    }
    // |Q(x)| reaches about M sqrt(kN / 2); a relation leaves at most its
    // large primes' product, and the unsieved primes' share, beyond the
    // threshold.
    double log2_q = std::log2(static_cast<double>(c.demi)) +
                    0.5 * (static_cast<double>(mpz_sizeinbase(c.kn, 2)) - 1.5);
    double seuil = log2_q - std::log2(reste_max) - c.par.marge;
    double echelle = std::min(1.0, 100.0 / seuil);
    c.depart = static_cast<std::uint8_t>(128 - std::lround(seuil * echelle));
    c.inv.assign(c.taille, 0);
    c.lim.assign(c.taille, 0);
    for (u32 i = 2; i < c.taille; ++i) {
        u32 x = c.p[i]; // Newton's iteration: each step doubles the exact bits
        for (int e = 0; e < 5; ++e) {
            x *= 2 - c.p[i] * x;
        }
        c.inv[i] = x;
        c.lim[i] = 0xFFFFFFFFu / c.p[i];
    }
    c.lg.resize(c.taille);
    for (u32 i = 0; i < c.taille; ++i) {
        c.lg[i] = static_cast<std::uint8_t>(
            std::lround(std::log2(static_cast<double>(c.p[i])) * echelle));
    }
}

// a near sqrt(2 kN) / M, from s primes of a few thousand at most.
void forme_de_a(Contexte& c) {
    c.log_cible =
        0.5 * (std::log(2.0) + static_cast<double>(mpz_sizeinbase(c.kn, 2)) * std::log(2.0)) -
        std::log(static_cast<double>(c.demi));
    double q_ideal = std::clamp(static_cast<double>(c.p[c.taille / 3]), 50.0, 2500.0);
    c.s = std::clamp(static_cast<int>(std::ceil(c.log_cible / std::log(q_ideal))), 2, MAX_Q);
    double q = std::exp(c.log_cible / c.s);
    c.a_bas = c.debut_crible;
    while (c.a_bas + 1 < c.taille && c.p[c.a_bas] < q / 1.6) {
        ++c.a_bas;
    }
    c.a_haut = c.a_bas;
    while (c.a_haut < c.taille && c.p[c.a_haut] < q * 1.6) {
        ++c.a_haut;
    }
    while (c.a_haut - c.a_bas < static_cast<u32>(3 * c.s) && c.a_haut < c.taille) {
        ++c.a_haut;
        if (c.a_bas > c.debut_crible) {
            --c.a_bas;
        }
    }
}

} // namespace

void preparer(Contexte& c, const mpz_t n, const Parametres* par) {
    mpz_set(c.n, n);
    c.k = multiplicateur(n);
    mpz_mul_ui(c.kn, n, c.k);
    double chiffres = static_cast<double>(mpz_sizeinbase(n, 10));
    c.par = par != nullptr ? *par : parametres(chiffres);
    c.taille = std::min(MAX_PREMIERS, static_cast<u32>(c.par.premiers));
    premiers_de_la_base(c, n);
    if (c.diviseur != 0) {
        return;
    }
    forme_du_crible(c);
    seuil_et_logarithmes(c);
    forme_de_a(c);
}

} // namespace qs
