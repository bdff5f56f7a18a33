#include "input/attente.hpp"

#include "base/interruption.hpp"
#include "state/etat.hpp"
#include "state/sortie.hpp"

#include <unistd.h>

void attendre_entree() {
    if (interruption_installee() && !attendre_lisible(STDIN_FILENO, -1)) {
        fin_sur_interruption();
    }
}

void fin_sur_interruption() {
    if (isatty(STDOUT_FILENO) == 1) {
        out << "\n"; // the line feed the user's Enter would have echoed
    }
    terminer();
}
