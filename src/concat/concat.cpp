// The concatenation menu: shown again after each feature, until [0].

#include "concat/concat.hpp"

#include "concat/decoupe.hpp"
#include "input/input.hpp"
#include "state/reponses.hpp"
#include "state/sortie.hpp"

std::int32_t choix0 = 0;

namespace {

std::int32_t re = 0; // 1 while the menu runs

constexpr const char* MENU[] = {
    " \n \n \t  *****  CONCATENATIONS DE NOMBRES PREMIERS  ***** : ",
    "\n \n \t Que voulez-vous faire ? : \n ",
    "\n \n \t \t [1] - Savoir si un nombre N est une concatenation de nombres premiers ",
    "\n \n \t \t [2] - Trouver tous ces nombres N quelconques, compris entre 2 valeurs ? ",
    "\n \n \t \t [3] - Trouver tous ces nombres N premiers, compris entre 2 valeurs ? ",
    "\n \n \t \t [0] - Revenir au debut du programme ? ",
};

void ecran_concat() {
    for (const char* texte : MENU) {
        out << texte;
    }
}

} // namespace

int concat() {
    re = 1;
    while (re == 1) {
        ecran_concat();
        question("\n \n \n \t Quel est votre choix ? : ");
        A = controle(10, message);
        choix0 = valeur2;
        switch (choix0) {
        case 1:
            A = concatN();
            break;
        case 2:
        case 3:
            A = Nconcat(); // reads choix0: every number, or primes only
            break;
        default:
            re = 0;
            break;
        }
    }
    return 1;
}
