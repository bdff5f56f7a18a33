#pragma once
// The range search of entries [2] and [3] for bounds below 2^63, over every
// core: the range is walked in rounds, each cut into stretches that the parts
// take in turn; at the end of a round its results are written in increasing
// order and the prime table grows as far as the tests of the number-by-number
// search up to there would have taken it.

#include <cstdint>

// Every N of [BAS, HAUT] (1 <= BAS <= HAUT < 2^63), or every prime N when
// PREMIERS, whose digits split into primes (in two ways at least when
// PREMIERS). With LISTE each is written to out as "N[count]  ", its count
// that of all its splits. Returns how many there are. Ctrl-C throws
// Interruption: what the round under way found is then not written.
std::uint64_t rechercher(std::uint64_t bas, std::uint64_t haut, bool premiers, bool liste);
