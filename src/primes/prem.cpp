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
#include <primesieve.hpp>
#include <string>

namespace {

// Baillie-PSW on a number above 2^64.
bool bpsw(const ZZ& n) {
    fmpz_t f;
    fmpz_init(f);
    fmpz_set_ZZ(f, n);
    bool p = fmpz_is_probabprime(f) != 0;
    fmpz_clear(f);
    return p;
}

// The table already reaches everything trial division of V would use: its
// last prime is above isqrt(V), so it holds the first prime above the bound
// of a prime V and the smallest factor of a composite one.
bool carre_depasse(std::uint64_t r, std::uint64_t v) {
    std::uint64_t carre = 0;
    return __builtin_mul_overflow(r, r, &carre) || carre > v;
}

bool table_suffit(std::uint64_t v) {
    return carre_depasse(static_cast<std::uint64_t>(Nprem[static_cast<std::size_t>(np)]), v);
}

std::uint64_t isqrt64(std::uint64_t v) {
    auto r = static_cast<std::uint64_t>(std::sqrt(static_cast<double>(v)));
    while (carre_depasse(r, v)) {
        --r;
    }
    while (!carre_depasse(r + 1, v)) {
        ++r;
    }
    return r;
}

// Smallest factor of S among the primes up to 47, from one remainder; 0 when
// there is none.
long petit_facteur(const ZZ& n) {
    constexpr long PRODUIT = 614889782588491410; // 2 * 3 * 5 * ... * 47
    constexpr long PETITS[] = {2, 3, 5, 7, 11, 13, 17, 19, 23, 29, 31, 37, 41, 43, 47};
    long r = rem(n, PRODUIT);
    for (long p : PETITS) {
        if (r % p == 0) {
            return p;
        }
    }
    return 0;
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

// First rank at or after K whose prime divides S, among ranks up to the
// table's end; 0 when none does. Two primes at a time share one remainder
// of S while their product fits in a machine word.
std::int64_t diviseur_dans_table(std::int64_t k) {
    for (; k <= np; ++k) {
        long p = Nprem[static_cast<std::size_t>(k)];
        long q = k < np ? Nprem[static_cast<std::size_t>(k + 1)] : 0;
        long produit = 0;
        if (q != 0 && !__builtin_mul_overflow(p, q, &produit)) {
            long r = rem(S, produit);
            if (r % p == 0) {
                return k;
            }
            if (r % q == 0) {
                return k + 1;
            }
            ++k;
        } else if (rem(S, p) == 0) {
            return k;
        }
    }
    return 0;
}

// A composite S above 2^64 takes the table to its smallest prime factor,
// or to the end of liste.txt when that factor lies beyond. The table primes
// are tried first; the primes above them come from a sieve (the same primes
// the table would receive), two by remainder, and the table then grows to
// the factor found.
void croissance_composite() {
    if (diviseur_dans_table(1) != 0) {
        return;
    }
    primesieve::iterator it(static_cast<std::uint64_t>(Nprem[static_cast<std::size_t>(np)]) + 1);
    std::uint32_t pas = 0;
    for (std::int64_t rang = np + 1; rang <= rang_fichier; rang += 2) {
        if ((++pas & 0x3FFF) == 0) {
            verifier_interruption();
        }
        auto p = static_cast<long>(it.next_prime());
        auto q = rang < rang_fichier ? static_cast<long>(it.next_prime()) : 1L;
        long produit = 0;
        bool paire = !__builtin_mul_overflow(p, q, &produit);
        long r = paire ? rem(S, produit) : rem(S, p);
        if (r % p == 0) {
            grandir_jusqu_a(p);
            return;
        }
        if (q != 1 && (paire ? r % q : rem(S, q)) == 0) {
            grandir_jusqu_a(q);
            return;
        }
    }
    grandir_jusqu_a(INT64_MAX);
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
    i = 1;
    // Above 2^64 the square root passes every prime of liste.txt: a prime S
    // takes the table to its end.
    if (long p = petit_facteur(S); p != 0) {
        grandir_jusqu_a(p);
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

int prem64(std::uint64_t v) {
    if (v == 2) {
        return 1;
    }
    if (v < 2) {
        return 0;
    }
    i = 1;
    bool p = premier64(v);
    if (!table_suffit(v)) {
        if (p) {
            grandir_au_dessus(static_cast<std::int64_t>(isqrt64(v)));
        } else {
            grandir_jusqu_a(static_cast<std::int64_t>(plus_petit_facteur(v)));
        }
    }
    return p ? 1 : 0;
}

int prem1() {
    i = 1;
    rS1 = static_cast<std::int64_t>(std::sqrt(static_cast<double>(S3)));
    auto v = static_cast<std::uint64_t>(S3);
    bool p = premier64(v);
    // A table prime above the bound also passes every composite's smallest factor.
    if (Nprem[static_cast<std::size_t>(np)] <= rS1) {
        if (p) {
            grandir_au_dessus(rS1);
        } else {
            grandir_jusqu_a(static_cast<std::int64_t>(plus_petit_facteur(v)));
        }
    }
    return p ? 1 : 0;
}
