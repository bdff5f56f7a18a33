#include "primes/portee.hpp"

#include "base/memoire.hpp"
#include "base/progression.hpp"
#include "primes/arith64.hpp"
#include "primes/compte.hpp"
#include "primes/primes.hpp"
#include "primes/remplissage.hpp"
#include "state/table.hpp"

#include <algorithm>
#include <cmath>
#include <new>
#include <primesieve.hpp>

using NTL::ZZ;

namespace {

// The rank the automatic growths stop at: the end of liste.txt, or less
// when the table would take more than half of what it holds and the memory
// the process can still take: the other half stays for the requests, which
// come first. The cap stays put as the table grows towards it.
std::int64_t plafond() {
    std::uint64_t tenu = TablePremiers::octets(static_cast<std::uint64_t>(rang_vise()) + 1);
    std::uint64_t libre = std::min(memoire_libre(), UINT64_MAX / 4);
    auto loge = static_cast<std::int64_t>(
        std::min<std::uint64_t>(TablePremiers::entrees((tenu + libre) / 2), INT64_MAX / 2));
    return std::max(rang_vise(), std::min(rang_fichier, loge - 1));
}

bool au_plafond() {
    return rang_vise() >= plafond();
}

// A growth no answer waits for: it does not happen when memory runs short,
// so that the request under way keeps it.
template <class Croissance> void en_fond(Croissance croissance) {
    try {
        croissance();
    } catch (const std::bad_alloc&) {
    }
}

// The last prime of the table once it is filled.
std::int64_t dernier() {
    return premier_vise();
}

// The number of primes up to X, and the prime of rank R: the library
// fails only for want of memory.
std::int64_t nombre_jusqu_a(std::int64_t x) {
    std::int64_t n = pi(x);
    if (n < 0) {
        throw std::bad_alloc();
    }
    return n;
}

std::int64_t premier_de_rang(std::int64_t r) {
    static std::int64_t rang = 0, premier = 0; // the last one asked: the cap, most often
    if (r != rang) {
        premier = nieme_premier(r);
        if (premier < 0) {
            throw std::bad_alloc();
        }
        rang = r;
    }
    return premier;
}

// The smallest prime at least V (V below the prime of rank plafond()).
std::int64_t premier_des(std::int64_t v) {
    if (v <= 2) {
        return 2;
    }
    while (!premier64(static_cast<std::uint64_t>(v))) {
        ++v;
    }
    return v;
}

// The table is to reach the first prime above B, or the cap if that prime
// lies beyond it: the rank of that prime is the number of primes up to B,
// plus one.
void viser_premier_au_dessus(std::int64_t b) {
    en_fond([b] {
        std::int64_t rang_plafond = plafond();
        std::int64_t p_plafond = premier_de_rang(rang_plafond);
        if (b >= p_plafond) {
            viser_rang(rang_plafond, p_plafond);
            return;
        }
        viser_rang(nombre_jusqu_a(b) + 1, premier_des(b + 1));
    });
}

// The table already reaches everything trial division of V would use: its
// last prime is above isqrt(V), so it holds the first prime above the bound
// of a prime V and the smallest factor of a composite one.
bool table_suffit(std::uint64_t v) {
    return carre_depasse(static_cast<std::uint64_t>(dernier()), v);
}

std::int64_t borne64(const ZZ& r) {
    return NumBits(r) < 64 ? NTL::conv<long>(r) : INT64_MAX;
}

// Smallest factor of N among the primes up to 47, from one remainder; 0 when
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

// First rank at or after K whose prime divides N, among ranks up to the
// table's end; 0 when none does. Two primes at a time share one remainder
// of N while their product fits in a machine word.
std::int64_t diviseur_dans_table(const ZZ& n, std::int64_t k) {
    Tache tache("Recherche du plus petit facteur", static_cast<double>(np));
    for (; k <= np; ++k) {
        tache.pas(static_cast<double>(k));
        long p = Nprem[static_cast<std::size_t>(k)];
        long q = k < np ? Nprem[static_cast<std::size_t>(k + 1)] : 0;
        long produit = 0;
        if (q != 0 && !__builtin_mul_overflow(p, q, &produit)) {
            long r = rem(n, produit);
            if (r % p == 0) {
                return k;
            }
            if (r % q == 0) {
                return k + 1;
            }
            ++k;
        } else if (rem(n, p) == 0) {
            return k;
        }
    }
    return 0;
}

// A composite N above 2^64 with no factor up to 47 takes the table to its
// smallest prime factor, or to the cap when that factor lies beyond. The
// primes the table can be read to are tried first; those above them come
// from a sieve (the same primes the table receives), two by remainder, and
// the table then grows to the factor found.
void vers_plus_petit_facteur(const ZZ& n) {
    if (diviseur_dans_table(n, 1) != 0) {
        return;
    }
    primesieve::iterator it(static_cast<std::uint64_t>(Nprem[static_cast<std::size_t>(np)]) + 1);
    const std::int64_t fin = plafond();
    Tache tache("Recherche du plus petit facteur", static_cast<double>(fin));
    for (std::int64_t rang = np + 1; rang <= fin; rang += 2) {
        tache.pas(static_cast<double>(rang));
        auto p = static_cast<long>(it.next_prime());
        auto q = rang < fin ? static_cast<long>(it.next_prime()) : 1L;
        long produit = 0;
        bool paire = !__builtin_mul_overflow(p, q, &produit);
        long r = paire ? rem(n, produit) : rem(n, p);
        if (r % p == 0) {
            grandir_jusqu_a(p);
            return;
        }
        if (q != 1 && (paire ? r % q : rem(n, q)) == 0) {
            grandir_jusqu_a(q);
            return;
        }
    }
    grandir_jusqu_a(INT64_MAX);
}

// The largest prime of [debut, fin] (debut odd, at least 5), or 0.
std::int64_t plus_grand_premier(std::int64_t debut, std::int64_t fin) {
    for (std::int64_t v = fin % 2 == 0 ? fin - 1 : fin; v >= debut; v -= 2) {
        if (premier64(static_cast<std::uint64_t>(v))) {
            return v;
        }
    }
    return 0;
}

} // namespace

void grandir_au_dessus(std::int64_t borne) {
    if (dernier() > borne || au_plafond()) {
        return;
    }
    viser_premier_au_dessus(borne);
}

void grandir_jusqu_a(std::int64_t q) {
    if (dernier() >= q || au_plafond()) {
        return;
    }
    viser_premier_au_dessus(q - 1);
}

void grandir_au_rang(std::int64_t r) {
    if (r > rang_vise()) {
        viser_rang(r, premier_de_rang(r));
    }
}

void grandir_au_dela(std::int64_t v) {
    if (dernier() <= v) {
        viser_rang(nombre_jusqu_a(v) + 1, premier_des(v + 1));
    }
}

void portee_test(std::uint64_t v, bool premier) {
    if (table_suffit(v)) {
        return;
    }
    if (premier) {
        grandir_au_dessus(static_cast<std::int64_t>(isqrt64(v)));
    } else {
        grandir_jusqu_a(static_cast<std::int64_t>(plus_petit_facteur(v)));
    }
}

void portee_test_grand(const ZZ& n, bool premier) {
    if (premier) {
        grandir_au_dessus(INT64_MAX);
    } else if (long p = petit_facteur(n); p != 0) {
        grandir_jusqu_a(p);
    } else if (!au_plafond()) {
        vers_plus_petit_facteur(n);
    }
}

// A prime V takes the table to the first prime above its bound
// (int64)sqrt((double)V), a composite to its smallest factor. The bound rises
// with V, so the largest prime P of the range reaches furthest among the
// primes, and a composite below P has its smallest factor at most
// isqrt(V) <= bound(P) + 1, no further. Only the composites above P remain:
// they lie in the gap after P (the whole range when it holds no prime, which
// a range can only do when it is shorter than a prime gap), so they are few
// and are factored one by one.
void portee_intervalle(std::int64_t debut, std::int64_t fin) {
    std::int64_t p = plus_grand_premier(debut, fin);
    if (p != 0) {
        grandir_au_dessus(static_cast<std::int64_t>(std::sqrt(static_cast<double>(p))));
    }
    std::int64_t facteur = 0;
    for (std::int64_t v = p != 0 ? p : debut - 2; fin - v >= 2;) {
        v += 2;
        facteur = std::max(
            facteur, static_cast<std::int64_t>(plus_petit_facteur(static_cast<std::uint64_t>(v))));
    }
    grandir_jusqu_a(facteur);
}

// The division divides out each prime factor in turn, so the cofactor left
// at the end is the last factor. When that one is alone (exponent 1), the
// division stops at the first table prime above both the factor before it
// and the square root of the last one; when the last factor has a higher
// exponent, it stops on that factor.
void portee_decomposition(const ZZ& dernier, long exposant, const ZZ& precedent) {
    if (exposant != 1) {
        grandir_jusqu_a(borne64(dernier));
        return;
    }
    std::int64_t racine = NumBits(dernier) > 126 ? INT64_MAX : borne64(SqrRoot(dernier));
    grandir_au_dessus(std::max(racine, borne64(precedent)));
}

// As in portee_intervalle: the largest prime P of the range reaches furthest
// among the primes (the first prime above isqrt(P)), and a composite below P
// no further than its smallest factor, at most isqrt(P); a value below P,
// in the range or not, thus adds nothing. The composites above P lie in the
// gap after it (the whole range when it holds no prime) and are factored one
// by one. 0, 1 and 2 take the table nowhere.
void portee_valeurs(std::uint64_t debut, std::uint64_t fin) {
    std::uint64_t p = fin;
    while (p >= debut && p >= 2 && !premier64(p)) {
        --p;
    }
    bool trouve = p >= debut && p >= 2;
    if (trouve) {
        grandir_au_dessus(static_cast<std::int64_t>(isqrt64(p)));
    }
    std::uint64_t facteur = 0;
    for (std::uint64_t v = trouve ? p + 1 : std::max<std::uint64_t>(debut, 4); v <= fin; ++v) {
        facteur = std::max(facteur, plus_petit_facteur(v));
    }
    grandir_jusqu_a(static_cast<std::int64_t>(facteur));
}
