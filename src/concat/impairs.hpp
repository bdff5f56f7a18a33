#pragma once
// Primality of the pieces of the range search without the prime table: one
// bit for each odd value below a bound, sieved over the cores once per
// search; values from the bound up are tested one by one. Read-only once
// filled, so every part of the search shares it.

#include "base/equipe.hpp"
#include "base/progression.hpp"

#include <bit>
#include <cstdint>
#include <cstring>
#include <vector>

static_assert(std::endian::native == std::endian::little); // quatre reads bytes of the words

class Impairs {
  public:
    // Room for the values below BORNE (rounded up to a multiple of 128), all
    // marked composite: BORNE / 16 bytes. May throw std::bad_alloc.
    explicit Impairs(std::uint64_t borne);

    // Marks the primes, the parts of EQUIPE sieving one slice each; part 0
    // shows its progress on TACHE.
    void remplir(Equipe& equipe, Tache& tache);

    std::uint64_t borne() const { return borne_; }

    // Primality of any value: from the bits below the bound, tested above.
    bool premier(std::uint64_t v) const {
        if (v < borne_) {
            return v == 2 || ((v & 1) != 0 && (mots_[v >> 7] >> (v >> 1 & 63) & 1) != 0);
        }
        return premier_au_dela(v);
    }

    // Primality of 10R + 1, 10R + 3, 10R + 7 and 10R + 9 as bits 0, 1, 3 and
    // 4 (bit (d - 1) / 2 for the last digit d), all four below the bound.
    unsigned quatre(std::uint64_t r) const {
        std::uint64_t bit = 5 * r; // 10R + 1 is odd value number 5R
        std::uint16_t deux = 0;
        std::memcpy(&deux, reinterpret_cast<const unsigned char*>(mots_.data()) + (bit >> 3),
                    sizeof deux);
        return static_cast<unsigned>(deux >> (bit & 7)) & 0x1Bu;
    }

    // Test of a value at or above the bound: no factor up to 23, then the
    // deterministic test.
    static bool premier_au_dela(std::uint64_t v);

  private:
    std::uint64_t borne_;
    std::vector<std::uint64_t>
        mots_; // bit (v >> 1) & 63 of word v >> 7: odd value v; one more word
};
