#include "app/menu.hpp"

#include "app/ecrans.hpp"
#include "base/enfant.hpp"
#include "base/interruption.hpp"
#include "base/progression.hpp"
#include "concat/concat.hpp"
#include "factor/factor.hpp"
#include "input/input.hpp"
#include "listings/listings.hpp"
#include "state/etat.hpp"
#include "state/reponses.hpp"
#include "state/sortie.hpp"
#include "state/travail.hpp"

#include <cstdint>
#include <new>
#include <system_error>
#include <unistd.h>

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

// After work was abandoned: the progress line goes, and the answers, flags
// and work values a feature may have left set are as at start; the prime
// table keeps every prime it received.
void reprise() {
    effacer_progression();
    interruption_demandee = 0;
    valeurs_initiales();
    choix = 10;
}

// Work abandoned for want of memory: what was written so far is shown, then
// one line on standard error.
template <std::size_t N> void abandon(const char (&message)[N]) {
    effacer_progression();
    out.flush();
    [[maybe_unused]] ssize_t ecrit = ::write(STDERR_FILENO, message, N - 1);
}

} // namespace

// The program uses no exceptions but these: Ctrl-C, memory running out and
// a library call whose child process died must leave work nested at any depth (a prime test inside
// a range search inside the concatenation menu) and come back here, and unwinding keeps every
// object whole on the way (the prime table grows only between two checks, never during one, and
// takes memory before it reads a prime).
void boucle_menu() {
    choix = 10;
    while (choix != 0) {
        try {
            tour();
        } catch (const Interruption&) {
            reprise();
        } catch (const std::bad_alloc&) {
            abandon("Memoire insuffisante : calcul abandonne.\n");
            reprise();
        } catch (const std::system_error&) { // a library's thread could not start
            abandon("Memoire insuffisante : calcul abandonne.\n");
            reprise();
        } catch (const TravailAbandonne&) {
            abandon("Memoire insuffisante ou calcul interrompu : calcul abandonne.\n");
            reprise();
        }
    }
}
