#include "input/attente.hpp"

#include "state/etat.hpp"
#include "state/sortie.hpp"

#include <unistd.h>

void fin_sur_interruption() {
    if (isatty(STDOUT_FILENO) == 1) {
        out << "\n"; // the line feed the user's Enter would have echoed
    }
    terminer();
}
