#pragma once
// The program-wide state at start, and the one way the program ends.

#include "state/table.hpp"

#include <cstdint>

// Sets every program-wide variable to its start-up value: the prime table
// back to ranks 1 and 2 (np = 2, Nprem = {0, 2, 3}) with a fill of its own,
// its automatic growths stopping at rank PLAFOND (RANG_FICHIER for the
// program, less in tests), the answers, flags and work values as
// constructed.
void etat_initial(std::int64_t plafond = RANG_FICHIER);

// The same for everything but the prime table, its fill and the
// factorisation arrays, which keep what they hold: the state the menu comes
// back to after work was abandoned.
void valeurs_initiales();

// Ends the process with exit status 1 through the normal exit path, standard
// output flushed: what the menu entry [0] and the end of standard input do.
[[noreturn]] void terminer();
