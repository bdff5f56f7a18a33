#pragma once
// The tuning of the listings, each figure with the measurement it was chosen
// by (the project's 2-core machine, Release build).

#include <cstdint>

// Menu [3]: below 20 values for each prime up to sqrt(fin), testing each
// odd value costs less than a sieve, which first gathers every prime up to
// sqrt(fin).
inline constexpr double VALEURS_PAR_CRIBLEUR = 20.0;

// Menu [2]: ranks listed at a time (0.2 ms of filling each), so that a long
// listing starts at once, its later ranks filled while the first ones are
// written.
inline constexpr std::int64_t TRANCHE_LISTE = 1 << 16;
