#pragma once
// The filling of the prime table, off the critical path. A request names
// the rank the table must reach, its target, and goes on at once; the fill
// sieves the ranks up to it in the background, straight into the table, and
// whoever reads np or the table waits for the ranks it reads.
//
// Growth requests commute: after any of them the table is the one the
// largest target gives, whatever their order, so the table at every point
// where it is read is the one the requests one at a time would have left.
//
// Contract of the fill (one owner, Remplissage in remplissage.cpp):
// - The main thread alone calls these routines, sets the targets and makes
//   room for them in the table's storage before handing them over; it alone
//   reads and writes np, and it reads the table up to np only.
// - Two fill threads, one per core, cut the growth into pieces where the
//   values are (a count of primes each), write the pieces' ranks in room
//   already made, and publish in one count how many ranks are filled
//   without a gap (release). A reader waits on that count (acquire) for the
//   ranks it reads, and for nothing else.
// - A third thread, at idle priority, checks liste.txt (monFlux) against the
//   ranks published; neither the fill nor a reader ever waits for it. The
//   threads start with the first long growth: the short ones before it are
//   filled and checked by the main thread at once.
// - Ctrl-C during a wait throws Interruption and the fill goes on. The end
//   of the program stops every thread after its stretch.
// - No exception leaves a thread. A filler that runs out of memory stops;
//   the ranks filled are kept, the target comes down to them, and a reader
//   that needed more gets std::bad_alloc. Where no thread could be started,
//   the main thread fills while it waits.

#include <cstdint>

// The table reaches rank CIBLE (whose prime is PREMIER) once the filling
// ends. Makes room for it first: may throw std::bad_alloc, nothing changed.
// A small growth is made here and now.
void viser_rang(std::int64_t cible, std::int64_t premier);

// The rank and the prime the table will hold at its end once filled.
std::int64_t rang_vise();
std::int64_t premier_vise();

// Waits until the table is filled to its target: np is then that rank. A
// wait longer than a second shows the progress line; Ctrl-C throws
// Interruption, the filling going on.
void attendre_table();
// The same until the table holds rank R at least (np may then be more).
void attendre_rang(std::int64_t r);

// Tests and benchmarks: the fill under way is dropped and its state
// forgotten, so that the table can be set back to its start.
void oublier_remplissage();
