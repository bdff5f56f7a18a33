#pragma once
// Block Lanczos over GF(2) with blocks of 64 bits (Montgomery, 1995): up to
// 64 dependencies among the rows of a large sparse matrix, in the time of
// some N / 63 products by the matrix and its transpose, and in the memory of
// the matrix and a few vectors of N words.

#include "factor/matrice_gf2.hpp"

#include <cstdint>
#include <vector>

// Dependencies among the rows of M found from a random start drawn from
// GRAINE: bit k of mots[r] says whether row r is in dependency k, for k
// below nombre. They are independent, but not yet checked. None when the
// iteration breaks down (rare on a matrix of hundreds of columns or more):
// another GRAINE then gives another start. The products by the matrix run
// on PARTS parts of an Equipe (0: one a core), which throws Interruption on
// Ctrl-C.
struct NoyauLanczos {
    std::vector<std::uint64_t> mots;
    int nombre = 0;
};
NoyauLanczos lanczos(const MatriceCreuse& m, std::uint64_t graine, int parts = 1);

// The bytes lanczos() takes beyond M for a matrix of LIGNES rows and
// COLONNES columns on PARTS parts: its vectors of 64-bit words.
std::uint64_t octets_lanczos(std::uint64_t lignes, std::uint64_t colonnes, int parts);
