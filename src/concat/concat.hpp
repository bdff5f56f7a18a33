#pragma once
// Concatenations of primes: the ways the digits of a number split into primes.

// Menu [4]: the concatenation menu. Returns 1.
int concat();
// Entry [1]: every split of one number's digits into primes. Returns 1.
int concatN();
// Entries [2] and [3]: the numbers, or the primes, of a range that split. Returns 1.
int Nconcat();
