#pragma once
// Factorisation of a positive integer of any size.

// Menu [1]: asks for N, prints its prime factors with exponents, and offers
// to start again, until the answer 0. Sets recalc, xn, S (1 after each N),
// k and i; appends the factors and exponents of each N to Nfact and
// Nexpo. Grows the table as trial division of N by its primes would, no
// further than the end of liste.txt. Returns 1.
int decomp();
