#pragma once
// Start-up of the program-wide state, and the one way the program ends.

#include "state/sortie.hpp"

extern Sortie out; // the dialogue's standard output

// Places ranks 1 and 2 in the prime table: np = 2, Nprem = {0, 2, 3}.
void demarrage();

// Ends the process with exit status 1 through the normal exit path, standard
// output flushed: what the menu entry [0] and the end of standard input do.
[[noreturn]] void terminer();

// Tests: when set, terminer calls it after flushing, instead of ending the
// process; it must not return (a test harness throws from it to regain control).
extern void (*fin_essai)();
