#pragma once
// The ground's tuning, each figure with the measurement it was chosen by
// (the project's 2-core machine, Release build).

#include <chrono>
#include <cstdint>

// The table's fill (remplissage):
// a growth of fewer ranks, nothing under way, is written by the caller at
// once: the first 65,536 ranks take 0.06 to 0.2 ms, less than handing them
// to a filler;
inline constexpr std::int64_t REMPLIR_ICI = 1 << 16;
// a filler publishes its ranks in stretches of this many (0.2 ms of work),
// so that a reader waiting for the first ranks of a long growth gets them at
// once, for a lock taken a few thousand times a second;
inline constexpr std::int64_t TRONCON_REMPLI = 1 << 16;
// a piece holds at least this many values: above it a count of primes
// (0.5 ms at 1e9) costs a few per cent of the piece; the full table is then
// 14 pieces, the last ones of 2 ms, where 8 equal pieces left one core idle
// for 10 to 30 ms at the end;
inline constexpr std::uint64_t VALEURS_MORCEAU_MIN = std::uint64_t{1} << 24;
// a reader waiting for ranks looks at Ctrl-C and redraws the progress line
// this often.
inline constexpr std::chrono::milliseconds ATTENTE_LECTEUR{50};

// A library may start threads of its own with this much memory left: a
// thread takes its stack (8 MB), its allocator's arena (64 MB of address
// space) and PARI's own stack (16 MB); a 70-digit factorisation under 200 MB
// of address space waited for ever on a PARI thread that could not start.
inline constexpr std::uint64_t LIBRE_POUR_FILS = std::uint64_t{1} << 30;

// Below this x (3.4e10) a second thread gains primecount's pi under half a
// millisecond, and loses five when the cores are busy filling the table.
inline constexpr std::int64_t PI_UN_FIL = std::int64_t{1} << 35;

// The progress line (progression): work shorter than a second shows
// nothing; the line is drawn five times a second; a fast loop reads the clock
// every 1024 steps (a step well under a microsecond: under a millisecond
// between two readings).
inline constexpr std::chrono::milliseconds ATTENTE_PROGRESSION{1000};
inline constexpr std::chrono::milliseconds INTERVALLE_PROGRESSION{200};
inline constexpr std::uint32_t CADENCE_PAS = 1024;

// A computation split over the cores (equipe) looks at Ctrl-C every 20 ms
// while its other parts end: the menu comes back well within a tenth of a
// second.
inline constexpr std::chrono::milliseconds ATTENTE_EQUIPE{20};

// Memory (memoire): a request fits when an eighth more than it and this
// much for the rest of the program (1 MB) are still free.
inline constexpr std::uint64_t RESTE_DU_PROGRAMME = std::uint64_t{1} << 20;
