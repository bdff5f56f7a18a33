#pragma once
// Numbers of the form (a^n + b^n) / c or (a^n - b^n) / c with small a, b, c
// (2^n + 1, 10^n - 1, the repunits (10^n - 1) / 9, ...): their algebraic
// factors, found from the value of N alone. Knows no program-wide variable.
//
// a^n - b^n is the product of the values Phi_d(a, b) of the cyclotomic
// polynomials for d dividing n, and a^n + b^n the product of those for d
// dividing 2n but not n. When b = 1 and a = m s^2 with m squarefree, the
// value for d an odd multiple of m (m = 1 mod 4) or of 2m (otherwise) is
// the product of two numbers of about the same size, after the identity of
// Aurifeuille and Lucas: 2^(4k+2) + 1 = (2^(2k+1) - 2^(k+1) + 1)
// (2^(2k+1) + 2^(k+1) + 1).

#include <NTL/ZZ.h>
#include <vector>

struct FormeAlgebrique {
    long a = 0; // a > b >= 1, prime to each other
    long b = 0;
    long n = 0;        // n >= 2
    bool plus = false; // a^n + b^n, else a^n - b^n
    long c = 1;        // c N = a^n +- b^n
};

// Whether N, of BITS_FORMES to BITS_FORMES_MAX bits, is such a number with
// a <= BASE_MAX and c <= DIVISEUR_MAX (reglages.hpp): in F, the first form
// found with a, then b, then n increasing.
bool forme_algebrique(const NTL::ZZ& n, FormeAlgebrique& f);

// Numbers greater than 1 whose product is (a^n +- b^n) / c: the cyclotomic
// values of the form F, each cut in two where Aurifeuille's identity
// applies, c divided out. None for a product of 1; F: a valid form.
std::vector<NTL::ZZ> morceaux(const FormeAlgebrique& f);

// The pieces of N by its form, or N alone when it has none.
std::vector<NTL::ZZ> morceaux_algebriques(const NTL::ZZ& n);
