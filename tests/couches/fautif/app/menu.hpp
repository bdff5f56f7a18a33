#pragma once
#include "base/sol.hpp"
