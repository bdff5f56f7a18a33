#pragma once
// Entries of the listings with ranks: "   [ rank : prime ] ", one after the
// other on one line, a block of 100 ranks opening before ranks 1, 101, 201...

#include <cstdint>

// The entry of rank R (0 <= R <= np).
void entree_rang(std::int64_t r);

// The entries of ranks DE to A (1 <= DE, A <= np), each rank t with
// (t - 1) mod 100 = 0 preceded by the block separator. Nothing when A < DE.
void entrees_rangs(std::int64_t de, std::int64_t a);
