#pragma once
// Factorisation of a positive integer of any size.

// Menu [1]: asks for N, prints its prime factors with exponents, and offers to
// start again. Returns 1.
int decomp();
