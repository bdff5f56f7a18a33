#include "concat/impairs.hpp"

#include "primes/arith64.hpp"

#include <algorithm>
#include <primesieve.hpp>

namespace {

constexpr std::uint64_t VALEURS_MOT = 128; // odd values 2k + 1 of one 64-bit word

} // namespace

Impairs::Impairs(std::uint64_t borne)
    : borne_((borne + VALEURS_MOT - 1) / VALEURS_MOT * VALEURS_MOT),
      mots_(borne_ / VALEURS_MOT + 1) {}

// Each part takes a slice of whole words, so no word is written by two.
void Impairs::remplir(Equipe& equipe, Tache& tache) {
    const auto parts = static_cast<std::uint64_t>(equipe.parts());
    const std::uint64_t mots = borne_ / VALEURS_MOT;
    equipe.executer([&](int part) {
        auto p = static_cast<std::uint64_t>(part);
        std::uint64_t debut = mots * p / parts * VALEURS_MOT;
        std::uint64_t fin = mots * (p + 1) / parts * VALEURS_MOT;
        primesieve::iterator it(std::max<std::uint64_t>(debut, 3), fin);
        std::uint32_t pas = 0;
        for (std::uint64_t q = it.next_prime(); q < fin; q = it.next_prime()) {
            mots_[q >> 7] |= std::uint64_t{1} << (q >> 1 & 63);
            if ((++pas & 0xFFF) == 0) {
                if (part == 0) {
                    tache.pas(0); // the time spent: the range's total does not apply
                } else if (equipe.arret()) {
                    return;
                }
            }
        }
    });
}

bool Impairs::premier_au_dela(std::uint64_t v) {
    constexpr std::uint64_t PETITS[] = {2, 3, 5, 7, 11, 13, 17, 19, 23};
    for (std::uint64_t p : PETITS) {
        if (v % p == 0) {
            return v == p;
        }
    }
    return premier64(v);
}
