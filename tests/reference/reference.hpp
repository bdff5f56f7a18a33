#pragma once
// The literal routines the fast ones replace, kept to compare them with.

// Trial division of S by the table primes (same contract as prem).
int prem_literal();
// Trial division of S3 by the table primes (same contract as prem1).
int prem1_literal();
// Menu [1] by trial division of N by the table primes (same dialogue as decomp).
int decomp_literal();
