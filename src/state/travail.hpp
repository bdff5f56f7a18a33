#pragma once
// Work values shared by several features; each feature sets them before use.

#include <NTL/ZZ.h>
#include <cstdint>
#include <vector>

using NTL::ZZ;

extern ZZ S;         // number tested by prem; cofactor of decomp; piece of the concatenations
extern ZZ S1;        // decomp: copy of N for the result line
extern ZZ S2;        // constructed at start-up with the other work values; no routine needs it now
extern ZZ P1, P2;    // concatenations: work values
extern ZZ rS;        // integer square root of S (prem, decomp)
extern ZZ reste;     // last remainder of S (prem, decomp)
extern ZZ debu, fin; // bounds of the concatenation range search
extern std::int64_t S3;                 // number tested by prem1
extern std::int64_t rS1;                // bound of prem1
extern std::int64_t reste1;             // last remainder of prem1
extern std::int64_t k;                  // rank of the last trial divisor (prem, prem1, decomp)
extern std::int32_t recalc;             // repeat flag of decomp and concatN; 1 at start
extern std::int32_t compter;            // count-only flag of liste and Nconcat
extern std::int64_t w1;                 // counter: primes of liste, splits of the concatenations
extern std::int32_t A;                  // receives every routine's return value; never read
extern std::vector<std::int64_t> Nfact; // decomp: factors, 1-based; -1 for one above 2^63 - 1
extern std::vector<std::int64_t> Nexpo; // decomp: exponents, parallel to Nfact
