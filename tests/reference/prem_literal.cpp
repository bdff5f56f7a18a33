// The primality tests as first written, kept as the reference of the fast
// ones: trial division with the table primes, prem_literal on the big integer
// S, prem1_literal on the 64-bit S3. Both try every table prime up to the
// bound and the first one above it, so the table grows to exactly that rank
// (or to the smallest prime factor of a composite).

#include "primes/primes.hpp"
#include "reference.hpp"
#include "state/table.hpp"
#include "state/travail.hpp"

#include <cmath>

namespace {

ZZ rS;                   // integer square root of S
ZZ reste;                // last remainder of S
std::int64_t rS1 = 0;    // bound of prem1: the double-precision root of S3
std::int64_t reste1 = 0; // last remainder of S3

} // namespace

int prem_literal() {
    if (S == 2) {
        return 1;
    }
    if (S == 1 || S == 0) {
        return 0;
    }
    k = 0;
    reste = 1;
    i = 1;
    SqrRoot(rS, S);
    for (;;) {
        ++k;
        if (k > np) {
            Suiv();
        }
        reste = rem(S, Nprem[k]);
        if (reste == 0) {
            return 0;
        }
        if (Nprem[k] > rS) {
            return 1;
        }
    }
}

int prem1_literal() {
    k = 0;
    reste1 = 1;
    i = 1;
    rS1 = static_cast<std::int64_t>(std::sqrt(static_cast<double>(S3)));
    for (;;) {
        ++k;
        if (k > np) {
            Suiv();
        }
        reste1 = S3 % Nprem[k];
        if (reste1 == 0) {
            return 0;
        }
        if (Nprem[k] > rS1) {
            return 1;
        }
    }
}
