#pragma once
// Prime listings: with ranks, selections over the known primes, and the primes
// between two bounds.

// Menu [2]: the listing with ranks and its command language. Returns 1.
int premier();
// The selections over the primes already in the table ("*" of premier). Returns 1.
int affiche();
// Menu [3]: lists or counts the primes between two bounds. Returns 1.
int liste();
