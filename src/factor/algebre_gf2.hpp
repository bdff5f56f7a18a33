#pragma once
// Dependencies among the rows of a sparse matrix over GF(2): sets of rows
// whose sum is zero. Knows no program-wide variable.

#include "factor/matrice_gf2.hpp"

#include <cstdint>
#include <vector>

// Up to MAXIMUM (at most 64) independent dependencies, each the increasing
// indices of its rows, each checked to sum to zero. Rows with a column no
// other row has are dropped first, and so are rows beyond the columns left
// by more than a margin. std::bad_alloc, before any work, when the
// elimination would not fit in memory. The work runs on PARTS cores, or
// when 0 on as many as pays for the matrix's size and fit in memory.
std::vector<std::vector<std::uint32_t>> dependances(const MatriceCreuse& m, int maximum = 64,
                                                    int parts = 0);

// The memory the elimination takes for a matrix of LIGNES rows and COLONNES
// columns in use, with rows of the sieve's weight: the matrix once filtered
// and a few vectors of 64-bit words.
std::uint64_t octets_elimination(std::uint64_t lignes, std::uint64_t colonnes);

// --- Tuning ---

// Rows kept beyond the columns: with 64, block Lanczos found 63
// dependencies on average (100 runs of 100 to 2,000 columns); with 96, the
// 64 it can give in every run of the bench.
constexpr std::uint32_t MARGE_LIGNES = 96;
// Up to this many columns a dense elimination in bits answers as fast as
// block Lanczos (2 to 4 ms for 500 columns), which needs N well above 64 and
// breaks down more often on small matrices.
constexpr std::uint32_t COLONNES_DENSES = 500;
// From this many rows the products by the matrix, the scalar products and
// the updates of the blocks run on every core: on two (machine loaded, one
// run), 2.8 s instead of 3.1 s for 50,000 columns, 10.2 s instead of 19.9 s
// for 100,000, 22.6 s instead of 44.0 s for 150,000; for 5,000 and 20,000
// the gain was lost in the noise.
constexpr std::uint32_t LIGNES_EQUIPE = 30000;
// Random starts of block Lanczos before giving up: it broke down in 2 runs
// of 100 on 200 columns, in none of 100 on 100 or 400 columns.
constexpr int ESSAIS_LANCZOS = 6;
// The columns a row of the sieve holds at most on average, for the memory
// foreseen before the sieve starts (some 20 are seen at 60 to 90 digits).
constexpr std::uint64_t POIDS_LIGNE = 40;
