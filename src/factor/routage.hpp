#pragma once
// Which method splits which number, all in one place. The route of N at
// [1], the cut-offs being those of reglages.hpp:
// - from BITS_FORMES bits, N of an algebraic form (a^n +- b^n) / c is cut
//   into its algebraic pieces, each factored on its own (moteur.cpp);
// - a probable prime goes to its proof; otherwise PARI divides out the
//   primes below 2^20 and the powers, and tries Pollard's rho (pari.cpp);
// - a composite left below BITS_CRIBLE bits goes to PARI's factorisation;
// - up to BITS_CRIBLE_MAX bits, ECM on every core for PART_ECM of the time
//   our quadratic sieve would take, then the sieve;
// - above, ECM with ever larger bounds, until it finds a factor.
// Every factor found goes round again, until all are prime.

#include "factor/pari.hpp"

#include <vector>

enum class Voie {
    Bibliotheque, // PARI's own factorisation
    EcmPuisCrible,
    Ecm, // with no end
};

// The route of a composite of BITS bits without small factors.
Voie voie(long bits);

// Splits composites by the route of their size, the progress shown by the
// parent when this runs in a child process (see hors_processus). Keeps how
// far ECM went on each number it split, so that a composite cofactor goes
// on from there.
class Routage {
  public:
    // A factor of COMPOSITE (odd, composite, not a perfect power, of
    // BITS_CRIBLE bits at least), in limbs, into FACTEUR. aucun when none
    // was found (GMP-ECM or the sieve failed, or Ctrl-C was pressed: the
    // flag interruption_demandee then tells), memoire when memory ran out.
    // Throws nothing.
    IssueScission scinder(const std::vector<unsigned long>& composite,
                          std::vector<unsigned long>& facteur);

  private:
    struct Fait {
        std::vector<unsigned long> nombre;
        int palier; // ECM's rung reached on a number of which it is a factor
    };
    int palier_atteint(const std::vector<unsigned long>& nombre) const;
    void retenir(std::vector<unsigned long> nombre, int palier);

    std::vector<Fait> faits_;
};
