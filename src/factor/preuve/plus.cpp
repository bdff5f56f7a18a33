// The N + 1 method: Morrison's conditions, in the ring Z/N[sqrt D] with
// (D/N) = -1, then the cube-root theorem of its side.
//
// An element A of norm 1 is known by its trace x: the trace of A^E is
// V_E(x), the Lucas sequence with Q = 1, and V_E(V_F(x)) = V_EF(x). Mod a
// prime p | N (p does not divide D) the order of A divides p - (D/p); if
// V_(N+1)(x) = 2 and gcd(V_((N+1)/Q)(x) - 2, N) = 1, it divides N + 1 but
// not (N + 1)/Q, so Q^E divides p - (D/p). Every element of norm 1 is
// (c + sqrt D)/(c - sqrt D), of trace 2 (c^2 + D)/(c^2 - D): all have the
// one D, and the sign (D/p) is the same for every Q.

#include "factor/preuve/preuve.hpp"

#include <utility>

namespace {

// The values c tried: a prime N leaves a Q open with probability 1/Q for
// each.
constexpr unsigned long DERNIER_C = 1000;

// V_M(x) for M >= 1, in place, by the Lucas chain: (v, w) = (V_k, V_(k+1))
// for k the leading bits of M, V_2k = V_k^2 - 2 and V_(2k+1) = V_k V_(k+1)
// - x.
void chaine(mpz_class& x, const mpz_class& m, const mpz_class& n) {
    mpz_class v = x;
    mpz_class w = x * x - 2;
    mpz_fdiv_r(w.get_mpz_t(), w.get_mpz_t(), n.get_mpz_t());
    for (auto b = static_cast<long>(mpz_sizeinbase(m.get_mpz_t(), 2)) - 2; b >= 0; --b) {
        bool un = mpz_tstbit(m.get_mpz_t(), static_cast<mp_bitcnt_t>(b)) != 0;
        mpz_class& produit = un ? v : w;
        mpz_class& carre = un ? w : v;
        mpz_mul(produit.get_mpz_t(), v.get_mpz_t(), w.get_mpz_t());
        produit -= x;
        mpz_fdiv_r(produit.get_mpz_t(), produit.get_mpz_t(), n.get_mpz_t());
        mpz_mul(carre.get_mpz_t(), carre.get_mpz_t(), carre.get_mpz_t());
        carre -= 2;
        mpz_fdiv_r(carre.get_mpz_t(), carre.get_mpz_t(), n.get_mpz_t());
    }
    x = std::move(v);
}

// The element (c + sqrt D)/(c - sqrt D) of norm 1, by its trace 2 (c^2 +
// D)/(c^2 - D).
struct Element {
    enum { utile, inutile, facteur } etat = inutile; // facteur: N composite
    bool carre = true; // no square for a prime N when c^2 - D is a non-residue
    mpz_class trace;
};

Element element(const mpz_class& n, long d, unsigned long c) {
    Element r;
    mpz_class c2 = c * c;
    mpz_class t = c2 - d;
    mpz_fdiv_r(t.get_mpz_t(), t.get_mpz_t(), n.get_mpz_t());
    mpz_class g;
    mpz_gcd(g.get_mpz_t(), t.get_mpz_t(), n.get_mpz_t());
    mpz_class h;
    mpz_gcd_ui(h.get_mpz_t(), n.get_mpz_t(), c);
    if ((g != 1 && g != n) || (h != 1 && h != n)) {
        r.etat = Element::facteur;
    }
    if (g != 1 || h != 1) {
        return r;
    }
    r.etat = Element::utile;
    r.carre = mpz_jacobi(t.get_mpz_t(), n.get_mpz_t()) > 0;
    mpz_invert(r.trace.get_mpz_t(), t.get_mpz_t(), n.get_mpz_t());
    r.trace *= 2 * (c2 + d);
    mpz_fdiv_r(r.trace.get_mpz_t(), r.trace.get_mpz_t(), n.get_mpz_t());
    return r;
}

// Q with other elements, each from the start.
Conditions autres_elements(const mpz_class& n, long d, unsigned long depuis, const mpz_class& q) {
    mpz_class e = (n + 1) / q;
    for (unsigned long c = depuis; c <= DERNIER_C; ++c) {
        Element a = element(n, d, c);
        if (a.etat == Element::facteur) {
            return Conditions::compose;
        }
        if (a.etat == Element::utile) {
            lucas_v(a.trace, e, n);
            Conditions r = condition_q(n, a.trace, q, lucas_v, 2);
            if (r != Conditions::indecises) {
                return r;
            }
        }
    }
    return Conditions::indecises;
}

} // namespace

void lucas_v(mpz_class& x, const mpz_class& e, const mpz_class& n) {
    if (e == 0) {
        x = 2;
        return;
    }
    // E = 2^i 3^j m: the chain for m, then V_3(x) = x (x^2 - 3) and V_2(x)
    // = x^2 - 2, which cost less a bit than the chain.
    mp_bitcnt_t i = mpz_scan1(e.get_mpz_t(), 0);
    mpz_class m = e >> i;
    mp_bitcnt_t j = mpz_remove(m.get_mpz_t(), m.get_mpz_t(), mpz_class(3).get_mpz_t());
    chaine(x, m, n);
    mpz_class t;
    for (; j > 0; --j) {
        mpz_mul(t.get_mpz_t(), x.get_mpz_t(), x.get_mpz_t());
        t -= 3;
        x *= t;
        mpz_fdiv_r(x.get_mpz_t(), x.get_mpz_t(), n.get_mpz_t());
    }
    for (; i > 0; --i) {
        mpz_mul(x.get_mpz_t(), x.get_mpz_t(), x.get_mpz_t());
        x -= 2;
        mpz_fdiv_r(x.get_mpz_t(), x.get_mpz_t(), n.get_mpz_t());
    }
}

Conditions conditions_plus(const mpz_class& n, const std::vector<Puissance>& f) {
    // D = -1 when N = 3 mod 4, else a prime.
    long d = -1;
    if (mpz_fdiv_ui(n.get_mpz_t(), 4) != 3) {
        d = non_residu(n);
        if (d <= 0) {
            return d < 0 ? Conditions::compose : Conditions::indecises;
        }
    }
    // The first element no square: Q = 2 is then settled at once.
    unsigned long c = 1;
    Element a;
    for (; c <= DERNIER_C && (a.etat != Element::utile || a.carre); ++c) {
        a = element(n, d, c);
        if (a.etat == Element::facteur) {
            return Conditions::compose;
        }
    }
    if (a.etat != Element::utile || a.carre) {
        return Conditions::indecises;
    }
    mpz_class& x = a.trace;
    // V_((N+1)/Q) for each Q from V_((N+1)/R), R the product of the Q.
    std::vector<mpz_class> q;
    mpz_class radical = 1;
    for (const Puissance& p : f) {
        q.push_back(p.q);
        radical *= p.q;
    }
    lucas_v(x, (n + 1) / radical, n);
    std::vector<mpz_class> y = puissances_partielles(x, q, n, lucas_v);
    for (std::size_t i = 0; i < f.size(); ++i) {
        Conditions r = condition_q(n, y[i], f[i].q, lucas_v, 2);
        if (r == Conditions::indecises) {
            r = f[i].q == 2 ? Conditions::compose : autres_elements(n, d, c, f[i].q);
        }
        if (r != Conditions::remplies) {
            return r;
        }
    }
    return Conditions::remplies;
}

// Every prime factor is +-1 mod F2 and (F2 - 1)^3 > N: a composite N is
// (a F2 + 1)(b F2 - 1) with a, b >= 1 (N = -1 mod F2), so (N + 1)/F2 = ab F2
// + (b - a), with ab < F2. Written c2 F2 + c1 in base F2, b - a = c1 + j F2
// and ab = c2 - j with j -1 or 0; then (b - a)^2 + 4ab = (a + b)^2.
Verdict cube_plus(const mpz_class& n, const mpz_class& f2) {
    mpz_class borne = f2 - 1;
    if (f2 <= 2 || borne * borne * borne <= n) {
        return Verdict::inconnu;
    }
    mpz_class r = (n + 1) / f2;
    mpz_class c2 = r / f2;
    mpz_class c1 = r % f2;
    for (int j = -1; j <= 1; ++j) {
        mpz_class d = c1 + j * f2;
        mpz_class p = c2 - j;
        mpz_class disc = d * d + 4 * p;
        if (p < 1 || mpz_perfect_square_p(disc.get_mpz_t()) == 0) {
            continue;
        }
        mpz_class a = sqrt(disc) - d;
        if (mpz_odd_p(a.get_mpz_t()) != 0 || a < 2) {
            continue;
        }
        mpz_class facteur = a / 2 * f2 + 1;
        if (facteur < n && mpz_divisible_p(n.get_mpz_t(), facteur.get_mpz_t()) != 0) {
            return Verdict::compose;
        }
    }
    return Verdict::premier;
}
