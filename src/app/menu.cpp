#include "app/menu.hpp"

#include "app/ecrans.hpp"
#include "app/interruption.hpp"
#include "concat/concat.hpp"
#include "factor/factor.hpp"
#include "input/input.hpp"
#include "listings/listings.hpp"
#include "state/reponses.hpp"
#include "state/travail.hpp"

#include <cstdint>

namespace {

std::int32_t choix = 10; // 10 before the first question and after the explanations

// One turn of the menu: the menu, the question, the feature chosen.
void tour() {
    ecran_menu();
    question("\n \n \n \t Quel est votre choix ? : ");
    A = controle(6, message);
    choix = valeur2;
    switch (choix) {
    case 1:
        A = decomp();
        break;
    case 2:
        A = premier();
        break;
    case 3:
        A = liste();
        break;
    case 4:
        A = concat();
        break;
    case 5:
        ecran_explications();
        choix = 10;
        break;
    default:
        break;
    }
}

// After Ctrl-C: the flags a question may have left set are cleared, as each
// feature clears them on its normal way out.
void reprise() {
    interruption_demandee = 0;
    xn = 0;
    un = 0;
    voir = 0;
    choix = 10;
}

} // namespace

// The program uses no exceptions but this one: Ctrl-C must leave work nested
// at any depth (a prime test inside a range search inside the concatenation
// menu) and come back here, and unwinding keeps every object whole on the
// way (the prime table grows only between two checks, never during one).
void boucle_menu() {
    choix = 10;
    while (choix != 0) {
        try {
            tour();
        } catch (const Interruption&) {
            reprise();
        }
    }
}
