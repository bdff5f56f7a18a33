#pragma once

#include <cstdint>
// The prime table's growth and the two primality tests that use it.

// Appends the next prime to the table: np grows by 1 and Nprem[np] holds the
// prime of that rank. Ranks up to rang_fichier come from liste.txt while it
// holds sound values; every other rank is computed as the smallest prime above
// Nprem[np]. Reads and writes np, Nprem, i and monFlux. Returns 1.
int Suiv();

// Tests S (S >= 0) by trial division with the table primes up to its integer
// square root. Sets k, reste, rS and i, except for S = 0, 1, 2; may grow the
// table through Suiv. Returns 1 if S is prime, else 0.
int prem();

// prem for S = V, without a big integer.
int prem64(std::uint64_t v);

// The same test on the 64-bit S3 (3 <= S3): sets k, reste1, rS1 and i.
int prem1();
