#pragma once
// The range search by shared prefixes. Counting the splits of a digit string
// from the left, the count for its first k digits is the sum of the counts
// for its first j digits over every j < k whose piece from digit j + 1 to k
// is prime (the count for no digit being 1). Consecutive numbers share their
// first digits, so each prefix's counts are worked out once for all the
// numbers that begin with it, and the ten numbers 10Q + d of a prefix Q cost
// only the pieces that end at their last digit: four values a bit apart in
// the table for d = 1, 3, 7, 9, while a piece ending in 2 or 5 is prime only
// as the digit alone after zeros, and one ending in 0, 4, 6 or 8 never.
//
// No program-wide variable, no table of primes: one Balayage per part of the
// search, each on its own thread.

#include "concat/impairs.hpp"

#include <cstdint>
#include <functional>
#include <primesieve/iterator.hpp>
#include <string>

// What a stretch of the range yields.
struct Tranche {
    std::uint64_t nombre = 0; // qualifying numbers
    std::string texte;        // full list: "N[count]  " for each, in increasing order
};

class Balayage {
  public:
    // PREMIERS: primes only, qualifying with two splits (one split
    // otherwise); LISTE: every count exact, for the full list (otherwise a
    // number's counts stop as soon as it qualifies). CRIBLE: the primality of
    // numbers at or above the table's bound and below CRIBLE comes from a sieve
    // running up the range towards FIN, rather than from one test each.
    Balayage(const Impairs& table, bool premiers, bool liste, std::uint64_t crible,
             std::uint64_t fin);

    // Every N of [LO, HI] (1 <= LO <= HI < 2^63) into T, in increasing order.
    // The stretches a Balayage is given must rise. Every few hundred prefixes
    // VEILLE(numbers passed in this call) is called: false ends the work at
    // once, T then incomplete, and parcourir returns false.
    bool parcourir(std::uint64_t lo, std::uint64_t hi, Tranche& t,
                   const std::function<bool(std::uint64_t)>& veille);

  private:
    static constexpr int MAX = 20; // digits of a number below 2^63, and one more

    void placer(int chiffres, std::uint64_t q);
    void avancer();
    void completer();
    std::uint64_t compte_prefixe(int k) const;
    unsigned quatre_valeurs(std::uint64_t r, unsigned voies) const;
    unsigned quatre(int j, unsigned voies) const;
    unsigned quatre_N(unsigned voies);
    std::uint64_t apres_zeros() const;
    unsigned en_plusieurs(unsigned voies);
    void bloc_nombres(unsigned voies, int deux_cinq, Tranche& t);
    void bloc_liste(unsigned voies, int dmin, int dmax, Tranche& t);
    void ecrire(int d, std::uint64_t compte, Tranche& t) const;

    const Impairs& table_;
    bool premiers_, liste_;
    std::uint64_t limite_r_;   // R below it: 10R + 9 lies in the table
    std::uint64_t fin_crible_; // where the sieve stops
    std::uint64_t q_crible_;   // Q below it (and not below limite_r_): the sieve gives 10Q + d
    // The sieve of the numbers starts again at a block this far ahead of it
    // (past the stretches of other parts) rather than running through the
    // gap: about what its start costs, which grows with the root of FIN.
    std::uint64_t saut_;

    // The prefix Q: the numbers of the block are 10Q + d, n digits each.
    int n_ = 0;
    std::uint64_t q_ = 0;
    std::uint64_t dix_[MAX] = {};    // 10^i
    int chiffre_[MAX] = {};          // digits of Q, the leading one at 1
    char texte_[MAX] = {};           // the same as text, from 0
    std::uint64_t valeur_[MAX] = {}; // value of the first k digits of Q
    std::uint64_t compte_[MAX] = {}; // splits of the first k digits of Q
    int valide_ = 0;                 // values and counts hold up to this k
    int zeros_ = 0;                  // trailing zeros of Q

    // The sieve of the numbers themselves, the first prime it has not given
    // yet, and the primes of the last block it gave.
    primesieve::iterator crible_it_;
    std::uint64_t prochain_ = 0;
    std::uint64_t base_crible_ = 0;
    unsigned masque_crible_ = 0;
};
