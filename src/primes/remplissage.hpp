#pragma once
// The program's prime table, Nprem up to np, filled in the background by
// the program-wide Remplissage (base/remplissage.hpp has its contract): a
// request names the rank the table must reach and goes on at once; whoever
// reads np or the table waits for the ranks it reads. The main thread alone
// calls these routines, and it alone reads and writes np.
//
// Growth requests commute: after any of them the table is the one the
// largest target gives, whatever their order, so the table at every point
// where it is read is the one the requests one at a time would have left.

#include <cstdint>

// The table reaches rank CIBLE (whose prime is PREMIER) once the filling
// ends. Makes room for it first: may throw std::bad_alloc, nothing changed.
void viser_rang(std::int64_t cible, std::int64_t premier);

// The rank and the prime the table will hold at its end once filled.
std::int64_t rang_vise();
std::int64_t premier_vise();

// Waits until the table is filled to its target: np is then that rank. A
// wait longer than a second shows the progress line; Ctrl-C throws
// Interruption, the filling going on. A filler's failure brings the target
// down to the ranks filled.
void attendre_table();
// The same until the table holds rank R at least (np may then be more); a
// filler's failure before R is thrown here.
void attendre_rang(std::int64_t r);
