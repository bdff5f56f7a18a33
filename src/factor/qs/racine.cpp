// From a dependency among the matrix's lines to a factor of N: X the
// product of the lines' Y, Z the square root of the product of their
// a Q(x), read from the exponents and from the large primes (which come in
// pairs), and gcd(X - Z, N). And the check of one line's congruence.

#include "factor/qs/qs.hpp"

#include <algorithm>

namespace qs {

namespace {

// The large primes of the relations IDS, sorted, into GRANDS; X times
// their Y mod N, EXPOSANTS plus their primes.
void multiplier(const Contexte& c, const Lot& t, const u32* ids, u32 nombre, mpz_t x,
                std::vector<u32>& exposants, std::vector<u64>& grands) {
    Entier y;
    for (u32 e = 0; e < nombre; ++e) {
        const Releve& r = t.releves[ids[e]];
        mpz_roinit_n(y, t.membres.data() + r.debut_y, static_cast<mp_size_t>(r.nb_y));
        mpz_mul(x, x, y);
        mpz_mod(x, x, c.n);
        for (u32 f = 0; f < r.nb_f; ++f) {
            ++exposants[t.facteurs[r.debut_f + f]];
        }
        for (u64 g : {r.grand, r.grand2}) {
            if (g != 1) {
                grands.push_back(g);
            }
        }
    }
}

// Z times the square root of the large primes' product mod N; false when
// one of them comes an odd number of times.
bool racine_des_grands(const Contexte& c, std::vector<u64>& grands, mpz_t z) {
    std::sort(grands.begin(), grands.end());
    for (std::size_t e = 0; e < grands.size(); e += 2) {
        if (e + 1 == grands.size() || grands[e] != grands[e + 1]) {
            return false;
        }
        mpz_mul_ui(z, z, grands[e]);
        mpz_mod(z, z, c.n);
    }
    return true;
}

} // namespace

bool racine(const Contexte& c, const Collecte& col, const std::vector<u32>& dependance,
            mpz_t facteur) {
    const Lot& t = col.tout();
    std::vector<u32> exposants(c.taille, 0);
    std::vector<u64> grands;
    Entier x, z, u;
    mpz_set_ui(x, 1);
    mpz_set_ui(z, 1);
    for (u32 l : dependance) {
        multiplier(c, t, col.ligne(l), col.longueur(l), x, exposants, grands);
    }
    if (!racine_des_grands(c, grands, z)) {
        return false;
    }
    for (u32 i = 1; i < c.taille; ++i) {
        if (exposants[i] % 2 != 0) {
            return false;
        }
        if (exposants[i] > 0) {
            mpz_set_ui(u, c.p[i]);
            mpz_powm_ui(u, u, exposants[i] / 2, c.n);
            mpz_mul(z, z, u);
            mpz_mod(z, z, c.n);
        }
    }
    mpz_sub(u, x, z);
    mpz_gcd(facteur, u, c.n);
    return mpz_cmp_ui(facteur, 1) > 0 && mpz_cmp(facteur, c.n) < 0;
}

bool congruence_ligne(const Contexte& c, const Lot& t, const u32* ids, u32 nombre) {
    Entier x, droite, y;
    mpz_set_ui(x, 1);
    mpz_set_ui(droite, 1);
    std::vector<u64> grands;
    for (u32 e = 0; e < nombre; ++e) {
        const Releve& r = t.releves[ids[e]];
        mpz_roinit_n(y, t.membres.data() + r.debut_y, static_cast<mp_size_t>(r.nb_y));
        mpz_mul(x, x, y);
        mpz_mod(x, x, c.n);
        for (u32 f = 0; f < r.nb_f; ++f) {
            u32 i = t.facteurs[r.debut_f + f];
            if (i == 0) {
                mpz_neg(droite, droite);
            } else {
                mpz_mul_ui(droite, droite, c.p[i]);
            }
        }
        for (u64 g : {r.grand, r.grand2}) {
            mpz_mul_ui(droite, droite, g);
            if (g != 1) {
                grands.push_back(g);
            }
        }
        mpz_mod(droite, droite, c.n);
    }
    Entier z; // the large primes come in pairs
    if (!racine_des_grands(c, grands, z)) {
        return false;
    }
    mpz_powm_ui(x, x, 2, c.n);
    return mpz_cmp(x, droite) == 0;
}

} // namespace qs
