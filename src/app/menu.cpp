#include "app/menu.hpp"

#include "app/ecrans.hpp"
#include "concat/concat.hpp"
#include "factor/factor.hpp"
#include "input/input.hpp"
#include "listings/listings.hpp"
#include "state/reponses.hpp"
#include "state/travail.hpp"

#include <cstdint>

namespace {
std::int32_t choix = 10; // 10 before the first question and after the explanations
}

void boucle_menu() {
    choix = 10;
    while (choix != 0) {
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
}
