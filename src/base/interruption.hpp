#pragma once
// Ctrl-C at the terminal. The handler only sets a flag; long work looks at it
// now and then through verifier_interruption (or a Tache, see progression),
// which unwinds by throwing Interruption. The handler is installed only when
// asked for (at a terminal): a script interrupted by SIGINT ends as it always
// did.

#include <csignal>

// Thrown by verifier_interruption once Ctrl-C has been pressed.
struct Interruption {};

// Set by the SIGINT handler; cleared by whoever catches Interruption.
extern volatile std::sig_atomic_t interruption_demandee;

// Installs the SIGINT handler.
void installer_interruption();
// True once the handler is installed.
bool interruption_installee();

[[noreturn]] void interrompre();

// The check put in long loops: one load and one branch.
inline void verifier_interruption() {
    if (interruption_demandee != 0) [[unlikely]] {
        interrompre();
    }
}

// Waits until FD can be read, or for DELAI_MS milliseconds (-1: no limit).
// Returns false as soon as Ctrl-C is pressed (or was pressed before).
bool attendre_lisible(int fd, int delai_ms);
