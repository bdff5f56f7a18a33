#pragma once
// The literal routines the fast ones replace, kept to compare them with.

#include <cstdint>
#include <string>
#include <vector>

// The number prem1 and prem1_literal test (3 <= S3).
extern std::int64_t S3;

// Tests S3: returns 1 if it is prime, else 0, and grows the table as trial
// division by its primes up to the double-precision square root of S3
// would.
int prem1();

// Trial division of S by the table primes (same contract as prem).
int prem_literal();
// Trial division of S3 by the table primes (same contract as prem1).
int prem1_literal();
// Menu [1] by trial division of N by the table primes (same dialogue as decomp).
int decomp_literal();
// The range search of Nconcat number by number, every N of [DEBUT, FIN]
// (primes only under CHOIX 3) with all its pieces tested by prem64, the walk
// stopped at the threshold when SEUL: the list it prints, "|", the total.
std::string Nconcat_literal(std::uint64_t debut, std::uint64_t fin, int choix, int seul);
// The rank over GF(2) of the rows of a sparse matrix (each the list of its
// columns, below LARGEUR), by a dense Gaussian elimination in bits.
std::size_t rang_literal(const std::vector<std::vector<std::uint32_t>>& lignes,
                         std::uint32_t largeur);
