// The rank of a matrix over GF(2) by Gaussian elimination on its rows held
// in bits: the kernel's dimension, rows less rank, is what the dependencies
// found are measured against.

#include "reference.hpp"

std::size_t rang_literal(const std::vector<std::vector<std::uint32_t>>& lignes,
                         std::uint32_t largeur) {
    const std::size_t mots = (largeur + 63) / 64;
    std::vector<std::vector<std::uint64_t>> a(lignes.size(), std::vector<std::uint64_t>(mots, 0));
    for (std::size_t r = 0; r < lignes.size(); ++r) {
        for (std::uint32_t c : lignes[r]) {
            a[r][c / 64] ^= std::uint64_t{1} << (c % 64);
        }
    }
    std::size_t rang = 0;
    for (std::uint32_t c = 0; c < largeur && rang < a.size(); ++c) {
        std::size_t p = rang;
        while (p < a.size() && ((a[p][c / 64] >> (c % 64)) & 1) == 0) {
            ++p;
        }
        if (p == a.size()) {
            continue;
        }
        std::swap(a[p], a[rang]);
        for (std::size_t r = rang + 1; r < a.size(); ++r) {
            if ((a[r][c / 64] >> (c % 64)) & 1) {
                for (std::size_t w = c / 64; w < mots; ++w) {
                    a[r][w] ^= a[rang][w];
                }
            }
        }
        ++rang;
    }
    return rang;
}
