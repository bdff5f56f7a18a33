// The driver: which proof for N, from its value alone.
//
//   1. Below 2^64, the strong test of Baillie, Pomerance, Selfridge and
//      Wagstaff, a proof there; a small prime factor ends the matter too.
//   2. 2^p - 1: Lucas-Lehmer. k 2^n + 1 with k < 2^n: Proth (Pepin).
//   3. N - 1 and N + 1 by trial division, and N - 1 by the algebra of the
//      cyclotomic values: when the primes found are enough for a theorem,
//      the conditions decide, prime or composite, with no other test.
//   4. Otherwise the strong probable-prime test, which only a composite
//      fails; then the cofactors of N - 1 and N + 1, a probable prime among
//      them proved in turn (a nested proof), and, from 300 digits, rho and a
//      short ECM when a few more digits would do.
//   5. The general proof.

#include "factor/preuve/preuve.hpp"
#include "primes/arith64.hpp"

#include <algorithm>
#include <new>
#include <utility>

namespace {

unsigned long bits(const mpz_class& v) {
    return static_cast<unsigned long>(mpz_sizeinbase(v.get_mpz_t(), 2));
}

// The plan's powers of one side.
std::vector<Puissance> choisis(const Partielle& p, const std::vector<std::size_t>& indices) {
    std::vector<Puissance> f;
    for (std::size_t i : indices) {
        f.push_back(p.facteurs[i]);
    }
    return f;
}

// The conditions of the plan, then its theorem.
Verdict appliquer(const mpz_class& n, const Partielle& moins, const Partielle& plus,
                  const Plan& plan) {
    std::vector<Puissance> f1 = choisis(moins, plan.moins);
    std::vector<Puissance> f2 = choisis(plus, plan.plus);
    for (auto [f, cote] : {std::pair{&f1, &conditions_moins}, std::pair{&f2, &conditions_plus}}) {
        if (f->empty()) {
            continue;
        }
        Conditions c = cote(n, *f);
        if (c != Conditions::remplies) {
            return c == Conditions::compose ? Verdict::compose : Verdict::inconnu;
        }
    }
    switch (plan.theoreme) {
    case Plan::par_cube_moins:
        return cube_moins(n, produit(f1));
    case Plan::par_cube_plus:
        return cube_plus(n, produit(f2));
    case Plan::par_carre:
        break;
    }
    return borne_carree(n, produit(f1), produit(f2)) ? Verdict::premier : Verdict::inconnu;
}

// The plan's factors not yet proved, proved in turn; a factor that fails
// goes back into its side's cofactor (false: a new plan is needed).
bool prouver_facteurs(Partielle& p, const std::vector<std::size_t>& indices, int profondeur) {
    std::vector<mpz_class> echecs;
    for (std::size_t i : indices) {
        Puissance& f = p.facteurs[i];
        if (f.prouve) {
            continue;
        }
        if (profondeur < reglage_preuve::PROFONDEUR &&
            prouver(f.q, profondeur + 1) == Verdict::premier) {
            f.prouve = true;
        } else {
            echecs.push_back(f.q);
        }
    }
    std::erase_if(p.facteurs, [&](const Puissance& f) {
        if (std::find(echecs.begin(), echecs.end(), f.q) == echecs.end()) {
            return false;
        }
        mpz_class v;
        mpz_pow_ui(v.get_mpz_t(), f.q.get_mpz_t(), f.e);
        p.reste *= v;
        return true;
    });
    return echecs.empty();
}

// Steps 3 and 4 above, once the sides are factored as far as they will be:
// a plan with proved factors only if there is one, else one whose factors
// are proved now, in nested proofs.
Verdict par_les_cotes(const mpz_class& n, Partielle& moins, Partielle& plus, bool tous,
                      int profondeur) {
    Plan plan;
    if (choisir_plan(n, moins, plus, false, plan)) {
        return appliquer(n, moins, plus, plan);
    }
    while (tous && choisir_plan(n, moins, plus, true, plan)) {
        if (prouver_facteurs(moins, plan.moins, profondeur) &&
            prouver_facteurs(plus, plan.plus, profondeur)) {
            return appliquer(n, moins, plus, plan);
        }
    }
    return Verdict::inconnu;
}

Verdict par_la_forme(const mpz_class& n, int profondeur) {
    unsigned long b = bits(n);
    if (mpz_scan0(n.get_mpz_t(), 0) == b) { // 2^b - 1
        return premier64(b) && lucas_lehmer(b) ? Verdict::premier : Verdict::compose;
    }
    mpz_class m = n - 1;
    if (unsigned long v = mpz_scan1(m.get_mpz_t(), 0); 2 * v >= b) { // k < 2^v
        if (Verdict r = proth(n); r != Verdict::inconnu) {
            return r;
        }
    }
    Partielle moins = division_partielle(m);
    Partielle plus = division_partielle(n + 1);
    // What is left to split of N - 1: the cyclotomic values that make it,
    // for N of that form, else its cofactor.
    std::vector<mpz_class> parts;
    if (Cyclotomique forme; forme_cyclotomique(n, forme)) {
        parts = morceaux_cyclotomiques(forme);
        for (const mpz_class& p : parts) {
            completer(moins, p, false);
        }
    }
    if (Verdict r = par_les_cotes(n, moins, plus, false, profondeur); r != Verdict::inconnu) {
        return r;
    }
    if (!probable_premier(n)) {
        return Verdict::compose;
    }
    if (parts.empty()) {
        completer(moins, moins.reste, false);
        parts.push_back(moins.reste);
    }
    completer(plus, plus.reste, false);
    if (bits(n) >= reglage_preuve::BITS_RECHERCHE &&
        bits_manquants(n, moins, plus) <= reglage_preuve::PORTEE_RECHERCHE) {
        for (const mpz_class& p : parts) {
            completer(moins, p, true);
        }
        completer(plus, plus.reste, true);
    }
    return par_les_cotes(n, moins, plus, true, profondeur);
}

} // namespace

Verdict prouver(const mpz_class& n, int profondeur) {
    if (mpz_fits_ulong_p(n.get_mpz_t()) != 0) {
        return premier64(mpz_get_ui(n.get_mpz_t())) ? Verdict::premier : Verdict::compose;
    }
    mpz_class g;
    mpz_gcd_ui(g.get_mpz_t(), n.get_mpz_t(),
               2 * 3 * 5 * 7 * 11 * 13 * 17 * 19 * 23UL * 29 * 31 * 37 * 41 * 43 * 47);
    if (g != 1) {
        return Verdict::compose;
    }
    if (Verdict r = par_la_forme(n, profondeur); r != Verdict::inconnu) {
        return r;
    }
    return preuve_generale(n);
}

Verdict prouver(mpz_srcptr n) {
    try {
        return prouver(mpz_class(n), 0);
    } catch (const std::bad_alloc&) {
        return Verdict::inconnu;
    }
}
