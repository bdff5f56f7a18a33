// From a dependency among the matrix's lines to a factor of N: X the
// product of the lines' Y, Z the square root of the product of their
// a Q(x) read from the exponents (and the large primes, each twice), and
// gcd(X - Z, N).

#include "factor/qs/qs.hpp"

namespace qs {

bool racine(const Contexte& c, const Collecte& col, const std::vector<u32>& dependance,
            mpz_t facteur) {
    const Lot& t = col.tout();
    std::vector<u32> exposants(c.taille, 0);
    Entier x, z, y, u;
    mpz_set_ui(x, 1);
    mpz_set_ui(z, 1);
    auto prendre = [&](u32 id) {
        const Releve& r = t.releves[id];
        mpz_roinit_n(y, t.membres.data() + r.debut_y, static_cast<mp_size_t>(r.nb_y));
        mpz_mul(x, x, y);
        mpz_mod(x, x, c.n);
        for (u32 e = 0; e < r.nb_f; ++e) {
            ++exposants[t.facteurs[r.debut_f + e]];
        }
    };
    for (u32 ligne : dependance) {
        auto [premier, second] = col.lignes()[ligne];
        prendre(premier);
        if (second != Collecte::AUCUNE) {
            prendre(second);
            mpz_mul_ui(z, z, t.releves[premier].grand);
            mpz_mod(z, z, c.n);
        }
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

} // namespace qs
