#pragma once
// Ctrl-C at a question, with nothing running, ends the program as the menu
// entry [0] does.

// Ctrl-C at a question: ends the program as the menu entry [0] does, the
// cursor on a line of its own when standard output is the screen.
[[noreturn]] void fin_sur_interruption();
