#pragma once
// Waiting for an answer at the terminal. Ctrl-C at a question, with nothing
// running, ends the program as the menu entry [0] does.

// Blocks until standard input holds a line; returns at once when the Ctrl-C
// handler is not installed. Ctrl-C while waiting ends the program.
void attendre_entree();

// Ctrl-C at a question: ends the program as the menu entry [0] does, the
// cursor on a line of its own when standard output is the screen.
[[noreturn]] void fin_sur_interruption();
