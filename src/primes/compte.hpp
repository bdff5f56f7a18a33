#pragma once
// Counting primes without seeing each one: pi(x) by the combinatorial
// algorithms of primecount (base/comptage), and the count of a range by
// whichever of pi or the sieve a cost model measured on this machine says is
// cheaper. Neither reads nor grows the prime table.

#include "base/comptage.hpp"

#include <cstdint>

// Estimated seconds of pi(X).
double duree_pi(std::int64_t x);

// True when pi(FIN) - pi(DEBUT - 1) is expected to cost less than sieving
// [DEBUT, FIN] (1 <= DEBUT <= FIN).
bool compte_par_pi(std::int64_t debut, std::int64_t fin);

// The number of primes in [DEBUT, FIN] (1 <= DEBUT <= FIN), by the cheaper
// way. A long count runs where Ctrl-C can abandon it, with the progress
// line; pi(B) with Ctrl-C is nombre_premiers(1, B).
std::int64_t nombre_premiers(std::int64_t debut, std::int64_t fin);
