#pragma once

#include <NTL/ZZ.h>
#include <cstdint>
// The prime table's growth and the two primality tests that use it.

// Appends the next prime to the table: np grows by 1 and Nprem[np] holds the
// prime of that rank. Ranks up to rang_fichier come from liste.txt while it
// holds sound values; every other rank is computed as the smallest prime above
// Nprem[np]. Reads and writes np, Nprem, i and monFlux. Returns 1.
int Suiv();

// Tests S (S >= 0): returns 1 if S is prime, else 0, and grows the table
// through Suiv exactly as trial division by its primes up to the integer
// square root of S would (never past rank rang_fichier). Sets i.
int prem();

// prem for S = V, without a big integer.
int prem64(std::uint64_t v);

// The same test on the 64-bit S3 (3 <= S3), its bound rS1 the double-precision
// square root: sets rS1 and i.
int prem1();

// Baillie-PSW: true when N (above 2^64) is a probable prime. No table, no
// program-wide value.
bool bpsw(const NTL::ZZ& n);
