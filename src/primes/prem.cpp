// Primality of the big integer S (prem) and of a 64-bit value (prem64). The
// verdict comes from a deterministic test below 2^64 and from the
// Baillie-PSW test above; the table grows as trial division by its primes
// would have grown it (see portee).

#include "base/enfant.hpp"
#include "primes/arith64.hpp"
#include "primes/portee.hpp"
#include "primes/primes.hpp"
#include "primes/reglages.hpp"
#include "state/table.hpp"
#include "state/travail.hpp"

#include <flint/NTL-interface.h>
#include <flint/fmpz.h>
#include <string>

namespace {

// Baillie-PSW: true when N (above 2^64) is a probable prime.
bool bpsw(const ZZ& n) {
    fmpz_t f;
    fmpz_init(f);
    fmpz_set_ZZ(f, n);
    bool p = fmpz_is_probabprime(f) != 0;
    fmpz_clear(f);
    return p;
}

// A long test runs where Ctrl-C can abandon it.
bool premier_grand(const ZZ& n) {
    if (NumBits(n) <= BITS_TEST_ICI) {
        return bpsw(n);
    }
    return hors_processus("Test de primalite", [&n] { return std::string(bpsw(n) ? "1" : "0"); }) ==
           "1";
}

// No factor up to 47 (one remainder), and a probable prime.
bool premier_au_dessus_de_2_64(const ZZ& n) {
    constexpr long PRODUIT = 614889782588491410; // 2 * 3 * 5 * ... * 47
    return NTL::GCD(rem(n, PRODUIT), PRODUIT) == 1 && premier_grand(n);
}

} // namespace

int prem() {
    if (S == 2) {
        return 1;
    }
    if (S == 1 || S == 0) {
        return 0;
    }
    if (NumBits(S) <= 64) {
        return prem64(NTL::conv<unsigned long>(S));
    }
    bool p = premier_au_dessus_de_2_64(S);
    portee_test_grand(S, p);
    return p ? 1 : 0;
}

int prem64(std::uint64_t v) {
    if (v == 2) {
        return 1;
    }
    if (v < 2) {
        return 0;
    }
    bool p = premier64(v);
    portee_test(v, p);
    return p ? 1 : 0;
}
