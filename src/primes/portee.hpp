#pragma once
// How far trial division with the prime table reaches, worked out without
// dividing: every routine that answers from a fast test or a library grows
// the table here, by one call, exactly as far as the literal trial division
// by the table's primes would have grown it.
//
// These automatic growths stop at rank rang_fichier (the end of liste.txt):
// the table never grows past it on its own; the listing with ranks alone
// takes it further. Each routine works out the rank the table must reach
// without the table (the number of primes up to a bound) and hands it over
// to the filling (remplissage), which goes on in the background.

#include <NTL/ZZ.h>
#include <cstdint>

// Grows the table until its last prime is above BORNE: the reach of the test
// of a prime whose trial divisors stop at the first prime above BORNE.
void grandir_au_dessus(std::int64_t borne);
// Grows the table until its last prime is at least Q: the reach of the test
// of a composite whose smallest prime factor is Q.
void grandir_jusqu_a(std::int64_t q);

// The listing with ranks, which takes the table past the end of liste.txt
// too: up to rank R, or up to the first prime above V.
void grandir_au_rang(std::int64_t r);
void grandir_au_dela(std::int64_t v);

// The test of V >= 3, found prime or not (PREMIER), whose trial divisors
// stop at the first prime above isqrt(V) (prem on a value below 2^64).
void portee_test(std::uint64_t v, bool premier);
// The test of N >= 2^64, found prime or not: a prime takes the table to the
// end of liste.txt (its square root is beyond every prime of the file), a
// composite to its smallest prime factor.
void portee_test_grand(const NTL::ZZ& n, bool premier);

// The walk of menu [3] testing every odd value of [DEBUT, FIN] (DEBUT odd,
// at least 5) by trial division, its bound the double-precision root.
void portee_intervalle(std::int64_t debut, std::int64_t fin);

// The factorisation of N >= 2 by trial division, whose largest prime factor
// is DERNIER with exponent EXPOSANT, and whose factor before it is PRECEDENT
// (1 when there is none).
void portee_decomposition(const NTL::ZZ& dernier, long exposant, const NTL::ZZ& precedent);

// The tests with prem64 of every value of [DEBUT, FIN] (1 <= DEBUT <= FIN),
// and of any number of values below the largest prime among them.
void portee_valeurs(std::uint64_t debut, std::uint64_t fin);
