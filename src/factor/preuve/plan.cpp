// Which factors of N - 1 and N + 1 the proof uses, and which theorem ends
// it. Each side's powers are taken largest first; among the sets that
// suffice, the one whose conditions cost the least.
//
// The theorem of the two sides together: every prime factor p of N is 1
// mod F1 and +-1 mod F2, so 1 or r mod F = lcm(F1, F2), r the class that
// is 1 mod F1 and -1 mod F2. If N = p m, m > 1, then p = 1 mod F gives m = 1
// mod F1 and -1 mod F2, and p = r gives m = 1 mod F: in both cases N >= (F +
// 1) max(F1 + 1, F2 - 1).

#include "factor/preuve/preuve.hpp"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

unsigned long bits(const mpz_class& v) {
    return static_cast<unsigned long>(mpz_sizeinbase(v.get_mpz_t(), 2));
}

// One side's usable powers, largest first, the products of the first k and
// of their primes.
struct Cote {
    std::vector<std::size_t> ordre;
    std::vector<mpz_class> produits{mpz_class(1)};
    std::vector<unsigned long> bits_premiers{0};

    Cote(const Partielle& p, bool tous) {
        std::vector<std::pair<mpz_class, std::size_t>> puissances;
        for (std::size_t i = 0; i < p.facteurs.size(); ++i) {
            if (tous || p.facteurs[i].prouve) {
                mpz_class v;
                mpz_pow_ui(v.get_mpz_t(), p.facteurs[i].q.get_mpz_t(), p.facteurs[i].e);
                puissances.emplace_back(std::move(v), i);
            }
        }
        std::sort(puissances.begin(), puissances.end(),
                  [](const auto& a, const auto& b) { return a.first > b.first; });
        for (const auto& [v, i] : puissances) {
            ordre.push_back(i);
            produits.push_back(produits.back() * v);
            bits_premiers.push_back(bits_premiers.back() + bits(p.facteurs[i].q));
        }
    }

    std::size_t taille() const { return ordre.size(); }

    // The conditions on the first K: a power of the size of N, then the
    // tree's levels, each a power of the size of the product of the primes.
    double cout(std::size_t k, unsigned long bits_n, double poids) const {
        if (k == 0) {
            return 0;
        }
        double niveaux = std::ceil(std::log2(static_cast<double>(k)));
        return poids *
               (static_cast<double>(bits_n) + static_cast<double>(bits_premiers[k]) * niveaux);
    }

    std::vector<std::size_t> premiers(std::size_t k) const {
        return {ordre.begin(), ordre.begin() + static_cast<std::ptrdiff_t>(k)};
    }
};

bool cube_moins_possible(const mpz_class& n, const mpz_class& f1) {
    mpz_class b = f1 + 1;
    return b * b * b > n;
}

bool cube_plus_possible(const mpz_class& n, const mpz_class& f2) {
    mpz_class b = f2 - 1;
    return f2 > 2 && b * b * b > n;
}

// The least K for which OK holds, or N + 1 when none does (OK grows with K).
template <class F> std::size_t premier_suffisant(std::size_t taille, F ok) {
    if (!ok(taille)) {
        return taille + 1;
    }
    std::size_t bas = 0;
    std::size_t haut = taille;
    while (bas < haut) {
        std::size_t m = (bas + haut) / 2;
        if (ok(m)) {
            haut = m;
        } else {
            bas = m + 1;
        }
    }
    return bas;
}

} // namespace

mpz_class produit(const std::vector<Puissance>& f) {
    mpz_class r = 1;
    for (const Puissance& p : f) {
        mpz_class v;
        mpz_pow_ui(v.get_mpz_t(), p.q.get_mpz_t(), p.e);
        r *= v;
    }
    return r;
}

bool borne_carree(const mpz_class& n, const mpz_class& f1, const mpz_class& f2) {
    mpz_class f;
    mpz_lcm(f.get_mpz_t(), f1.get_mpz_t(), f2.get_mpz_t());
    mpz_class m = std::max(mpz_class(f1 + 1), mpz_class(f2 - 1));
    return n < (f + 1) * m;
}

bool choisir_plan(const mpz_class& n, const Partielle& moins, const Partielle& plus, bool tous,
                  Plan& plan) {
    const Cote a(moins, tous);
    const Cote b(plus, tous);
    unsigned long bn = bits(n);
    double meilleur = std::numeric_limits<double>::infinity();
    auto essayer = [&](Plan::Theoreme t, std::size_t ka, std::size_t kb) {
        double c = a.cout(ka, bn, 1) + b.cout(kb, bn, reglage_preuve::COUT_PLUS);
        if (c < meilleur) {
            meilleur = c;
            plan = {t, a.premiers(ka), b.premiers(kb)};
        }
    };
    std::size_t k = premier_suffisant(
        a.taille(), [&](std::size_t i) { return cube_moins_possible(n, a.produits[i]); });
    if (k <= a.taille()) {
        essayer(Plan::par_cube_moins, k, 0);
    }
    k = premier_suffisant(b.taille(),
                          [&](std::size_t i) { return cube_plus_possible(n, b.produits[i]); });
    if (k <= b.taille()) {
        essayer(Plan::par_cube_plus, 0, k);
    }
    for (std::size_t ka = 0; ka <= a.taille(); ++ka) {
        if (a.cout(ka, bn, 1) >= meilleur) {
            break;
        }
        std::size_t kb = premier_suffisant(b.taille(), [&](std::size_t i) {
            return borne_carree(n, a.produits[ka], b.produits[i]);
        });
        if (kb <= b.taille()) {
            essayer(Plan::par_carre, ka, kb);
        }
    }
    return meilleur < std::numeric_limits<double>::infinity();
}

unsigned long bits_manquants(const mpz_class& n, const Partielle& moins, const Partielle& plus) {
    const Cote a(moins, true);
    const Cote b(plus, true);
    unsigned long bn = bits(n);
    unsigned long ba = bits(a.produits.back()) - 1;
    unsigned long bb = bits(b.produits.back()) - 1;
    auto manque = [](unsigned long besoin, unsigned long ont) {
        return besoin > ont ? besoin - ont : 0;
    };
    // The cube root on either side; F1 F2 max(F1, F2) / 2 above N.
    return std::min({manque(bn / 3 + 1, ba), manque(bn / 3 + 1, bb),
                     manque(bn + 2, ba + bb + std::max(ba, bb))});
}
