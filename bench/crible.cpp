// The quadratic sieve alone on each N: time, relations per second and the
// factor found, on the number of threads asked.
//
//   bench_crible PARTS N...
//   LIGNE="PREMIERS BLOCS MULTIPLE MARGE DOUBLES" bench_crible PARTS N...
//     with that row of the parameter table in place of the table's own

#include "factor/crible_qs.hpp"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <gmp.h>

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: bench_crible PARTS N...\n");
        return 2;
    }
    OptionsCrible options;
    options.parts = std::atoi(argv[1]);
    // With SUIVI set, the relations on standard error every ten seconds or so.
    auto t_suivi = std::chrono::steady_clock::now();
    if (std::getenv("SUIVI") != nullptr) {
        options.avancement = [&t_suivi](long fait, long total) {
            auto t = std::chrono::steady_clock::now();
            if (t - t_suivi > std::chrono::seconds(10)) {
                t_suivi = t;
                std::fprintf(stderr, "%ld / %ld relations\n", fait, total);
            }
        };
    }
    ParametresCrible ligne{};
    if (const char* texte = std::getenv("LIGNE"); texte != nullptr) {
        if (std::sscanf(texte, "%lf %lf %lf %lf %lf", &ligne.premiers, &ligne.blocs,
                        &ligne.multiple, &ligne.marge, &ligne.doubles) != 5) {
            std::fprintf(stderr, "LIGNE: five numbers\n");
            return 2;
        }
        options.parametres = &ligne;
    }
    mpz_t n, f;
    mpz_inits(n, f, nullptr);
    for (int a = 2; a < argc; ++a) {
        mpz_set_str(n, argv[a], 10);
        BilanCrible b;
        auto t0 = std::chrono::steady_clock::now();
        std::clock_t c0 = std::clock();
        bool ok = crible_quadratique(f, n, options, &b);
        double cpu = static_cast<double>(std::clock() - c0) / CLOCKS_PER_SEC;
        double t = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
        gmp_printf(
            "%zu digits, %d thread(s): %.3f s (cpu %.3f s, sieve %.3f s, algebra %.3f s), base %ld, "
            "%ld relations (%ld partial, %ld with two large primes, %ld cycles, %ld false), "
            "%.0f relations/s, %ld polynomials, factor %Zd%s\n",
            mpz_sizeinbase(n, 10), options.parts, t, cpu, b.secondes_crible, b.secondes_algebre,
            b.premiers, b.relations, b.partielles, b.doubles, b.cycles, b.cycles_faux,
            static_cast<double>(b.relations) / b.secondes_crible, b.polynomes, f,
            ok ? "" : " (none)");
    }
    mpz_clears(n, f, nullptr);
    return 0;
}
