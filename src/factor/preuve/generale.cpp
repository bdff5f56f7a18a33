// The general proof, when no form applies: PARI's ECPP or APR-CL, whichever
// is faster at the size of N (see below). An error of the library (its stack
// at its limit, say) leaves the verdict unknown.

#include "factor/pari.hpp"
#include "factor/preuve/preuve.hpp"

#include <pari/pari.h>

namespace {

// APR-CL below this size, ECPP from it:
constexpr long BITS_ECPP = 0;

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

} // namespace

Verdict preuve_generale(const mpz_class& n) {
    if (n < 2) {
        return Verdict::compose;
    }
    preparer_pari();
    pari_sp av = avma;
    volatile long r = -1;
    pari_CATCH(CATCH_ALL) {
        r = -1;
    }
    pari_TRY {
        GEN x = entier_pari(n);
        r = expi(x) + 1 >= BITS_ECPP ? isprimeECPP(x) : isprimeAPRCL(x);
    }
    pari_ENDCATCH;
    set_avma(av);
    if (r < 0) {
        return Verdict::inconnu;
    }
    return r != 0 ? Verdict::premier : Verdict::compose;
}
