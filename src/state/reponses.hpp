#pragma once
// Where controle leaves an answer for its caller, and the flags a caller sets
// around the question it asks.

#include <NTL/ZZ.h>
#include <cstdint>

using NTL::ZZ;

extern char message[200];     // question text, written by the caller before controle
extern std::int32_t valeur2;  // digit chosen at a menu question (modes 1, 6, 8, 10)
extern std::int64_t valeur;   // 64-bit answer (modes 4, 7, 11)
extern ZZ valeur0;            // answer of any size (mode 9)
extern std::int32_t xn;       // 1 while zero must be refused (modes 4, 9, 11); set by callers
extern std::int32_t un;       // 1 once a listing command began with "="; cleared by the caller
extern std::int32_t voir;     // 1 when the listing command was "*"; cleared by every question
extern std::int64_t valtest1; // value of the character last classified by valtest
extern ZZ valtest2;           // the same as a big integer
