#pragma once
// Factorisation by the PARI library, kept apart so that its macros meet no
// other header. Numbers cross in limbs, least significant first.

#include <string>
#include <vector>

struct FacteurPari {
    std::vector<unsigned long> limbes;
    std::string decimal;
    long exposant = 0;
};

// Starts the library, if not done yet. A child process forked afterwards
// finds it ready.
void preparer_pari();

// Factors the positive integer of N limbs at LIMBES into primes, each proved
// prime, in increasing order; DECIMAL_N receives its decimal text. False, and
// nothing filled in, when the library fails (out of memory, for instance).
bool factoriser_pari(const unsigned long* limbes, long n, std::string& decimal_n,
                     std::vector<FacteurPari>& facteurs);
