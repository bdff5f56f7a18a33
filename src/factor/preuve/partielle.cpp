// The partial factoring of N - 1 and N + 1: the small primes by a GCD with
// their product, then, for what is left, rho and a short ECM.

#include "factor/preuve/preuve.hpp"
#include "primes/arith64.hpp"

#include <cstddef>
#include <ecm.h>
#include <primesieve.hpp>

namespace {

using reglage_preuve::DIVISION;

// The odd primes up to DIVISION, and the products of their pairs, of the
// pairs of those, and so on up to one product of all: built once.
class ArbrePremiers {
  public:
    static const ArbrePremiers& lui() {
        static const ArbrePremiers arbre;
        return arbre;
    }

    const mpz_class& tous() const { return niveaux_.back()[0]; }
    const std::vector<unsigned long>& premiers() const { return premiers_; }

    // The primes that divide G, a divisor of the product of all.
    void diviseurs(const mpz_class& g, std::vector<unsigned long>& premiers) const {
        descendre(niveaux_.size() - 1, 0, g, premiers);
    }

  private:
    ArbrePremiers() {
        std::vector<unsigned long> p;
        primesieve::generate_primes(3, DIVISION, &p);
        premiers_ = p;
        niveaux_.emplace_back(p.begin(), p.end());
        while (niveaux_.back().size() > 1) {
            const std::vector<mpz_class>& bas = niveaux_.back();
            std::vector<mpz_class> haut((bas.size() + 1) / 2);
            for (std::size_t i = 0; i < haut.size(); ++i) {
                haut[i] = 2 * i + 1 < bas.size() ? bas[2 * i] * bas[2 * i + 1] : bas[2 * i];
            }
            niveaux_.push_back(std::move(haut));
        }
    }

    void descendre(std::size_t niveau, std::size_t i, const mpz_class& g,
                   std::vector<unsigned long>& premiers) const {
        if (niveau == 0) {
            premiers.push_back(premiers_[i]);
            return;
        }
        const std::vector<mpz_class>& bas = niveaux_[niveau - 1];
        for (std::size_t j = 2 * i; j < 2 * i + 2 && j < bas.size(); ++j) {
            mpz_class h;
            mpz_gcd(h.get_mpz_t(), g.get_mpz_t(), bas[j].get_mpz_t());
            if (h != 1) {
                descendre(niveau - 1, j, h, premiers);
            }
        }
    }

    std::vector<unsigned long> premiers_;
    std::vector<std::vector<mpz_class>> niveaux_;
};

// Pollard's rho in Brent's manner, the GCD taken once every 128 steps; 0
// when nothing was found within the iterations allowed.
mpz_class rho(const mpz_class& c) {
    constexpr unsigned long PAS = 128;
    mpz_class x = 2;
    mpz_class y = 2;
    mpz_class ys;
    mpz_class produit = 1;
    mpz_class g = 1;
    auto suivant = [&c](mpz_class& v) {
        mpz_mul(v.get_mpz_t(), v.get_mpz_t(), v.get_mpz_t());
        v += 1;
        mpz_fdiv_r(v.get_mpz_t(), v.get_mpz_t(), c.get_mpz_t());
    };
    unsigned long faites = 0;
    for (unsigned long r = 1; g == 1 && faites < reglage_preuve::ITERATIONS_RHO; r *= 2) {
        x = y;
        for (unsigned long i = 0; i < r; ++i) {
            suivant(y);
        }
        for (unsigned long k = 0; k < r && g == 1; k += PAS) {
            ys = y;
            for (unsigned long i = 0; i < PAS && i < r - k; ++i) {
                suivant(y);
                produit *= x - y;
                mpz_fdiv_r(produit.get_mpz_t(), produit.get_mpz_t(), c.get_mpz_t());
            }
            mpz_gcd(g.get_mpz_t(), produit.get_mpz_t(), c.get_mpz_t());
            faites += PAS;
        }
    }
    if (g == c) { // several factors at once: the steps one by one
        do {
            suivant(ys);
            mpz_class t = x - ys;
            mpz_gcd(g.get_mpz_t(), t.get_mpz_t(), c.get_mpz_t());
        } while (g == 1);
    }
    return g == 1 || g == c ? mpz_class(0) : g;
}

// One curve of GMP-ECM's, of parameter SIGMA.
mpz_class courbe(const mpz_class& c, unsigned long sigma) {
    ecm_params p;
    ecm_init(p);
    p->param = ECM_PARAM_SUYAMA;
    mpz_set_ui(p->sigma, sigma);
    mpz_class f;
    mpz_class n = c;
    int r = ecm_factor(f.get_mpz_t(), n.get_mpz_t(), reglage_preuve::B1_ECM, p);
    ecm_clear(p);
    return r > 0 && f != c ? f : mpz_class(0);
}

} // namespace

const std::vector<unsigned long>& petits_premiers() {
    return ArbrePremiers::lui().premiers();
}

Partielle division_partielle(const mpz_class& m) {
    Partielle p;
    p.reste = m;
    if (m == 0) {
        return p;
    }
    if (mp_bitcnt_t v = mpz_scan1(m.get_mpz_t(), 0); v > 0) {
        p.facteurs.push_back({2, v, true});
        p.reste >>= v;
    }
    const ArbrePremiers& arbre = ArbrePremiers::lui();
    mpz_class g;
    mpz_gcd(g.get_mpz_t(), p.reste.get_mpz_t(), arbre.tous().get_mpz_t());
    std::vector<unsigned long> premiers;
    if (g != 1) {
        arbre.diviseurs(g, premiers);
    }
    for (unsigned long q : premiers) {
        ajouter_facteur(p, q, true);
    }
    return p;
}

void ajouter_facteur(Partielle& p, const mpz_class& q, bool prouve) {
    mpz_class r;
    mp_bitcnt_t e = mpz_remove(r.get_mpz_t(), p.reste.get_mpz_t(), q.get_mpz_t());
    if (e > 0) {
        p.reste = std::move(r);
        p.facteurs.push_back({q, e, prouve});
    }
}

mpz_class petit_facteur(const mpz_class& c) {
    if (mpz_class f = rho(c); f != 0) {
        return f;
    }
    for (int t = 0; t < reglage_preuve::COURBES_ECM; ++t) {
        if (mpz_class f = courbe(c, 11 + static_cast<unsigned long>(t)); f != 0) {
            return f;
        }
    }
    return 0;
}

bool probable_premier(const mpz_class& c) {
    if (mpz_fits_ulong_p(c.get_mpz_t()) != 0) {
        return premier64(mpz_get_ui(c.get_mpz_t()));
    }
    return mpz_probab_prime_p(c.get_mpz_t(), 24) > 0;
}

void completer(Partielle& p, mpz_class c, bool chercher) {
    for (const Puissance& f : p.facteurs) {
        mpz_remove(c.get_mpz_t(), c.get_mpz_t(), f.q.get_mpz_t());
    }
    if (c == 1) {
        return;
    }
    if (probable_premier(c)) {
        // Below 2^64 the test is a proof.
        ajouter_facteur(p, c, mpz_fits_ulong_p(c.get_mpz_t()) != 0);
        return;
    }
    if (!chercher) {
        return;
    }
    if (mpz_class f = petit_facteur(c); f != 0) {
        completer(p, f, true);
        completer(p, c / f, true);
    }
}
