// Growth of the prime table, one prime per call: read from liste.txt up to
// rang_fichier, computed beyond it (or as soon as the file fails).

#include "primes/cible.hpp"
#include "primes/primes.hpp"
#include "state/table.hpp"

#include <cstdint>
#include <primesieve.hpp>

namespace {

// Kept across calls so that consecutive computed primes cost one sieve step.
primesieve::iterator crible;
std::uint64_t dernier_crible = 0; // last prime the iterator returned; 0: none yet

// The next value of liste.txt when it is sound for the next rank: a value
// above the last prime held (so the first one is above 3).
bool lecture(std::int64_t& v) {
    return np < rang_fichier && monFlux.lire(v) && v > Nprem[np];
}

// The smallest prime above Nprem[np]: what trial division by the table primes
// up to the candidate's square root finds, the table holding every prime up
// to its last one.
std::int64_t calcul() {
    auto dernier = static_cast<std::uint64_t>(Nprem[np]);
    if (dernier_crible != dernier) {
        crible.jump_to(dernier + 1);
    }
    dernier_crible = crible.next_prime();
    return static_cast<std::int64_t>(dernier_crible);
}

} // namespace

// Memory runs out, if it does, before anything is read: the file and the
// table stay in step.
int Suiv() {
    if ((np & 0x3FFF) == 0) {
        veille_table(); // Ctrl-C and the progress line, before the table changes
    }
    Nprem.reserver_un();
    std::int64_t v = 0;
    if (!lecture(v)) {
        monFlux.fermer(); // a damaged or short file is read no further
        v = calcul();
    }
    ++np;
    Nprem.push_back(v);
    i = 1;
    return 1;
}
