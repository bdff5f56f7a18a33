#pragma once
// How far trial division with the prime table reaches, worked out without
// dividing: the fast tests give the literal routines' answers, and grow the
// table exactly as far as the literal trial division would have grown it.
//
// The primality tests and the factorisation grow the table by themselves at
// most to rank rang_fichier (the end of liste.txt), never past it.

#include <cstdint>

// Grows the table until its last prime is above BORNE, or the limit is reached.
void grandir_au_dessus(std::int64_t borne);
// Grows the table until its last prime is at least Q, or the limit is reached.
void grandir_jusqu_a(std::int64_t q);

// Deterministic primality of a 64-bit value.
bool premier64(std::uint64_t v);
// Smallest prime factor of V >= 2.
std::uint64_t plus_petit_facteur(std::uint64_t v);
