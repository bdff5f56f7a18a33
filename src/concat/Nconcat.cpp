// The numbers, or the primes, of a range whose digits split into primes:
// listed with their number of splits, or only counted.

#include "base/progression.hpp"
#include "concat/concat.hpp"
#include "concat/decoupe.hpp"
#include "concat/recherche.hpp"
#include "input/input.hpp"
#include "primes/primes.hpp"
#include "state/reponses.hpp"
#include "state/sortie.hpp"
#include "state/travail.hpp"

namespace {

ZZ debu, fin;           // the bounds; debu is the number examined, then fin + 1
std::int64_t w2 = 0;    // qualifying numbers found so far
std::int32_t stop2 = 0; // 1 once the current number is known to qualify (count only)

void demander_borne(const char* texte, ZZ& borne) {
    question(texte);
    xn = 1;
    A = controle(9, message);
    xn = 0;
    borne = valeur0;
}

// Both bounds, again and again while the lower one is above the upper one.
void demander_bornes() {
    debu = 1;
    fin = 0;
    while (debu > fin) {
        demander_borne("\n \t Limite inferieure ? : ", debu);
        out << " \n  ";
        demander_borne("\n \t Limite superieure ? : ", fin);
    }
}

// Splits a number needs to qualify: one for any number, two for a prime (its
// own digits as one piece always count as one split).
std::int64_t seuil() {
    return choix0 == 3 ? 2 : 1;
}

// Examines one number N: counts it in w2, and lists it unless only the count
// is wanted. In count-only mode its walk ends as soon as it qualifies.
void examiner(Decoupe& decoupe, const ZZ& N) {
    stop2 = 0;
    decoupe.analyser(N);
    stop2 = denombrer(decoupe, compter == 1 ? seuil() : 0) ? 1 : 0;
    if (stop2 == 1 || w1 >= seuil()) {
        ++w2;
        if (compter == 0) {
            out << N << "[" << w1 << "]  ";
        }
    }
}

// Every N from debu to fin (primes only under choice 3), debu advancing: by
// shared prefixes over every core while the numbers fit in a machine word,
// otherwise one number after the other.
void balayer() {
    w2 = 0;
    if (NumBits(fin) < 64) {
        auto debut = NTL::conv<unsigned long>(debu), f = NTL::conv<unsigned long>(fin);
        w2 = static_cast<std::int64_t>(rechercher(debut, f, choix0 == 3, compter == 0));
        add(debu, fin, 1L);
        return;
    }
    Decoupe decoupe(nombre_chiffres(fin)); // no number of the range is longer
    Tache tache("Recherche des concatenations", NTL::conv<double>(fin - debu));
    const ZZ depart = debu;
    for (; debu <= fin; add(debu, debu, 1L)) {
        tache.point(NTL::conv<double>(debu - depart));
        S = debu;
        if (choix0 != 3 || prem() == 1) {
            examiner(decoupe, debu);
        }
    }
}

void resumer() {
    out << " \n \n \t Il y a  " << w2 << "  nombres ";
    if (choix0 == 3) {
        out << " premiers de ce type, chacun etant la concatenation d'au moins 2 autres.\n ";
    } else {
        out << "de ce type. \n ";
    }
    if (compter == 0) {
        out << " \n \t Entre crochet apres chaque nombre : l'effectif des concanetations differentes possibles. "
            << " \n \t Un nombre premier etant comptabilise comme une concanetation de lui meme. \n \n  ";
    }
}

} // namespace

int Nconcat() {
    demander_bornes();
    question("\n \n \t  Afficher,  [1] L'effectif seulement / [0] Toute la liste : ? ");
    A = controle(1, message);
    compter = valeur2;
    if (compter == 0) {
        out << " \n \n \t Entre " << debu << " et " << fin
            << "   les  nombres qui convienent sont : ";
    }
    balayer();
    resumer();
    return 1;
}
