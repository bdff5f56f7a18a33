#include "factor/ecm.hpp"

#include "base/equipe.hpp"
#include "base/interruption.hpp"
#include "base/memoire.hpp"
#include "factor/entier.hpp"
#include "factor/reglages.hpp"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <ctime>
#include <ecm.h>
#include <iterator>
#include <mutex>
// AddressSanitizer's mark: gcc's macro, or clang's feature.
#if defined(__SANITIZE_ADDRESS__)
#define PREMIERS_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define PREMIERS_ASAN 1
#endif
#endif
#if defined(PREMIERS_ASAN)
#include <sanitizer/lsan_interface.h>
#endif

namespace {

using Horloge = std::chrono::steady_clock;

constexpr int DERNIER_PALIER = static_cast<int>(std::size(PALIERS_ECM)) - 1;

double secondes_depuis(Horloge::time_point t) {
    return std::chrono::duration<double>(Horloge::now() - t).count();
}

// Processor time of the calling thread: the time allowed is counted in it,
// so that other work on the machine does not cut the search short.
double processeur() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + 1e-9 * static_cast<double>(t.tv_nsec);
}

// Where curve I of the ladder lies: its rung, and its rank in the rung.
struct Place {
    int palier;
    long rang;
};

long debut_palier(int palier) {
    long debut = 0;
    for (int r = 0; r < palier; ++r) {
        debut += PALIERS_ECM[r].courbes;
    }
    return debut;
}

Place placer(long i) {
    int r = 0;
    for (; r < DERNIER_PALIER && i >= PALIERS_ECM[r].courbes; ++r) {
        i -= PALIERS_ECM[r].courbes;
    }
    return {r, i % PALIERS_ECM[r].courbes};
}

// The parameter of curve I: spread over [2^16, 2^32), far from the small
// values some parametrisations treat apart.
unsigned long sigma(long i) {
    auto x = static_cast<std::uint64_t>(i) + 0x9E3779B97F4A7C15u;
    x = (x ^ (x >> 30)) * 0xBF58476D1CE4E5B9u;
    x = (x ^ (x >> 27)) * 0x94D049BB133111EBu;
    x ^= x >> 31;
    constexpr std::uint64_t BAS = std::uint64_t{1} << 16;
    return static_cast<unsigned long>(BAS + x % ((std::uint64_t{1} << 32) - BAS));
}

// What GMP-ECM's stop test looks at, for the curve running on this thread.
struct Veille {
    const Equipe* equipe = nullptr;
    bool appelant = false; // part 0: Ctrl-C is looked at here
    Horloge::time_point debut;
    double etape1 = -1; // seconds of the curve's first stage, once known
};
thread_local Veille veille;

// GMP-ECM calls it all through the second stage, and in the fastest
// parametrisation at the end of the first (the first call then times it).
int arreter_vite() {
    if (veille.etape1 < 0) {
        veille.etape1 = secondes_depuis(veille.debut);
    }
    bool arret = veille.equipe->arret() || (veille.appelant && interruption_demandee != 0);
    return arret ? 1 : 0;
}

// GMP-ECM's messages (errors only, with no verbosity) go nowhere: the
// screen is the program's.
FILE* muet() {
    static FILE* nul = std::fopen("/dev/null", "w");
    return nul != nullptr ? nul : stderr;
}

// One part's parameters, reused from curve to curve (the product of the
// primes up to B1 is computed once per rung).
class Parametres {
  public:
    explicit Parametres(double memoire) {
        ecm_init(p_);
        p_->os = muet();
        p_->es = muet();
        p_->maxmem = memoire;
        p_->stop_asap = arreter_vite;
    }
    ~Parametres() { ecm_clear(p_); }
    Parametres(const Parametres&) = delete;
    Parametres& operator=(const Parametres&) = delete;

    // A new curve: starting point, bounds and stage 2 back to their defaults.
    ecm_params_ptr courbe(int parametrisation, unsigned long s) {
        mpz_set_ui(p_->x, 0);
        mpz_set_ui(p_->y, 0);
        p_->param = parametrisation;
        mpz_set_ui(p_->sigma, s);
        p_->sigma_is_A = 0;
        p_->B1done = ECM_DEFAULT_B1_DONE;
        mpz_set_si(p_->B2min, -1);
        mpz_set_si(p_->B2, ECM_DEFAULT_B2);
        return p_;
    }

  private:
    ecm_params p_;
};

// One curve. GMP-ECM 7.0.5 leaks the coefficients of a curve it sets up in
// each call (128 bytes): under LeakSanitizer the call's allocations are not
// reported.
int lancer_courbe(mpz_t f, mpz_t n, double b1, ecm_params_ptr p) {
#if defined(PREMIERS_ASAN)
    __lsan::ScopedDisabler hors_bilan;
#endif
    return ecm_factor(f, n, b1, p);
}

// Seconds of a product modulo N, of N's size.
double temps_produit(mpz_srcptr n) {
    Entier a;
    mpz_tdiv_q_ui(a, n, 3);
    Entier b;
    long fois = 0;
    auto t0 = Horloge::now();
    do {
        for (int t = 0; t < 8; ++t, ++fois) {
            mpz_mul(b, a, a);
            mpz_mod(a, b, n);
        }
    } while (secondes_depuis(t0) < 1e-4);
    return secondes_depuis(t0) / static_cast<double>(fois);
}

// Which parametrisation the next curve of a part uses: GMP-ECM's fastest,
// whose first stage does not look at the stop request, while that stage
// should last at most ETAPE1_LONGUE seconds; beyond, the one that looks at
// it at every prime. The first stage's length grows as B1: it is foreseen
// from the last one timed, or before any from the time of a product (such
// a stage costs 10 to 18 products per unit of B1, at 450 bits as at 31,000).
class Choix {
  public:
    explicit Choix(double produit) : par_b1_(18 * produit) {}

    int pour(double b1) const {
        return par_b1_ * b1 > ETAPE1_LONGUE ? ECM_PARAM_SUYAMA : ECM_PARAM_BATCH_SQUARE;
    }
    void mesure(int parametrisation, double b1, double etape1) {
        if (parametrisation == ECM_PARAM_BATCH_SQUARE && etape1 >= 0) {
            par_b1_ = etape1 / b1;
        }
    }

  private:
    double par_b1_; // seconds of a first stage per unit of B1
};

// How many parts, and how much second-stage memory each (in bytes, 0: no
// limit known), within what is free: half of it is left to the rest of the
// program; a part beyond the first takes a thread of its own, with its
// stack and its allocator's arena. No part at all when not even one fits.
struct Moyens {
    int parts;
    double memoire;
};

Moyens moyens(int voulues) {
    std::uint64_t libre = memoire_libre();
    if (libre == UINT64_MAX) {
        return {voulues, 0};
    }
    double part = PART_MEMOIRE_ECM * static_cast<double>(libre);
    int parts = voulues;
    while (parts > 1 && (parts - 1) * MEMOIRE_FIL + parts * MEMOIRE_ETAPE2_MIN > part) {
        --parts;
    }
    if (MEMOIRE_ETAPE2_MIN > part) {
        return {0, 0};
    }
    return {parts, std::max(MEMOIRE_ETAPE2_MIN, (part - (parts - 1) * MEMOIRE_FIL) / parts)};
}

// One search: the curves handed out in turn to the parts, the first factor
// kept.
class Chasse {
  public:
    Chasse(const mpz_t n, const OptionsEcm& options, Equipe& equipe, double memoire)
        : n_(n), options_(options), equipe_(equipe), memoire_(memoire), produit_(temps_produit(n)),
          palier_(std::clamp(options.palier, 0, DERNIER_PALIER)),
          premiere_(debut_palier(palier_.load())), suivante_(premiere_) {}

    void partie(int part) {
        Entier n(n_); // each part its own copy
        Entier f;
        Parametres p(memoire_);
        Choix choix(produit_);
        veille = {&equipe_, part == 0, {}, -1};
        const double debut = processeur();
        while (!fini(part, debut)) {
            long i = suivante_.fetch_add(1);
            Place c = placer(i);
            monter(c.palier);
            const PalierEcm& r = PALIERS_ECM[c.palier];
            if (part == 0 && options_.avancement) {
                options_.avancement(r.libelle, c.rang + 1, r.courbes);
            }
            int parametrisation = choix.pour(r.b1);
            veille.debut = Horloge::now();
            veille.etape1 = -1;
            int resultat = lancer_courbe(f, n, r.b1, p.courbe(parametrisation, sigma(i)));
            faites_.fetch_add(1, std::memory_order_relaxed);
            choix.mesure(parametrisation, r.b1, veille.etape1);
            if (ECM_ERROR_P(resultat)) {
                equipe_.arreter(); // out of memory, say: the caller takes over
            } else if (ECM_FACTOR_FOUND_P(resultat) && mpz_cmp_ui(f, 1) > 0 && mpz_cmp(f, n) < 0) {
                garder(f);
            }
        }
    }

    bool resultat(mpz_t facteur, BilanEcm* bilan) {
        if (bilan != nullptr) {
            *bilan = {palier_.load(), faites_.load()};
        }
        std::lock_guard l(m_);
        if (trouve_) {
            mpz_set(facteur, f_);
        }
        return trouve_;
    }

  private:
    // Whether the part stops: Ctrl-C on the calling thread, a factor found,
    // the time allowed spent by this part (from DEBUT, its processor time
    // when it started).
    bool fini(int part, double debut) {
        if (part == 0) {
            verifier_interruption();
        }
        return equipe_.arret() ||
               (options_.secondes > 0 && suivante_.load() - premiere_ >= options_.courbes_min &&
                processeur() - debut >= options_.secondes);
    }

    void monter(int palier) {
        int p = palier_.load(std::memory_order_relaxed);
        while (p < palier && !palier_.compare_exchange_weak(p, palier)) {
        }
    }

    void garder(const mpz_t f) {
        std::lock_guard l(m_);
        if (!trouve_) {
            mpz_set(f_, f);
            trouve_ = true;
        }
        equipe_.arreter();
    }

    const mpz_srcptr n_;
    const OptionsEcm& options_;
    Equipe& equipe_;
    const double memoire_;
    const double produit_;    // seconds of a product modulo N
    std::atomic<int> palier_; // the highest rung started
    const long premiere_;     // the first curve, in the ladder
    std::atomic<long> suivante_;
    std::atomic<long> faites_{0};
    std::mutex m_;
    Entier f_;
    bool trouve_ = false;
};

} // namespace

bool courbes_elliptiques(mpz_t facteur, const mpz_t n, const OptionsEcm& options, BilanEcm* bilan) {
    Moyens m = moyens(options.parts > 0 ? options.parts : Equipe().parts());
    if (m.parts == 0) {
        return false;
    }
    Equipe equipe(m.parts);
    Chasse chasse(n, options, equipe, m.memoire);
    equipe.executer([&](int part) { chasse.partie(part); });
    return chasse.resultat(facteur, bilan);
}
