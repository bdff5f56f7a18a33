// Primality of the big integer S (prem) and of the 64-bit S3 (prem1). The
// verdict comes from a deterministic test below 2^64 and from the
// Baillie-PSW test above; the table grows exactly as trial division by its
// primes would have grown it: up to the first prime above the bound for a
// prime, up to the smallest factor for a composite (never past the end of
// liste.txt).

#include "app/interruption.hpp"
#include "primes/portee.hpp"
#include "primes/primes.hpp"
#include "state/table.hpp"
#include "state/travail.hpp"

#include <cmath>
#include <flint/NTL-interface.h>
#include <flint/fmpz.h>
#include <string>

namespace {

// The bound as a table value: beyond 2^63 - 1 no table prime can exceed it.
std::int64_t borne64(const ZZ& r) {
    return NumBits(r) < 64 ? NTL::conv<long>(r) : INT64_MAX;
}

// Baillie-PSW on a number above 2^64.
bool bpsw(const ZZ& n) {
    fmpz_t f;
    fmpz_init(f);
    fmpz_set_ZZ(f, n);
    bool p = fmpz_is_probabprime(f) != 0;
    fmpz_clear(f);
    return p;
}

// Above this size (some 1,200 digits) one test lasts a tenth of a second or
// more: it runs where Ctrl-C can abandon it.
constexpr long BITS_LONGS = 4096;

bool premier_grand(const ZZ& n) {
    if (NumBits(n) <= BITS_LONGS) {
        return bpsw(n);
    }
    return hors_processus("Test de primalite", [&n] { return std::string(bpsw(n) ? "1" : "0"); }) ==
           "1";
}

// A composite S above 2^64 takes the table to its smallest prime factor:
// only trial division finds it, one table prime after another. It stops at
// the end of liste.txt.
void croissance_composite() {
    for (k = 1;; ++k) {
        if (k > np) {
            if (np >= rang_fichier) {
                return;
            }
            Suiv();
        }
        reste = rem(S, Nprem[static_cast<std::size_t>(k)]);
        if (reste == 0) {
            return;
        }
    }
}

} // namespace

int prem() {
    if (S == 2) {
        return 1;
    }
    if (S == 1 || S == 0) {
        return 0;
    }
    i = 1;
    SqrRoot(rS, S);
    if (NumBits(S) <= 64) {
        auto v = NTL::conv<unsigned long>(S);
        if (premier64(v)) {
            grandir_au_dessus(borne64(rS));
            return 1;
        }
        grandir_jusqu_a(static_cast<std::int64_t>(plus_petit_facteur(v)));
        return 0;
    }
    if (premier_grand(S)) {
        grandir_au_dessus(INT64_MAX);
        return 1;
    }
    if (np < rang_fichier) {
        croissance_composite();
    }
    return 0;
}

int prem1() {
    i = 1;
    rS1 = static_cast<std::int64_t>(std::sqrt(static_cast<double>(S3)));
    auto v = static_cast<std::uint64_t>(S3);
    if (premier64(v)) {
        grandir_au_dessus(rS1);
        return 1;
    }
    grandir_jusqu_a(static_cast<std::int64_t>(plus_petit_facteur(v)));
    return 0;
}
