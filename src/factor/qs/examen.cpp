// The scan of a sieved block, 64 bytes at a time (with AVX2 where the
// processor has it, in words of 8 bytes otherwise), and the trial division
// of each candidate:
// Q(x) divided by a's primes, by the primes sieved by block whose roots
// hit x, and by those of the block's bucket at x, read in one pass over the
// bucket for all the block's candidates; what is left is 1, a
// large prime below the bound, or (where the sizes take two) the product of
// two such primes, split by SQUFOF; otherwise the candidate is dropped.

#include "factor/qs/qs.hpp"

#include <bit>
#include <cstring>
#include <flint/ulong_extras.h>
#include <immintrin.h>

namespace qs {

void candidats_portable(const std::uint8_t* bloc, std::vector<u32>& ou) {
    constexpr u64 HAUTS = 0x8080808080808080ULL;
    for (u32 o = 0; o < BLOC; o += 64) {
        u64 tous = 0;
        u64 mots[8];
        std::memcpy(mots, bloc + o, sizeof mots);
        for (u64 m : mots) {
            tous |= m;
        }
        if ((tous & HAUTS) == 0) {
            continue;
        }
        for (u32 j = 0; j < 64; ++j) {
            if ((bloc[o + j] & 0x80) != 0) {
                ou.push_back(o + j);
            }
        }
    }
}

__attribute__((target("avx2"))) void candidats_avx2(const std::uint8_t* bloc,
                                                    std::vector<u32>& ou) {
    for (u32 o = 0; o < BLOC; o += 64) {
        __m256i x = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(bloc + o));
        __m256i y = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(bloc + o + 32));
        if (_mm256_testz_si256(_mm256_or_si256(x, y), _mm256_set1_epi8(-128)) != 0) {
            continue;
        }
        u64 m = u64{static_cast<u32>(_mm256_movemask_epi8(x))} |
                u64{static_cast<u32>(_mm256_movemask_epi8(y))} << 32;
        for (; m != 0; m &= m - 1) {
            ou.push_back(o + static_cast<u32>(std::countr_zero(m)));
        }
    }
}

void Chercheur::examiner_bloc(u32 b) {
    static const bool avx2 = __builtin_cpu_supports("avx2") != 0;
    const std::uint8_t* bloc = crible_.data() + b * BLOC;
    candidats_.clear();
    if (avx2) {
        candidats_avx2(bloc, candidats_);
    } else {
        candidats_portable(bloc, candidats_);
    }
    if (candidats_.empty()) {
        return;
    }
    // The bucket's entries at a candidate, whose byte is still past 127.
    vus_.clear();
    const u32* seau = &seaux_[b * capacite_];
    const u32 n = remplis_[b];
    for (u32 e = 0; e < n; ++e) {
        if ((bloc[seau[e] & MASQUE_BLOC] & 0x80) != 0) {
            vus_.push_back(seau[e]);
        }
    }
    for (u32 o : candidats_) {
        candidat(b * BLOC + o);
    }
}

// Divides Q(x) by the prime of index I as often as it goes.
void Chercheur::diviser(u32 i) {
    u32 p = c_.p[i];
    while (mpz_divisible_ui_p(qx_, p) != 0) {
        mpz_divexact_ui(qx_, qx_, p);
        trouves_.push_back(i);
    }
}

// Marks in touche_ the primes sieved by block whose roots hit POS (a's
// primes too, harmlessly: they no longer divide).
void Chercheur::reperer_diviseurs(u32 pos) {
    const u32* __restrict p = c_.p.data();
    const u32* __restrict inv = c_.inv.data();
    const u32* __restrict lim = c_.lim.data();
    const u32* __restrict r1 = r1_.data();
    const u32* __restrict r2 = r2_.data();
    std::uint8_t* __restrict t = touche_.data();
    const u32 fin = c_.debut_grands;
    for (u32 i = 2; i < fin; ++i) {
        u32 d1 = (pos + p[i] - r1[i]) * inv[i];
        u32 d2 = (pos + p[i] - r2[i]) * inv[i];
        t[i] = static_cast<std::uint8_t>((d1 <= lim[i]) | (d2 <= lim[i]));
    }
}

// Trial division of Q(x) at position POS of the interval, in the block
// whose bucket entries at candidates are in vus_.
void Chercheur::candidat(u32 pos) {
    long x = static_cast<long>(pos) - static_cast<long>(c_.demi);
    mpz_mul_si(qx_, a_, x);
    mpz_add(qx_, qx_, deux_b_);
    mpz_mul_si(qx_, qx_, x);
    mpz_add(qx_, qx_, c_coef_);
    trouves_.clear();
    int signe = mpz_sgn(qx_);
    if (signe == 0) {
        return;
    }
    if (signe < 0) {
        trouves_.push_back(0);
        mpz_neg(qx_, qx_);
    }
    mp_bitcnt_t z = mpz_scan1(qx_, 0);
    mpz_tdiv_q_2exp(qx_, qx_, z);
    trouves_.insert(trouves_.end(), z, 1);
    for (int j = 0; j < c_.s; ++j) {
        trouves_.push_back(q_[j]); // a's primes: a Q(x) is the square's residue
        diviser(q_[j]);
    }
    reperer_diviseurs(pos);
    for (u32 i = 2; i < c_.debut_grands; i += 8) {
        u64 m;
        std::memcpy(&m, &touche_[i], sizeof m);
        for (; m != 0; m &= m - 1) {
            diviser(i + static_cast<u32>(std::countr_zero(m)) / 8);
        }
    }
    const u32 ici = pos & MASQUE_BLOC;
    for (u32 v : vus_) {
        if ((v & MASQUE_BLOC) == ici) {
            diviser(v >> BITS_BLOC);
        }
    }
    u64 grand = 1, grand2 = 1;
    if (mpz_cmp_ui(qx_, 1) != 0) {
        if (mpz_sizeinbase(qx_, 2) > 64) {
            return;
        }
        u64 reste = mpz_get_ui(qx_);
        if (reste < c_.borne_grand) {
            grand = reste;
        } else if (!deux_grands(reste, grand, grand2)) {
            return;
        }
    }
    mpz_mul_si(y_, a_, x);
    mpz_add(y_, y_, b_);
    mpz_abs(y_, y_);
    garder(grand, grand2);
}

// RESTE, free of the base's primes, as GRAND GRAND2, two primes below the
// large prime bound. Below the base's largest prime squared it is a prime;
// SQUFOF splits the others, after a primality test.
bool Chercheur::deux_grands(u64 reste, u64& grand, u64& grand2) const {
    if (reste >= c_.borne_double || reste < c_.carre_base || n_is_prime(reste) != 0) {
        return false;
    }
    constexpr u64 ITERATIONS = 50000; // SQUFOF's rare misses are dropped
    u64 f = n_is_square(reste) != 0 ? n_sqrt(reste) : n_factor_SQUFOF(reste, ITERATIONS);
    if (f <= 1 || f >= reste) {
        return false;
    }
    u64 g = reste / f;
    if (f > g) {
        std::swap(f, g);
    }
    if (g >= c_.borne_grand) {
        return false;
    }
    grand = f;
    grand2 = g;
    return true;
}

void Chercheur::garder(u64 grand, u64 grand2) {
    Releve r;
    r.debut_f = static_cast<u32>(lot_.facteurs.size());
    r.nb_f = static_cast<u32>(trouves_.size());
    lot_.facteurs.insert(lot_.facteurs.end(), trouves_.begin(), trouves_.end());
    r.debut_y = static_cast<u32>(lot_.membres.size());
    r.nb_y = static_cast<u32>(mpz_size(y_));
    lot_.membres.insert(lot_.membres.end(), mpz_limbs_read(y_), mpz_limbs_read(y_) + r.nb_y);
    r.grand = grand;
    r.grand2 = grand2;
    lot_.releves.push_back(r);
    if (c_.verifier) {
        ++lot_.verifiees;
        if (!congruence_vraie(grand, grand2)) {
            ++lot_.fausses;
        }
    }
}

// Y^2 = (-1)^e0 2^e1 ... L L' mod N, for the relation just found.
bool Chercheur::congruence_vraie(u64 grand, u64 grand2) {
    Entier gauche, droite;
    mpz_powm_ui(gauche, y_, 2, c_.n);
    mpz_set_ui(droite, 1);
    for (u32 i : trouves_) {
        if (i == 0) {
            mpz_neg(droite, droite);
        } else {
            mpz_mul_ui(droite, droite, c_.p[i]);
        }
    }
    mpz_mul_ui(droite, droite, grand);
    mpz_mul_ui(droite, droite, grand2);
    mpz_mod(droite, droite, c_.n);
    return mpz_cmp(gauche, droite) == 0;
}

} // namespace qs
