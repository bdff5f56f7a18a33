#pragma once
// The elliptic curve method, by GMP-ECM's library, on every core: a factor
// of a composite, whatever its size. Knows no program-wide variable and
// prints nothing.
//
// The curves climb the rungs of PALIERS_ECM (reglages.hpp): the curves of a
// rung, then those of the next, with a larger B1; the last rung is run
// again and again. Curve i of the ladder has a parameter of its own, drawn
// from i alone, whichever part runs it: the same curves are tried from one
// run to the next.
//
// The curves run on the parts of an Equipe, each part with its own
// parameters and its own memory (GMP-ECM is thread-safe from its version 7
// on). A part looks at the stop request (a factor found by any part, the
// time allowed spent, Ctrl-C seen by part 0, the calling thread) between
// two curves and all through a curve's second stage. GMP-ECM's fastest
// first stage does not look at it: a part whose first stages last more
// than ETAPE1_LONGUE seconds goes over to the parametrisation that looks at
// it at every prime. Ctrl-C throws Interruption on the calling thread once
// every part has stopped; nothing else is thrown.

#include <functional>
#include <gmp.h>

struct OptionsEcm {
    int parts = 0;        // 0: one per core
    double secondes = 0;  // time allowed, checked between curves; 0: no limit
    long courbes_min = 0; // curves run whatever the time allowed
    int palier = 0;       // the first rung run (those below were run already)
    // Called between curves on the calling thread: the rung's text (a
    // literal), its curves started and its curves in all.
    std::function<void(const char* libelle, long courbes, long total)> avancement;
};

struct BilanEcm {
    int palier = 0;   // the rung of the last curve started
    long courbes = 0; // curves run, all parts together
};

// A factor F of N, 1 < F < N, into FACTEUR; false when every part spent its
// time, or GMP-ECM failed. N: odd, composite, not a perfect power.
bool courbes_elliptiques(mpz_t facteur, const mpz_t n, const OptionsEcm& options = {},
                         BilanEcm* bilan = nullptr);
