#pragma once
// Concatenations of primes: the ways the digits of a number split into primes.
// The table grows as the trial division of each piece would, no further than
// the end of liste.txt: every piece is tested with prem (or prem64), or, in
// the range search below 2^63, the table is grown as far as those tests
// would take it.

// Menu [4]: the concatenation menu, until [0]. Sets choix0. Returns 1.
int concat();

// Entry [1]: every split of one number's digits into primes, until the answer
// 0 to "Nouvelle valeur de N ?". Sets recalc, xn, w1 (the number of splits)
// and S. Returns 1.
int concatN();

// Entries [2] and [3] (read from choix0): the numbers, or the primes, of a
// range whose digits split. Sets compter; beyond 2^63 - 1 also w1 and S.
// Returns 1.
int Nconcat();
