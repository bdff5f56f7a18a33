#pragma once
// A GMP integer owned for the length of a scope, handed to GMP's routines
// as the mpz_t it holds. Knows no program-wide variable.

#include <gmp.h>

class Entier {
  public:
    Entier() { mpz_init(v_); }
    explicit Entier(mpz_srcptr v) { mpz_init_set(v_, v); }
    ~Entier() { mpz_clear(v_); }
    Entier(const Entier&) = delete;
    Entier& operator=(const Entier&) = delete;
    operator mpz_ptr() { return v_; }
    operator mpz_srcptr() const { return v_; }
    mpz_srcptr operator->() const { return v_; } // for GMP's macros

  private:
    mpz_t v_;
};
