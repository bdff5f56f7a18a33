#pragma once
// The primes above a value up to a bound, in order, written into a prime
// table straight from the sieve's buffer rather than one call at a time.

#include "base/tablepremiers.hpp"

#include <algorithm>
#include <cstdint>
#include <primesieve.hpp>

class Crible {
  public:
    // The primes above APRES up to BORNE.
    void partir_de(std::uint64_t apres, std::uint64_t borne) {
        it_.jump_to(apres + 1, borne);
        k_ = it_.size_; // nothing left in its buffer
        borne_ = borne;
        dernier_ = apres;
    }
    // The same bound further on.
    void prolonger(std::uint64_t borne) { borne_ = borne; }

    // Writes the next primes, at most N of them, into T from rank R, in
    // room already made; returns the rank after the last one written. FINI:
    // none is left up to the bound.
    std::int64_t placer(TablePremiers& t, std::int64_t r, std::int64_t n, bool& fini) {
        const std::int64_t fin = r + n;
        fini = false;
        while (r < fin && !fini) {
            if (k_ == it_.size_) {
                it_.generate_next_primes();
                k_ = 0;
            }
            const std::uint64_t* p = it_.primes_ + k_;
            auto m = std::min(it_.size_ - k_, static_cast<std::size_t>(fin - r));
            if (p[m - 1] >= borne_) {
                m = static_cast<std::size_t>(std::upper_bound(p, p + m, borne_) - p);
                fini = true;
            }
            t.placer(static_cast<std::size_t>(r), p, m);
            r += static_cast<std::int64_t>(m);
            k_ += m;
            dernier_ = m > 0 ? p[m - 1] : dernier_;
        }
        return r;
    }

    // The last prime written.
    std::uint64_t dernier() const { return dernier_; }

  private:
    primesieve::iterator it_;
    std::size_t k_ = 0;
    std::uint64_t borne_ = 0;
    std::uint64_t dernier_ = 0;
};
