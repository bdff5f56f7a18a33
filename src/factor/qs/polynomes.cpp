// The polynomials of one part: a drawn as a product of s primes of the
// base, never twice; the B_j, b and c of Q(x) = a x^2 + 2 b x + c; the roots
// of Q mod each prime, and the steps 2 B_j / a mod p that take them from
// one b of the Gray code to the next.

#include "factor/qs/qs.hpp"

#include <algorithm>
#include <bit>
#include <cmath>
#include <flint/ulong_extras.h>

namespace qs {

// a: s - 1 primes drawn about the ideal size, the last one chosen so that
// the product comes near the ideal a.
void Chercheur::choisir_a() {
    for (int essai = 1;; ++essai) {
        // A small base may run out of fresh a: the range then widens.
        if (essai % 64 == 0 && a_haut_ < c_.debut_grands) {
            ++a_haut_;
        }
        std::uniform_int_distribution<u32> tirage(c_.a_bas, a_haut_ - 1);
        double reste = c_.log_cible;
        int n = 0;
        while (n < c_.s - 1) {
            u32 i = tirage(alea_);
            if (std::find(q_, q_ + n, i) != q_ + n || c_.t[i] == 0) {
                continue;
            }
            q_[n++] = i;
            reste -= std::log(static_cast<double>(c_.p[i]));
        }
        double voulu = std::exp(reste);
        // The last prime too is sieved by block: its roots are none.
        auto fin = c_.p.begin() + c_.debut_grands;
        if (voulu < c_.p[c_.debut_crible] || voulu > *(fin - 1)) {
            continue;
        }
        auto it = std::lower_bound(c_.p.begin() + c_.debut_crible, fin, static_cast<u32>(voulu));
        auto i = static_cast<u32>(it - c_.p.begin());
        if (it == fin || std::find(q_, q_ + n, i) != q_ + n || c_.t[i] == 0) {
            continue;
        }
        q_[n++] = i;
        std::sort(q_, q_ + n);
        if (col_.nouveau_a(q_, n)) {
            break;
        }
    }
    mpz_set_ui(a_, 1);
    for (int j = 0; j < c_.s; ++j) {
        mpz_mul_ui(a_, a_, c_.p[q_[j]]);
    }
}

// B_j = (a / q_j) (t_j (a / q_j)^-1 mod q_j), b their sum, the roots of Q
// mod each p and the steps 2 B_j / a mod p of the Gray code.
void Chercheur::initialiser_b() {
    std::fill(dans_a_.begin(), dans_a_.end(), 0);
    mpz_set_ui(b_, 0);
    for (int j = 0; j < c_.s; ++j) {
        u32 q = c_.p[q_[j]];
        dans_a_[q_[j]] = 1;
        mpz_divexact_ui(tmp_, a_, q);
        u32 gamma = mulmod(c_.t[q_[j]], n_invmod(mpz_fdiv_ui(tmp_, q), q), q);
        if (gamma > q / 2) {
            gamma = q - gamma;
        }
        mpz_mul_ui(grand_b_[j], tmp_, gamma);
        mpz_add(b_, b_, grand_b_[j]);
    }
    coefficient_c();
    const u32 taille = c_.taille;
    for (u32 i = 2; i < taille; ++i) {
        u32 p = c_.p[i];
        if (dans_a_[i] != 0) {
            r1_[i] = r2_[i] = 0;
            for (int j = 0; j < c_.s - 1; ++j) {
                delta_[static_cast<std::size_t>(j) * taille + i] = 0;
            }
            continue;
        }
        auto ainv = static_cast<u32>(n_invmod(mpz_fdiv_ui(a_, p), p));
        for (int j = 0; j < c_.s - 1; ++j) {
            u32 bj = static_cast<u32>(mpz_fdiv_ui(grand_b_[j], p));
            delta_[static_cast<std::size_t>(j) * taille + i] = mulmod(2 * u64{bj}, ainv, p);
        }
        u32 bm = static_cast<u32>(mpz_fdiv_ui(b_, p));
        u32 t = c_.t[i];
        u32 m = c_.demi % p;
        r1_[i] = static_cast<u32>((u64{mulmod(ainv, t + p - bm, p)} + m) % p);
        r2_[i] = static_cast<u32>((u64{mulmod(ainv, 2 * u64{p} - t - bm, p)} + m) % p);
    }
    remplir_seaux<0>(nullptr);
}

void Chercheur::coefficient_c() {
    mpz_mul(c_coef_, b_, b_);
    mpz_sub(c_coef_, c_coef_, c_.kn);
    mpz_divexact(c_coef_, c_coef_, a_);
    mpz_mul_2exp(deux_b_, b_, 1);
}

// The G-th b of the Gray code: B_v changes its sign.
void Chercheur::changer_b(u32 g) {
    int v = std::countr_zero(g);
    bool negatif = ((g >> (v + 1)) & 1) == 0;
    if (negatif) {
        mpz_submul_ui(b_, grand_b_[v], 2);
    } else {
        mpz_addmul_ui(b_, grand_b_[v], 2);
    }
    coefficient_c();
    const u32* d = &delta_[static_cast<std::size_t>(v) * c_.taille];
    const u32* p = c_.p.data();
    u32* r1 = r1_.data();
    u32* r2 = r2_.data();
    // b less 2 B_v moves the roots up by 2 B_v / a, b more moves them down.
    const u32 fin = c_.debut_grands;
    if (negatif) {
        for (u32 i = 2; i < fin; ++i) {
            u32 x = r1[i] + d[i];
            r1[i] = x >= p[i] ? x - p[i] : x;
            u32 y = r2[i] + d[i];
            r2[i] = y >= p[i] ? y - p[i] : y;
        }
    } else {
        for (u32 i = 2; i < fin; ++i) {
            u32 e = p[i] - d[i];
            u32 x = r1[i] + e;
            r1[i] = x >= p[i] ? x - p[i] : x;
            u32 y = r2[i] + e;
            r2[i] = y >= p[i] ? y - p[i] : y;
        }
    }
    if (negatif) {
        remplir_seaux<1>(d);
    } else {
        remplir_seaux<-1>(d);
    }
}

} // namespace qs
