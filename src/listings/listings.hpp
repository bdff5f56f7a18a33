#pragma once
// Prime listings: with ranks, selections over the known primes, and the primes
// between two bounds. Each routine asks its own questions through controle
// (which reads and sets the answer values and flags) and writes to out.

// Menu [2]: the listing with ranks and its command language, until the
// command 0 or =0. Grows the table through Suiv as far as each command names,
// past the end of liste.txt too. Sets i, xn (0) and clears un and voir after
// each command. Returns 1.
int premier();

// The selections over the primes already in the table ("*" of premier),
// until [0]. Only reads the table (np and Nprem). Sets xn around its
// questions. Returns 1.
int affiche();

// Menu [3]: lists or counts the primes between two bounds. Sets compter (the
// count-only answer) and w1 (the count); grows the table as trial division
// of every odd value of the range would, no further than rang_fichier.
// Returns 1.
int liste();
