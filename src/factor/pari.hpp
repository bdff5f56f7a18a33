#pragma once
// Factorisation by the PARI library, kept apart so that its macros meet no
// other header. Numbers cross in limbs, least significant first.

#include <functional>
#include <string>
#include <vector>

struct FacteurPari {
    std::vector<unsigned long> limbes;
    std::string decimal;
    long exposant = 0;
};

// Starts the library, if not done yet; std::bad_alloc when its stack does
// not fit. A child process forked afterwards finds it ready.
void preparer_pari();

// What a split gave: a factor, none, or none for want of memory.
enum class IssueScission { facteur, aucun, memoire };

// A non-trivial factor of a composite (odd, without small factors, not a
// perfect power) into FACTEUR. Must not throw.
using Scission = std::function<IssueScission(const std::vector<unsigned long>& composite,
                                             std::vector<unsigned long>& facteur)>;

// Factors the positive integer of N limbs at LIMBES into primes, each proved
// prime, in increasing order; DECIMAL_N receives its decimal text. False, and
// nothing filled in, when the library fails or when SCINDER failed while
// Ctrl-C was pressed (interruption_demandee set); std::bad_alloc when the
// memory runs out (the library's, or SCINDER's). PARI starts threads of its
// own only when fils_de_bibliotheque_permis().
// With SCINDER, a number of BITS_SCISSION bits or more is first rid of its
// small factors by the library (trial division, rho); the composites left go
// to the library's factorisation or to SCINDER, by the route of their size
// (routage.hpp).
bool factoriser_pari(const unsigned long* limbes, long n, std::string& decimal_n,
                     std::vector<FacteurPari>& facteurs, const Scission& scinder = {},
                     long bits_scission = 0);
