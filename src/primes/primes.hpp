#pragma once
// The table's growth by one prime, and the two primality tests, whose
// verdict comes from a fast test and whose growth of the table is the one
// trial division by the table's primes would make.

#include <NTL/ZZ.h>
#include <cstdint>

// Appends the next prime to the table: np grows by 1 and Nprem[np] holds the
// smallest prime above Nprem[np - 1]. Returns 1.
int Suiv();

// Tests S (S >= 0): returns 1 if S is prime, else 0, and grows the table
// exactly as trial division by its primes up to the integer square root of
// S would (never past rank rang_fichier).
int prem();

// prem for S = V, without a big integer.
int prem64(std::uint64_t v);
