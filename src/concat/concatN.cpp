// Every split of one number's digits into primes, with their count; then
// another number, as long as the user asks for one.

#include "concat/concat.hpp"
#include "concat/decoupe.hpp"
#include "input/input.hpp"
#include "state/reponses.hpp"
#include "state/sortie.hpp"
#include "state/travail.hpp"

namespace {

void demander_N() {
    question(" \n \n \n \t N ? : ");
    xn = 1;
    A = controle(9, message);
    xn = 0;
}

// The heading, the splits of valeur0 and their count. The working storage
// fits this number and is released once it has been shown.
void analyser_N() {
    Decoupe decoupe(nombre_chiffres(valeur0));
    decoupe.analyser(valeur0);
    out << "\n  Pour  " << valeur0 << " : ";
    lister(decoupe);
    out << " \n \n \t  Effectif des concanetations differentes possibles = " << w1
        << " \n \n \t  Un nombre premier est comptabilise comme une concanetation de lui meme. \n \n ";
}

} // namespace

int concatN() {
    recalc = 1;
    while (recalc == 1) {
        demander_N();
        analyser_N();
        question("\n \n \t Nouvelle valeur de N ? Oui [1] , Non [0] : ");
        A = controle(1, message);
        recalc = valeur2;
    }
    return 1;
}
