#pragma once
// The tuning of the terminal's line editor.

#include <cstddef>

// Answers kept for Up and Down, for each question: 100, a session's worth.
inline constexpr std::size_t TAILLE_HISTORIQUE = 100;

// An Escape key alone is told from the start of a key's sequence by 50 ms
// with nothing after it: a terminal sends a whole sequence at once, far
// within that, and a user does not notice it.
inline constexpr int DELAI_ECHAPPEMENT_MS = 50;
