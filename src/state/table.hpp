#pragma once
// The prime table: every prime the program knows, indexed by rank.

#include "base/fluxliste.hpp"
#include "base/tablepremiers.hpp"

#include <cstdint>
#include <type_traits>
#include <vector>

// NTL's single-precision overloads take long: table primes must be longs.
static_assert(std::is_same_v<std::int64_t, long>);

// Last rank read from liste.txt; ranks above it are computed.
constexpr std::int64_t RANG_FICHIER = 150'000'000;

extern TablePremiers Nprem;       // Nprem[r]: prime of rank r; Nprem[0] = 0; np + 1 entries
extern std::int64_t np;           // rank of the last prime held; only Suiv changes it
extern FichierListe monFlux;      // liste.txt, checked behind the fill
extern std::int64_t i;            // step of Suiv's candidate search; callers set it to 1
extern std::int64_t rang_fichier; // RANG_FICHIER; tests lower it to reach the compute phase
