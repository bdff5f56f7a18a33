#pragma once
// The self-initialising quadratic sieve: a factor of a large odd composite
// without small factors. Knows no program-wide variable and prints nothing.
//
// The relations (Y^2 = a Q(x) mod N, a Q(x) smooth over the factor base but
// for at most one large prime) are searched on every part of an Equipe, each
// part with its own polynomials and sieve; pairs of relations sharing their
// large prime count as one. A dependency among them, found over GF(2), gives
// X^2 = Z^2 mod N and the factor gcd(X - Z, N).

#include <functional>
#include <gmp.h>

struct OptionsCrible {
    int parts = 0; // threads of the relation search; 0: one per core
    // Called now and then on the calling thread: relations found, needed.
    std::function<void(long trouvees, long requises)> avancement;
    bool verifier = false; // each relation checked against its congruence
};

struct BilanCrible {
    long premiers = 0;    // size of the factor base
    long relations = 0;   // full relations, and pairs of partial ones
    long partielles = 0;  // relations with a large prime
    long polynomes = 0;   // polynomials sieved
    long verifiees = 0;   // relations checked (OptionsCrible::verifier)
    long fausses = 0;     // checked relations whose congruence fails
    long dependances = 0; // dependencies tried for the factor
    double secondes_crible = 0;
    double secondes_algebre = 0;
};

// A non-trivial factor of N into FACTEUR. N: odd, composite, not a perfect
// power, of 20 digits at least. False when none was found; std::bad_alloc
// when the memory runs out, at once when the matrix could not fit.
bool crible_quadratique(mpz_t facteur, const mpz_t n, const OptionsCrible& options = {},
                        BilanCrible* bilan = nullptr);
