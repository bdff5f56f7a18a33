// Menu [3]: the primes between two bounds, bounds included, without their
// ranks. Only odd values from 5 up are tested, each with prem1, so the table
// grows no further than the square roots of the values need.

#include "input/input.hpp"
#include "listings/listings.hpp"
#include "primes/primes.hpp"
#include "state/etat.hpp"
#include "state/reponses.hpp"
#include "state/travail.hpp"

#include <cstdint>

namespace {

std::int64_t debu1 = 0; // lower bound as entered, then the value being examined
std::int64_t fin1 = 0;  // upper bound

// Asks one bound; 0 is refused, so both bounds are at least 1.
std::int64_t borne(const char *texte) {
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

// Moves V to the next odd value, unless that one would be above FIN; then V
// stays and the answer is false. Written so that V + 2 is never formed above
// FIN, which keeps an upper bound of 2^63 - 1 within range.
bool impair_suivant(std::int64_t &v, std::int64_t fin) {
    if (fin - v < 2) {
        return false;
    }
    v += 2;
    return true;
}

// Every odd value from debu1 (odd, above 3) up to fin1 goes through prem1.
void marche_impaire() {
    if (debu1 > fin1) {
        return;
    }
    do {
        S3 = debu1;
        if (prem1() == 1) {
            trouve(debu1);
        }
    } while (impair_suivant(debu1, fin1));
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
