// premiers: an interactive console program for computing with prime numbers.

#include "app/menu.hpp"
#include "state/etat.hpp"

#include <iostream>

int main() {
    std::ios::sync_with_stdio(false);
    demarrage();
    boucle_menu();
    terminer();
}
