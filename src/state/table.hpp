#pragma once
// The prime table: every prime the program knows, indexed by rank.

#include "base/tablepremiers.hpp"

#include <cstdint>
#include <optional>
#include <type_traits>

class Remplissage;

// NTL's single-precision overloads take long: table primes must be longs.
static_assert(std::is_same_v<std::int64_t, long>);

// The last rank of liste.txt's range; ranks above it are computed.
constexpr std::int64_t RANG_FICHIER = 150'000'000;

extern TablePremiers Nprem;       // Nprem[r]: prime of rank r; Nprem[0] = 0; np + 1 entries
extern std::int64_t np;           // rank of the last prime held; moved by the waits for the fill
extern std::int64_t i;            // step of Suiv's candidate search; written, never read
extern std::int64_t rang_fichier; // the rank automatic growths stop at, set by etat_initial

// The fill of Nprem (primes/remplissage.hpp), made anew by etat_initial.
extern std::optional<Remplissage> remplissage;
