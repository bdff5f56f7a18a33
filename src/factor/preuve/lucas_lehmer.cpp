// Lucas-Lehmer: 2^p - 1 is prime exactly when s(p - 2) = 0 mod 2^p - 1, for
// s(0) = 4 and s(i + 1) = s(i)^2 - 2. The reduction mod 2^p - 1 is a shift
// and an addition.

#include "factor/preuve/preuve.hpp"

namespace {

// X mod 2^P - 1 for 0 <= X < 2^(2P), in place; T a scratch value.
void reduire(mpz_class& x, mpz_class& t, unsigned long p, const mpz_class& m) {
    mpz_tdiv_q_2exp(t.get_mpz_t(), x.get_mpz_t(), p);
    mpz_tdiv_r_2exp(x.get_mpz_t(), x.get_mpz_t(), p);
    x += t;
    if (x >= m) {
        x -= m;
    }
}

} // namespace

bool lucas_lehmer(unsigned long p) {
    mpz_class m;
    mpz_ui_pow_ui(m.get_mpz_t(), 2, p);
    m -= 1;
    mpz_class s = 4;
    mpz_class t;
    for (unsigned long i = 2; i < p; ++i) {
        mpz_mul(s.get_mpz_t(), s.get_mpz_t(), s.get_mpz_t());
        reduire(s, t, p, m);
        if (s < 2) { // s^2 - 2 kept in [0, m)
            s += m;
        }
        s -= 2;
    }
    return s == 0;
}
