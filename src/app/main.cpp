// premiers: an interactive console program for computing with prime numbers.

#include "app/arguments.hpp"
#include "app/menu.hpp"
#include "base/interruption.hpp"
#include "input/terminal.hpp"
#include "state/etat.hpp"

#include <iostream>
#include <unistd.h>

int main(int argc, char** argv) {
    if (int statut = arguments(argc, argv); statut >= 0) {
        return statut;
    }
    std::ios::sync_with_stdio(false);
    etat_initial();
    // At a terminal: Ctrl-C stops long work, answers can be edited. In a
    // script nothing changes: SIGINT ends the program, lines are read as is.
    if (isatty(STDIN_FILENO) == 1) {
        installer_interruption();
        static EntreeTerminal terminal;
        lire_depuis(terminal);
    }
    boucle_menu();
    terminer();
}
