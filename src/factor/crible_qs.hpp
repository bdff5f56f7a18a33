#pragma once
// The self-initialising quadratic sieve: a factor of a large odd composite
// without small factors. Knows no program-wide variable and prints nothing.
//
// The relations (Y^2 = a Q(x) mod N, a Q(x) smooth over the factor base but
// for at most one or two large primes) are searched on every part of an
// Equipe, each part with its own polynomials and sieve; the partial ones
// count by the cycles of the graph of their large primes, each cycle's
// relations multiplied into one whose large primes are squares. A
// dependency among them, found over GF(2), gives X^2 = Z^2 mod N and the
// factor gcd(X - Z, N).

#include <functional>
#include <gmp.h>

// One row of the sieve's parameter table (see factor/qs/qs.hpp).
struct ParametresCrible {
    double chiffres;
    double premiers; // size of the factor base
    double blocs;    // blocks of the sieve interval
    double multiple; // large prime bound, in largest primes of the base
    double marge;    // bits of the threshold left to the unsieved primes
    double doubles;  // two large primes below the bound to this power; 0: one at most
};

struct OptionsCrible {
    int parts = 0; // threads of the relation search; 0: one per core
    // Called now and then on the calling thread: relations found, needed.
    std::function<void(long trouvees, long requises)> avancement;
    bool verifier = false; // each relation checked against its congruence
    // In place of the table's row for N's size (a row measured), if given.
    const ParametresCrible* parametres = nullptr;
};

struct BilanCrible {
    long premiers = 0;    // size of the factor base
    long relations = 0;   // full relations, and combined ones
    long partielles = 0;  // relations with one or two large primes
    long doubles = 0;     // of them, relations with two
    long cycles = 0;      // relations combined from partial ones
    long polynomes = 0;   // polynomials sieved
    long verifiees = 0;   // relations checked (OptionsCrible::verifier)
    long fausses = 0;     // checked relations whose congruence fails
    long cycles_faux = 0; // combined relations whose congruence fails (left out)
    long dependances = 0; // dependencies tried for the factor
    double secondes_crible = 0;
    double secondes_algebre = 0;
};

// A non-trivial factor of N into FACTEUR. N: odd, composite, not a perfect
// power, of 20 digits at least. False when none was found; std::bad_alloc
// when the memory runs out, at once when the matrix could not fit.
bool crible_quadratique(mpz_t facteur, const mpz_t n, const OptionsCrible& options = {},
                        BilanCrible* bilan = nullptr);
