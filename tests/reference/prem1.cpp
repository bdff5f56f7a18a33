// prem1, the fast test of the 64-bit S3 as the program had it before the
// listing of menu [3] stopped testing value by value: kept beside its
// literal form, prem1_literal, as the reference of the growth rules of
// portee that every fast test relies on.

#include "primes/arith64.hpp"
#include "primes/portee.hpp"
#include "primes/remplissage.hpp"
#include "reference.hpp"

#include <cmath>

std::int64_t S3 = 0;

int prem1() {
    auto borne = static_cast<std::int64_t>(std::sqrt(static_cast<double>(S3)));
    auto v = static_cast<std::uint64_t>(S3);
    bool p = premier64(v);
    // A table prime above the bound also passes every composite's smallest
    // factor.
    if (premier_vise() <= borne) {
        if (p) {
            grandir_au_dessus(borne);
        } else {
            grandir_jusqu_a(static_cast<std::int64_t>(plus_petit_facteur(v)));
        }
    }
    return p ? 1 : 0;
}
