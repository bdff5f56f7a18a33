#pragma once
// primecount's two calls, pi(x) and the n-th prime, under the one lock that
// its process-wide setting of threads and a fork both need (see
// comptage.cpp). Any thread may call them.

#include <cstdint>

// The number of primes <= X (0 for X < 2), on every core when that is safe.
// -1 when the library fails (no memory).
std::int64_t pi(std::int64_t x);

// The prime of rank N >= 1, on the same terms as pi.
std::int64_t nieme_premier(std::int64_t n);
