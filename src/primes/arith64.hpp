#pragma once
// Arithmetic of machine words: primality, smallest factor and square root of
// a 64-bit value, without the prime table.

#include <cstdint>

// Deterministic primality of a 64-bit value: a bit table for the small
// values once many have been asked, else premier_direct or FLINT's test.
bool premier64(std::uint64_t v);
// The same by trial division and strong probable-prime tests to bases with
// no pseudoprime below 2^64: no table, nothing to set up.
bool premier_direct(std::uint64_t v);
// Smallest prime factor of V >= 2.
std::uint64_t plus_petit_facteur(std::uint64_t v);
// Integer square root (floor) of V.
std::uint64_t isqrt64(std::uint64_t v);
// True when R * R > V (also when the product passes 2^64).
bool carre_depasse(std::uint64_t r, std::uint64_t v);
