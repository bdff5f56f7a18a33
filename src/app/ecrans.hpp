#pragma once
// The main menu and the explanations screen.

void ecran_menu();
void ecran_explications();
