#pragma once
// Where the factors of N come from: the algebraic pieces of N when it has
// such a form, each factored by the route of routage.hpp (PARI, GMP-ECM,
// our quadratic sieve); FLINT should PARI fail. Every factor is proved prime. The decimal texts are
// made here too, so that a child process can do all the long work on a huge N (see hors_processus)
// and hand back bytes that need no more conversion.

#include <NTL/ZZ.h>
#include <string>
#include <vector>

struct FacteurPremier {
    NTL::ZZ valeur;
    std::string decimal;
    long exposant = 0;
};

struct Decomposition {
    std::string decimal_n;                // N in decimal
    std::vector<FacteurPremier> facteurs; // increasing primes
};

// The factorisation of N >= 1 (none for N = 1). Throws Interruption when
// Ctrl-C was pressed while it ran in the program itself.
Decomposition decomposer(const NTL::ZZ& n);
// The same by FLINT alone.
Decomposition decomposer_flint(const NTL::ZZ& n);

// The decomposition as bytes, and back.
std::string en_octets(const Decomposition& d);
Decomposition depuis_octets(const std::string& octets);
