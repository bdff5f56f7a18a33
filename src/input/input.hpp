#pragma once
// Console input: every question of the program is asked through controle.

// Asks the question TEXT until a line acceptable in MODE is typed, and leaves
// the answer in valeur2 (modes 1, 6, 8, 10), valeur (4, 7, 11) or valeur0 (9).
// Mode 7 also sets un on a leading "=" and, while np > 2, returns at once with
// voir = 1 on "*". Clears voir first. Reads np and xn. Returns 0. At the end of
// standard input the program ends as through the menu entry [0].
int controle(int mode, const char* text);

// Classifies C: for a digit, "+" or "-" sets valtest1 and valtest2 to its value
// (the digit, 1, -1) and returns 1; otherwise returns 0 with both set to 0.
int valtest(char c);

// Copies TEXTE into the prompt buffer message (truncated to its size).
void question(const char* texte);
