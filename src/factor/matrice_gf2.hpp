#pragma once
// A sparse matrix over GF(2), as the quadratic sieve's relations make it
// and its linear algebra reads it. Knows no program-wide variable.

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
