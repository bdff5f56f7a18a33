// The general proof, when no form applies: PARI's isprime (which for these
// sizes ends with APR-CL) or ECPP, whichever is faster at the size of N. An
// error of the library (its stack at its limit, say) in the first hands N
// to ECPP; in ECPP, it leaves the verdict unknown.

#include "factor/pari.hpp"
#include "factor/preuve/preuve.hpp"

#include <pari/pari.h>

namespace {

GEN entier_pari(const mpz_class& n) {
    auto l = static_cast<long>(mpz_size(n.get_mpz_t()));
    GEN x = cgeti(l + 2);
    x[1] = evalsigne(1) | evallgefint(l + 2);
    const mp_limb_t* limbes = mpz_limbs_read(n.get_mpz_t());
    GEN w = int_LSW(x);
    for (long t = 0; t < l; ++t, w = int_nextW(w)) {
        *w = static_cast<long>(limbes[t]);
    }
    return x;
}

// 1 or 0 from the library's test, -1 on its error.
long essai(const mpz_class& n, long (*test)(GEN)) {
    pari_sp av = avma;
    volatile long r = -1;
    pari_CATCH(CATCH_ALL) {
        r = -1;
    }
    pari_TRY {
        r = test(entier_pari(n));
    }
    pari_ENDCATCH;
    set_avma(av);
    return r;
}

} // namespace

Verdict preuve_generale(const mpz_class& n) {
    if (n < 2) {
        return Verdict::compose;
    }
    preparer_pari();
    long r = -1;
    if (mpz_sizeinbase(n.get_mpz_t(), 2) < reglage_preuve::BITS_ECPP) {
        r = essai(n, isprime);
    }
    if (r < 0) {
        r = essai(n, isprimeECPP);
    }
    if (r < 0) {
        return Verdict::inconnu;
    }
    return r != 0 ? Verdict::premier : Verdict::compose;
}
