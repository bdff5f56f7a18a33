// The cyclotomic values (B^E - 1)/(B - 1) and (B^E + 1)/(B + 1) (repunits
// in base B, Wagstaff's numbers for B = 2): N - 1 = B (B^(E-1) - 1)/(B - S)
// is then B (whose primes trial division finds) times the cyclotomic values
// Phi_d(B) for d | E - 1, but the one the denominator takes away. Each is
// much smaller than N and factored on its own.

#include "factor/preuve/preuve.hpp"

#include <cmath>
#include <map>

namespace {

// N = (B^E - S)/(B - S), that is B^E = N (B - S) + S.
bool egal(const mpz_class& n, unsigned long b, unsigned long e, int s) {
    mpz_class p;
    mpz_ui_pow_ui(p.get_mpz_t(), b, e);
    mpz_class d = s > 0 ? mpz_class(b - 1) : mpz_class(b + 1);
    return p == n * d + s;
}

} // namespace

bool forme_cyclotomique(const mpz_class& n, Cyclotomique& forme) {
    if (n < 7) {
        return false;
    }
    long exposant = 0;
    double mantisse = mpz_get_d_2exp(&exposant, n.get_mpz_t());
    double log_n = static_cast<double>(exposant) + std::log2(mantisse);
    for (unsigned long b = 2; b <= reglage_preuve::BASE_CYCLOTOMIQUE; ++b) {
        double log_b = std::log2(static_cast<double>(b));
        for (int s : {1, -1}) {
            double d = static_cast<double>(s > 0 ? b - 1 : b + 1);
            double e = (log_n + std::log2(d)) / log_b;
            double arrondi = std::round(e);
            if (arrondi < 3 || std::fabs(e - arrondi) > 1e-6) {
                continue;
            }
            auto ex = static_cast<unsigned long>(arrondi);
            if (egal(n, b, ex, s)) {
                forme = {b, ex, s};
                return true;
            }
        }
        if (2 * log_b > log_n + 2) {
            break; // E would be below 3
        }
    }
    return false;
}

std::vector<mpz_class> morceaux_cyclotomiques(const Cyclotomique& forme) {
    // Phi_d(B) = (B^d - 1) / the product of Phi_k(B) over k | d, k < d.
    unsigned long m = forme.e - 1;
    std::map<unsigned long, mpz_class> phi;
    std::vector<mpz_class> morceaux;
    for (unsigned long d = 1; d <= m; ++d) {
        if (m % d != 0) {
            continue;
        }
        mpz_class v;
        mpz_ui_pow_ui(v.get_mpz_t(), forme.b, d);
        v -= 1;
        for (const auto& [k, p] : phi) {
            if (d % k == 0) {
                mpz_divexact(v.get_mpz_t(), v.get_mpz_t(), p.get_mpz_t());
            }
        }
        phi[d] = v;
        if (d != (forme.s > 0 ? 1UL : 2UL)) {
            morceaux.push_back(v);
        }
    }
    return morceaux;
}
