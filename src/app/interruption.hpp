#pragma once
// Ctrl-C at the terminal: it stops the work under way and brings the user
// back to the main menu; at a question, with nothing running, it ends the
// program as the menu entry [0] does.
//
// The handler only sets a flag. Long loops look at it now and then through
// verifier_interruption, which unwinds back to the menu loop by throwing
// Interruption. The handler is installed only when standard input is a
// terminal: a script interrupted by SIGINT ends as it always did.

#include <csignal>
#include <functional>
#include <string>

// Thrown by verifier_interruption and caught only by the main menu loop.
struct Interruption {};

// Set by the SIGINT handler; cleared when the menu loop takes over again.
extern volatile std::sig_atomic_t interruption_demandee;

// Installs the SIGINT handler (at start-up, when standard input is a terminal).
void installer_interruption();
// True once the handler is installed.
bool interruption_installee();

[[noreturn]] void interrompre();

// The check put at the head of long loops: one load and one branch.
inline void verifier_interruption() {
    if (interruption_demandee != 0) [[unlikely]] {
        interrompre();
    }
}

// Blocks until standard input holds a line. Ctrl-C while waiting ends the
// program. Returns at once when the handler is not installed.
void attendre_entree();

// Waits until FD can be read, or for DELAI_MS milliseconds (-1: no limit).
// Returns false as soon as Ctrl-C is pressed (or was pressed before).
bool attendre_lisible(int fd, int delai_ms);

// Ctrl-C at a question: ends the program as the menu entry [0] does, the
// cursor on a line of its own when standard output is the screen.
[[noreturn]] void fin_sur_interruption();

// Runs TRAVAIL, a library call that cannot look at the flag, and returns the
// bytes it produced. With the handler installed it runs in a child process,
// which Ctrl-C ends at once (the parent then throws Interruption) while NOM
// tells on the progress line how long it has been running; otherwise, or
// when no child can be started, it runs here. The child dies with the
// program; when it dies first (killed, out of memory), a line on standard
// error says the work is abandoned and Interruption is thrown.
std::string hors_processus(const char* nom, const std::function<std::string()>& travail);
