// Proth's test, and the search for a quadratic non-residue that it shares
// with the N - 1 and N + 1 methods.

#include "factor/preuve/preuve.hpp"

long non_residu(const mpz_class& n) {
    // A square has no non-residue; another has one among the small primes
    // (for n! + 1 all primes up to n are residues, so the search goes on).
    if (mpz_perfect_square_p(n.get_mpz_t()) != 0) {
        return -1;
    }
    for (unsigned long a : petits_premiers()) {
        if (n <= a) {
            break;
        }
        int j = mpz_ui_kronecker(a, n.get_mpz_t());
        if (j == 0) {
            return -static_cast<long>(a);
        }
        if (j < 0) {
            return static_cast<long>(a);
        }
    }
    return 0;
}

// With (A/N) = -1, a prime N has A^((N-1)/2) = -1 (Euler's criterion), and
// that congruence proves N prime by Pocklington's theorem, the factored part
// 2^n of N - 1 being above the square root of N.
Verdict proth(const mpz_class& n) {
    long a = non_residu(n);
    if (a < 0) {
        return Verdict::compose;
    }
    if (a == 0) {
        return Verdict::inconnu;
    }
    mpz_class e = n >> 1;
    mpz_class z = static_cast<unsigned long>(a);
    mpz_powm(z.get_mpz_t(), z.get_mpz_t(), e.get_mpz_t(), n.get_mpz_t());
    return z + 1 == n ? Verdict::premier : Verdict::compose;
}
