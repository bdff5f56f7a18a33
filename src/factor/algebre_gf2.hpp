#pragma once
// Dependencies among the rows of a sparse matrix over GF(2): sets of rows
// whose sum is zero. Knows no program-wide variable.

#include <cstdint>
#include <vector>

// Rows stored one after the other: row r holds the columns
// colonnes[debut[r]] to colonnes[debut[r + 1] - 1], each once.
struct MatriceCreuse {
    std::vector<std::uint32_t> debut{0};
    std::vector<std::uint32_t> colonnes;
    std::uint32_t largeur = 0; // every column index is below it

    std::uint32_t lignes() const { return static_cast<std::uint32_t>(debut.size() - 1); }
    void fermer_ligne() { debut.push_back(static_cast<std::uint32_t>(colonnes.size())); }
};

// Up to MAXIMUM independent dependencies, each the increasing indices of its
// rows. Rows with a column no other row has are dropped first, and so are
// rows beyond the columns left by more than a margin.
// None when the library of the elimination cannot be loaded; std::bad_alloc
// when the elimination would not fit in memory.
std::vector<std::vector<std::uint32_t>> dependances(const MatriceCreuse& m, int maximum = 64);

// The memory the elimination takes for a matrix of LIGNES rows and COLONNES
// columns in use.
std::uint64_t octets_elimination(std::uint64_t lignes, std::uint64_t colonnes);

// Loads that library now, ahead of a child process that will need it.
void preparer_algebre();
