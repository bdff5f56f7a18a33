#pragma once
#include "app/menu.hpp" // the ground may not know the menu
