// ECM on every core: planted factors of 15 to 25 digits found, the time
// allowed kept, Ctrl-C and a refused thread handled, a long first stage
// cut short. The products were drawn so that one of the ladder's first two
// curves (B1 = 2000) finds the factor: each search takes milliseconds.

#include "aide.hpp"
#include "base/equipe.hpp"
#include "base/interruption.hpp"
#include "factor/ecm.hpp"
#include "factor/reglages.hpp"

#include <chrono>
#include <gmp.h>
#include <gtest/gtest.h>
#include <string>

namespace {

class Nombre {
  public:
    explicit Nombre(const char* decimal = "0") { mpz_init_set_str(v_, decimal, 10); }
    ~Nombre() { mpz_clear(v_); }
    Nombre(const Nombre&) = delete;
    Nombre& operator=(const Nombre&) = delete;
    operator mpz_ptr() { return v_; }
    std::string decimal() const {
        char* s = mpz_get_str(nullptr, 10, v_);
        std::string r(s);
        void (*liberer)(void*, std::size_t) = nullptr;
        mp_get_memory_functions(nullptr, nullptr, &liberer);
        liberer(s, r.size() + 1);
        return r;
    }

  private:
    mpz_t v_;
};

struct Plante {
    const char* n;
    const char* p;
};

// p of 15, 18, 20, 22 and 25 digits times a prime of 30 digits.
const Plante PLANTES[] = {
    {"14307528321487453330914206210333749509171689", "122455137566959"},
    {"12308778798182090257351688298833042647305142499", "115490613421204429"},
    {"1941508427854700149085738548393623089152197753751", "14582600680939470083"},
    {"239309615422168047261710595710612892285888995909959", "1579980368980351564859"},
    {"205299790660603830313450764608159271050760051030155171", "1324891230157773894482189"},
};

// nextprime(10^39) nextprime(2 10^39).
const char* const DEUX_DE_40 =
    "2000000000000000000000000000000000000017000000000000000000000000000000000000033";

void trouver(int parts) {
    for (const Plante& c : PLANTES) {
        Nombre n(c.n);
        Nombre f;
        OptionsEcm options;
        options.parts = parts;
        BilanEcm bilan;
        ASSERT_TRUE(courbes_elliptiques(f, n, options, &bilan)) << c.n;
        EXPECT_EQ(f.decimal(), c.p) << c.n;
        EXPECT_EQ(bilan.palier, 0) << c.n; // a part may run a few curves before the other starts
    }
}

TEST(Ecm, FindsPlantedFactors) {
    trouver(2);
    trouver(1);
}

TEST(Ecm, WithoutThreadsTheCallingThreadRunsTheCurves) {
    FilsRefuses refus;
    trouver(2);
}

// Two primes of 40 digits: out of reach of the time allowed, which is kept
// within a curve, and the rungs climbed as the progress says.
TEST(Ecm, TimeAllowedRunsOut) {
    Nombre n(DEUX_DE_40);
    Nombre f;
    OptionsEcm options;
    options.secondes = 0.3;
    options.palier = 1;
    long vus = 0;
    const char* dernier = nullptr;
    options.avancement = [&](const char* libelle, long courbes, long total) {
        ++vus;
        dernier = libelle;
        EXPECT_GE(courbes, 1);
        EXPECT_LE(courbes, total);
    };
    auto t0 = std::chrono::steady_clock::now();
    BilanEcm bilan;
    EXPECT_FALSE(courbes_elliptiques(f, n, options, &bilan));
    double secondes = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
    EXPECT_LT(secondes, 3.0);
    EXPECT_GE(bilan.palier, 1);
    EXPECT_GT(vus, 0);
    EXPECT_EQ(std::string(dernier),
              "Decomposition en facteurs premiers : ECM, B1 = 11000, courbes");
}

// Ctrl-C, seen on the calling thread between two curves, stops every part.
TEST(Ecm, CtrlCStopsTheSearch) {
    Nombre n(DEUX_DE_40);
    Nombre f;
    OptionsEcm options;
    long vus = 0;
    options.avancement = [&](const char*, long, long) {
        if (++vus == 3) {
            interruption_demandee = 1;
        }
    };
    EXPECT_THROW(courbes_elliptiques(f, n, options), Interruption);
    interruption_demandee = 0;
    EXPECT_EQ(vus, 3);
}

// On a number of 31,000 bits a first stage in GMP-ECM's fastest
// parametrisation would outlast the stop request by seconds: the curves
// start in the one that looks at it at every prime.
TEST(Ecm, CtrlCStopsALongFirstStage) {
    Nombre n;
    Nombre m;
    mpz_ui_pow_ui(n, 2, 11213);
    mpz_sub_ui(n, n, 1);
    mpz_ui_pow_ui(m, 2, 19937);
    mpz_sub_ui(m, m, 1);
    mpz_mul(n, n, m); // two Mersenne primes
    Nombre f;
    OptionsEcm options;
    options.avancement = [](const char*, long, long) { interruption_demandee = 1; };
    auto t0 = std::chrono::steady_clock::now();
    EXPECT_THROW(courbes_elliptiques(f, n, options), Interruption);
    interruption_demandee = 0;
    double secondes = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
    EXPECT_LT(secondes, ETAPE1_LONGUE + 1);
}

} // namespace
