// The N - 1 method: Pocklington's conditions, then the cube-root theorem of
// Brillhart, Lehmer and Selfridge.
//
// If A^(N-1) = 1 mod N and gcd(A^((N-1)/Q) - 1, N) = 1, the order of A mod
// each prime p | N divides N - 1 but not (N - 1)/Q, so Q^E divides p - 1.

#include "factor/preuve/preuve.hpp"

#include <cstddef>

namespace {

// Bases tried again for a Q that the first one leaves open: a prime N
// leaves it open with probability 1/Q for each.
constexpr std::size_t AUTRES_BASES = 200;

void puissance_mod(mpz_class& x, const mpz_class& e, const mpz_class& n) {
    mpz_powm(x.get_mpz_t(), x.get_mpz_t(), e.get_mpz_t(), n.get_mpz_t());
}

// Q with other bases, each from the start.
Conditions autres_bases(const mpz_class& n, const mpz_class& q) {
    mpz_class e = (n - 1) / q;
    const std::vector<unsigned long>& bases = petits_premiers();
    for (std::size_t i = 0; i < AUTRES_BASES && i < bases.size(); ++i) {
        unsigned long b = bases[i];
        if (n <= b) {
            break;
        }
        mpz_class y = b;
        puissance_mod(y, e, n);
        Conditions c = condition_q(n, y, q, puissance_mod, 1);
        if (c != Conditions::indecises) {
            return c;
        }
    }
    return Conditions::indecises;
}

} // namespace

Conditions conditions_moins(const mpz_class& n, const std::vector<Puissance>& f) {
    // The first base is a non-residue: for a prime N, Euler's criterion then
    // settles Q = 2 at once.
    long a = non_residu(n);
    if (a < 0) {
        return Conditions::compose;
    }
    if (a == 0) {
        return Conditions::indecises;
    }
    // A^((N-1)/Q) for each Q from A^((N-1)/R), R the product of the Q.
    std::vector<mpz_class> q;
    mpz_class radical = 1;
    for (const Puissance& p : f) {
        q.push_back(p.q);
        radical *= p.q;
    }
    mpz_class x = static_cast<unsigned long>(a);
    puissance_mod(x, (n - 1) / radical, n);
    std::vector<mpz_class> y = puissances_partielles(x, q, n, puissance_mod);
    for (std::size_t i = 0; i < f.size(); ++i) {
        Conditions c = condition_q(n, y[i], f[i].q, puissance_mod, 1);
        if (c == Conditions::indecises) {
            c = f[i].q == 2 ? Conditions::compose : autres_bases(n, f[i].q);
        }
        if (c != Conditions::remplies) {
            return c;
        }
    }
    return Conditions::remplies;
}

// Every prime factor is 1 mod F1 and (F1 + 1)^3 > N: a composite N is
// (a F1 + 1)(b F1 + 1) with a, b >= 1, so (N - 1)/F1 = ab F1 + (a + b).
// Written c2 F1 + c1 in base F1, a + b = c1 + j F1 and ab = c2 - j, where
// j F1 <= a + b <= ab + 1 < F1 + 8 (j is 0 or 1 once F1 > 8); a and b are
// the roots of X^2 - (a + b) X + ab, whose discriminant is then a square.
Verdict cube_moins(const mpz_class& n, const mpz_class& f1) {
    mpz_class borne = f1 + 1;
    if (borne * borne * borne <= n) {
        return Verdict::inconnu;
    }
    mpz_class r = (n - 1) / f1;
    mpz_class c2 = r / f1;
    mpz_class c1 = r % f1;
    for (unsigned long j = 0; j * f1 < f1 + 8; ++j) {
        mpz_class s = c1 + j * f1;
        mpz_class p = c2 - j;
        mpz_class disc = s * s - 4 * p;
        if (p < 1 || disc < 0 || mpz_perfect_square_p(disc.get_mpz_t()) == 0) {
            continue;
        }
        mpz_class a = s - sqrt(disc);
        if (mpz_odd_p(a.get_mpz_t()) != 0 || a < 2) {
            continue;
        }
        mpz_class d = a / 2 * f1 + 1;
        if (d < n && mpz_divisible_p(n.get_mpz_t(), d.get_mpz_t()) != 0) {
            return Verdict::compose;
        }
    }
    return Verdict::premier;
}
