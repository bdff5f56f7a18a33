#pragma once
// The tuning of the concatenation search, each figure with what it was
// chosen by (the project's 2-core machine, Release build).

#include <cstdint>

// The bit table of odd values: the whole range when it fits in 64 MB (2^30
// values); otherwise 16 values for each number of the range (the short
// pieces that end at the last digit take all values up to about ten times
// the range's width), and at least 2^24 (1 MB).
inline constexpr std::uint64_t TABLE_MIN = std::uint64_t{1} << 24;
inline constexpr std::uint64_t TABLE_MAX = std::uint64_t{1} << 30;
inline constexpr std::uint64_t TABLE_PAR_NOMBRE = 16;

// Numbers in a round: small enough for its list (2^20 numbers) to stay in
// memory, large enough (2^24 when only counted) for the threads' start to
// weigh nothing; each round in 16 stretches that the parts take in turn, so
// that a core slowed down by other work takes fewer of them.
inline constexpr std::uint64_t TOUR_LISTE = std::uint64_t{1} << 20;
inline constexpr std::uint64_t TOUR_NOMBRES = std::uint64_t{1} << 24;
inline constexpr std::uint64_t TRANCHES = 16;

// A round's list goes out 16 KB at a time, Ctrl-C looked at in between.
inline constexpr std::size_t MORCEAU_LISTE = std::size_t{1} << 14;

// Prefixes between two looks at Ctrl-C and the progress line: 256, some
// microseconds of work.
inline constexpr std::uint32_t VEILLE = 256;

// The sieve of a range starts again, rather than walking on, over a gap of
// more than four times the root of its end, and at least 2^16 values.
inline constexpr std::uint64_t SAUT_MIN = std::uint64_t{1} << 16;

// Lengths of the split table reserved up front: every piece of a number of
// up to 2^16 pieces, so that a range search never allocates per number.
inline constexpr std::int64_t RESERVE_MAX = 1 << 16;

// The numbers of a range come from a sieve below 2^50, where the lists of
// primes up to the root take some 30 MB for the two parts of two cores; the
// bound comes down by 4 as the parts double past two.
inline constexpr std::uint64_t LIMITE_CRIBLE = std::uint64_t{1} << 50;
