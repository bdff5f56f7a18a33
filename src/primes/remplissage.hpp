#pragma once
// The filling of the prime table, off the critical path. A request names
// the rank the table must reach, its target, and goes on at once; a worker
// thread fills the ranks up to it in the background, the values read from
// liste.txt being checked against the true primes of their ranks; whoever
// reads np or the table first waits for the filling to end.
//
// Growth requests commute: after any of them the table is the one the
// largest target gives, whatever their order, so the table at every point
// where it is read is the one the requests one at a time would have left.
//
// Contract of the worker (one thread, started on the first large target and
// stopped at exit):
// - Only the main thread calls these routines, reads and writes np, reads
//   the table, and makes room in the table's storage (before it raises a
//   target, so the worker never moves the storage).
// - While a filling is pending the worker alone writes the entries above np,
//   in room already made, and alone reads liste.txt (monFlux). It reads no
//   other program-wide variable: what it needs is handed over with the target.
// - It fills ranks whose primes are below 2^32; the main thread fills any
//   rank beyond that itself, while it waits.
// - A long block is shared by two threads, the filler (the worker, or the
//   main thread beyond 2^32) and a sieve thread it owns: the sieve writes
//   the block's entries and hands them on in stretches (an atomic counter
//   releases them), the filler checks liste.txt behind it, and the sieve
//   thread then checks the block's last values through its own descriptor
//   of the file. The filler waits for it before the block counts as filled,
//   so nothing outside the block ever sees the second thread.
// - attendre_table returns once the worker's writes are all visible (a mutex
//   orders them): from then on np, the table and monFlux are the main
//   thread's again.
// - The worker takes no lock that a child process started by fork could need
//   (the children run library calls that never touch the table).

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

// Tests and benchmarks: the worker's state is forgotten (the table has just
// been set back to its start).
void oublier_remplissage();
