// Menu [3]: the primes between two bounds, bounds included, without their
// ranks. The primes come from a sieve, a count alone from the prime-counting
// function where that costs less; the table grows exactly as far as trial
// division of every odd value from 5 up by the table's primes would have
// grown it: no further than the square roots of the values need.

#include "base/enfant.hpp"
#include "base/progression.hpp"
#include "input/input.hpp"
#include "listings/listings.hpp"
#include "listings/reglages.hpp"
#include "primes/arith64.hpp"
#include "primes/compte.hpp"
#include "primes/portee.hpp"
#include "state/reponses.hpp"
#include "state/sortie.hpp"
#include "state/travail.hpp"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <primesieve.hpp>

namespace {

std::int64_t debu1 = 0; // lower bound as entered, then the value being examined
std::int64_t fin1 = 0;  // upper bound

// Asks one bound; 0 is refused, so both bounds are at least 1.
std::int64_t borne(const char* texte) {
    question(texte);
    xn = 1;
    A = controle(11, message);
    xn = 0;
    return valeur;
}

// Both bounds, asked again together for as long as the lower one is above
// the upper one.
void bornes() {
    while (debu1 > fin1) {
        debu1 = borne("\n \t Limite inferieure ? : ");
        out << " \n  ";
        fin1 = borne("\n \t Limite superieure ? : ");
    }
}

void trouve(std::int64_t v) {
    ++w1;
    if (compter == 0) {
        out << " " << v << " , ";
    }
}

// 2 and 3 are counted without a test; 1 is passed over. debu1 is left on the
// first value not examined.
void petites_valeurs() {
    for (; debu1 <= 3 && debu1 <= fin1; ++debu1) {
        if (debu1 >= 2) {
            trouve(debu1);
        }
    }
}

// Whether testing each odd value costs less than a sieve.
bool court(std::int64_t debut, std::int64_t fin) {
    double racine = std::sqrt(static_cast<double>(fin));
    double cribleurs = racine / std::log(racine + 2.0);
    return static_cast<double>(fin - debut) < cribleurs * VALEURS_PAR_CRIBLEUR;
}

// Hands every prime of [debut, fin] (debut odd, at least 5) to F, in
// increasing order.
template <class F> void premiers_entre(std::int64_t debut, std::int64_t fin, F&& f) {
    Tache tache("Nombres premiers entre les bornes", static_cast<double>(fin - debut));
    if (court(debut, fin)) {
        for (std::int64_t v = debut;; v += 2) {
            tache.pas(static_cast<double>(v - debut));
            if (premier64(static_cast<std::uint64_t>(v))) {
                f(v);
            }
            if (fin - v < 2) {
                return;
            }
        }
    }
    primesieve::iterator it(static_cast<std::uint64_t>(debut), static_cast<std::uint64_t>(fin));
    for (std::uint64_t p = it.next_prime(); p <= static_cast<std::uint64_t>(fin);
         p = it.next_prime()) {
        tache.pas(static_cast<double>(p) - static_cast<double>(debut));
        f(static_cast<std::int64_t>(p));
    }
}

// The count of [debut, fin]: by pi where that is cheaper than the sieve; a
// long one runs where Ctrl-C can abandon it.
std::int64_t compte(std::int64_t debut, std::int64_t fin) {
    return nombre_premiers(debut, fin);
}

// The primes of [debut, fin] (debut odd, at least 5), counted and, unless
// only the count is wanted, listed.
void crible(std::int64_t debut, std::int64_t fin) {
    if (compter == 1 && !court(debut, fin)) {
        w1 += compte(debut, fin);
        return;
    }
    premiers_entre(debut, fin, trouve);
}

// Every odd value from debu1 (odd, above 3) up to fin1 is examined.
void marche_impaire() {
    if (debu1 > fin1) {
        return;
    }
    portee_intervalle(debu1, fin1);
    crible(debu1, fin1);
}

} // namespace

int liste() {
    debu1 = 1;
    fin1 = 0;
    out << " \n ";
    bornes();
    question("\n \n \t Afficher,  [1] L'effectif seulement / [0] Toute la liste : ? ");
    A = controle(1, message);
    compter = valeur2;
    if (compter == 0) {
        out << " \n \n \t  Entre ces limites, les nombres premiers sont : ";
    }
    w1 = 0;
    petites_valeurs();
    if (debu1 > 3 && debu1 % 2 == 0) {
        ++debu1; // an even bound is below 2^63 - 1: no overflow
    }
    marche_impaire();
    out << " \n \n \t  Il y a  " << w1 << "  nombres premiers entre ces limites. \n \n \n ";
    return 1;
}
