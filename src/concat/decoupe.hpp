#pragma once
// The pieces of a number's digits that are prime, and the walk over every
// way of cutting the digits into such pieces, shortest first piece first:
// concatN lists the cuts of one number, Nconcat counts them for numbers too
// long for its faster search.

#include "base/progression.hpp"
#include "state/travail.hpp"

#include <NTL/ZZ.h>
#include <cstdint>
#include <vector>

using NTL::ZZ;

extern std::int32_t choix0; // choice of the concatenation menu, 0 to 3; Nconcat serves 2 and 3

// Number of decimal digits of N (N >= 1).
std::int32_t nombre_chiffres(const ZZ& N);

// Working storage for numbers of up to a given number of digits. Every array
// has two entries more than that and is indexed from 1. The length table is
// kept compact: row after row, each row holding only the lengths of the prime
// pieces that begin at its start position, then a 0; so its size follows the
// number of prime pieces, not the square of the number of digits.
class Decoupe {
  public:
    // Storage for numbers of up to M digits, allocated once here.
    explicit Decoupe(std::int32_t m);

    // Digits of N (at most M of them) and the table of its prime pieces: every
    // piece is tested with prem through S, unless no prefix of N is prime, in
    // which case only the prefixes are.
    void analyser(const ZZ& N);
    // The same for N >= 1 given as a machine integer.
    void analyser(std::uint64_t N);

    // The walk over every split of the digits analysed, in increasing order of
    // the sequence of piece lengths. Sets w1 to 0, then for each complete split
    // adds 1 to w1 and calls RAPPORT(*this), which returns true to end the walk.
    template <class Rapport> void parcourir(Rapport&& rapport);

    // The split found, while RAPPORT runs: its number of pieces, and the start
    // position and the length of piece NIVEAU (1 = leftmost).
    std::int32_t pieces() const { return k1; }
    std::int32_t debut(std::int32_t niveau) const { return Ndebut[at(Nrangee[at(niveau)])]; }
    std::int32_t longueur(std::int32_t niveau) const { return Nlong[at(Nplace[at(niveau)])]; }
    // Digit at position T (1 = leading digit), and the number of digits.
    std::int32_t chiffre(std::int32_t t) const { return Nchiffre[at(t)]; }
    std::int32_t chiffres() const { return n; }

  private:
    static std::size_t at(std::int32_t r) { return static_cast<std::size_t>(r); }
    void extraire(const ZZ& N);
    void extraire(std::uint64_t N);
    void construire();
    void essayer_debut(std::int32_t t, Tache& tache);
    std::int32_t suivante(std::int32_t niveau) const { return Nlong[at(Nplace[at(niveau)]) + 1]; }
    void empiler(std::int32_t rangee);
    void reculer();

    std::int32_t n = 0;                 // digits of the number analysed
    std::int32_t rangees = 0;           // rows of the table
    std::vector<std::int32_t> Nchiffre; // digits, the leading one at 1
    std::vector<std::int32_t> Ndebut;   // start list: start position of each row, then 0
    std::vector<std::int32_t> Nligne;   // index in Nlong of each row's first length
    std::vector<std::int32_t> Nlong;    // lengths of the prime pieces, each row ending in 0
    std::vector<std::int32_t> Nrangee;  // row of the piece at each level
    std::vector<std::int32_t> Nplace;   // index in Nlong of the length at each level
    std::int32_t k1 = 0;                // levels in use
    std::int32_t L = 0;                 // digits covered by the levels in use
};

// Listing form of the walk: prints every split as it is found, each piece with
// its own digits (leading zeros shown), " ( 2 003 ) " for 2003.
void lister(Decoupe& decoupe);

// Counting form: counts the splits in w1, and when SEUIL > 0 stops as soon as
// w1 reaches it. Returns true when it stopped there.
bool denombrer(Decoupe& decoupe, std::int64_t seuil);

template <class Rapport> void Decoupe::parcourir(Rapport&& rapport) {
    w1 = 0;
    k1 = 0;
    L = 0;
    if (Ndebut[1] == 0) {
        return; // no prefix is prime
    }
    empiler(1);
    bool arret = false;
    Tache tache("Recherche des concatenations");
    while (k1 > 0 && !arret) {
        tache.pas(0);
        if (L == n) {
            ++w1;
            arret = rapport(*this);
            L -= longueur(k1);
            --k1;
            reculer();
            continue;
        }
        // The row that begins right after the covered digits, if any: rows
        // starting inside the top piece are passed over.
        std::int32_t r = Nrangee[at(k1)] + 1;
        while (Ndebut[at(r)] != 0 && Ndebut[at(r)] <= L) {
            ++r;
        }
        if (Ndebut[at(r)] == L + 1) {
            empiler(r);
        } else {
            reculer();
        }
    }
}
