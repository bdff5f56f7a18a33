#pragma once

// The main menu loop: shows the menu and runs the chosen feature until the
// user chooses [0]. Returns when the loop ends.
void boucle_menu();
