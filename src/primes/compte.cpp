#include "primes/compte.hpp"

#include "base/enfant.hpp"
#include "base/interruption.hpp"
#include "primes/reglages.hpp"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <primesieve.hpp>
#include <string>
#include <system_error>

// The cost model, whose figures are in primes/reglages.hpp. The two ways
// meet, for a range of width w at height a, near w = 1.5e8 at 1e12, 4e9 at
// 1e15 and 1e11 at 1e18: ranges that short stay with the sieve, whose
// per-value cost the model follows best at those widths.
double duree_pi(std::int64_t x) {
    if (x < 2) {
        return 0;
    }
    auto v = static_cast<double>(x);
    double l = std::log(v);
    return PI_FIXE + PI_UNITE * std::cbrt(v * v) / (l * l);
}

namespace {

// Estimated seconds of the sieve's count of [DEBUT, FIN].
double duree_crible(std::int64_t debut, std::int64_t fin) {
    auto haut = static_cast<double>(fin);
    double largeur = static_cast<double>(fin - debut) + 1.0;
    double decades = std::max(0.0, std::log10(haut) - CRIBLE_DECADES);
    return CRIBLE_RACINE * std::sqrt(haut) +
           largeur * CRIBLE_VALEUR * std::pow(CRIBLE_HAUSSE, decades);
}

} // namespace

// The sieve's count of [DEBUT, FIN] on every core, or on this thread alone
// when no other thread can start.
std::uint64_t compte_crible(std::uint64_t debut, std::uint64_t fin) {
    try {
        return primesieve::count_primes(debut, fin);
    } catch (const std::system_error&) {
        struct Seul {
            int avant = primesieve::get_num_threads();
            Seul() { primesieve::set_num_threads(1); }
            ~Seul() { primesieve::set_num_threads(avant); }
        } seul;
        return primesieve::count_primes(debut, fin);
    }
}

bool compte_par_pi(std::int64_t debut, std::int64_t fin) {
    return duree_pi(fin) + duree_pi(debut - 1) < duree_crible(debut, fin);
}

std::int64_t nombre_premiers(std::int64_t debut, std::int64_t fin) {
    bool analytique = compte_par_pi(debut, fin);
    auto calcul = [=]() -> std::string {
        if (analytique) {
            std::int64_t haut = pi(fin);
            std::int64_t bas = pi(debut - 1);
            if (haut >= 0 && bas >= 0) {
                return std::to_string(haut - bas);
            }
        }
        return std::to_string(
            compte_crible(static_cast<std::uint64_t>(debut), static_cast<std::uint64_t>(fin)));
    };
    double duree = analytique ? duree_pi(fin) + duree_pi(debut - 1) : duree_crible(debut, fin);
    std::string r = duree < DUREE_COMPTE_ICI
                        ? calcul()
                        : hors_processus("Comptage des nombres premiers", calcul);
    std::int64_t n = 0;
    std::from_chars(r.data(), r.data() + r.size(), n);
    return n;
}
