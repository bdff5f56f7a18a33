#pragma once
// The dialogue's standard output.

#include "base/sortie.hpp"

extern Sortie out;
