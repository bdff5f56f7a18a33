#pragma once
// The primes in order after a value, written into the prime table straight
// from the sieve's buffer rather than one call at a time.

#include "state/table.hpp"

#include <algorithm>
#include <cstdint>
#include <primesieve.hpp>

class Crible {
  public:
    // The primes after APRES; BORNE: at or above the last one wanted.
    void partir_de(std::uint64_t apres, std::uint64_t borne) {
        it_.jump_to(apres + 1, borne);
        k_ = it_.size_; // nothing left in the buffer
        dernier_ = apres;
    }
    // Entries of ranks DE to A, in room already made: the next primes.
    void placer(std::int64_t de, std::int64_t a) {
        auto r = static_cast<std::size_t>(de);
        while (r <= static_cast<std::size_t>(a)) {
            if (k_ >= it_.size_) {
                it_.generate_next_primes();
                k_ = 0;
            }
            std::size_t n = std::min(it_.size_ - k_, static_cast<std::size_t>(a) - r + 1);
            Nprem.placer(r, it_.primes_ + k_, n);
            r += n;
            k_ += n;
        }
        dernier_ = it_.primes_[k_ - 1];
    }
    // The last prime handed out.
    std::uint64_t dernier() const { return dernier_; }

  private:
    primesieve::iterator it_;
    std::size_t k_ = 0;
    std::uint64_t dernier_ = 0;
};
