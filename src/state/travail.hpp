#pragma once
// Values that more than one routine of the menu reads or writes: the number
// under test or being factored, the counters of a listing, the repeat and
// count-only answers. Whoever uses one sets it first.

#include <NTL/ZZ.h>
#include <cstdint>
#include <vector>

using NTL::ZZ;

extern ZZ S;           // number tested by prem; cofactor of decomp; piece of the concatenations
extern std::int64_t k; // decomp: rank of the trial divisor; prem leaves it alone
extern std::int32_t recalc;             // repeat flag of decomp and concatN; 1 at start
extern std::int32_t compter;            // count-only flag of liste and Nconcat
extern std::int64_t w1;                 // counter: primes of liste, splits of the concatenations
extern std::int32_t A;                  // receives every routine's return value; never read
extern std::vector<std::int64_t> Nfact; // decomp: factors, 1-based; -1 for one above 2^63 - 1
extern std::vector<std::int64_t> Nexpo; // decomp: exponents, parallel to Nfact
