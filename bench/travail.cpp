// Time of the heavy requests of the factorisation and the concatenations,
// the table first grown to the end of liste.txt's range (what the literal
// routines would have done by then) so that only the request itself is
// timed.
//
//   bench_travail                 every request below
//   bench_travail N...            only the factorisation of each N, one line each

#include "concat/concat.hpp"
#include "factor/factor.hpp"
#include "input/entree.hpp"
#include "input/input.hpp"
#include "primes/portee.hpp"
#include "primes/primes.hpp"
#include "primes/remplissage.hpp"
#include "state/etat.hpp"
#include "state/sortie.hpp"
#include "state/table.hpp"

#include <chrono>
#include <cstdio>
#include <fcntl.h>
#include <sstream>
#include <string>
#include <unistd.h>

namespace {

double secondes_depuis(std::chrono::steady_clock::time_point t0) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
}

// Runs ROUTINE on the answers LIGNES, its output to /dev/null; returns its
// time.
double mesurer(int (*routine)(), const std::string& lignes) {
    std::istringstream flux(lignes);
    EntreeFlux entree(flux);
    Entree& avant = lire_depuis(entree);
    std::fflush(stdout);
    int ecran = ::dup(STDOUT_FILENO);
    int nul = ::open("/dev/null", O_WRONLY | O_CLOEXEC);
    ::dup2(nul, STDOUT_FILENO);
    auto t0 = std::chrono::steady_clock::now();
    routine();
    out.flush();
    double t = secondes_depuis(t0);
    ::dup2(ecran, STDOUT_FILENO);
    ::close(nul);
    ::close(ecran);
    lire_depuis(avant);
    return t;
}

} // namespace

int main(int argc, char** argv) {
    etat_initial();
    auto t0 = std::chrono::steady_clock::now();
    grandir_au_rang(RANG_FICHIER);
    attendre_table();
    std::printf("table to rank %ld: %.3f s\n", np, secondes_depuis(t0));
    if (argc > 1) {
        for (int a = 1; a < argc; ++a) {
            std::printf("[1] %zu digits %.4f s\n", std::string(argv[a]).size(),
                        mesurer(decomp, std::string(argv[a]) + "\n0\n"));
        }
        return 0;
    }
    const char* requetes[][3] = {
        {"1", "300000000000000380960000000000012449541", "two 20-digit primes"},
        {"1", "40000000000000000000000005047300000000000000000000013299873", "two 30-digit primes"},
        {"1", "340282366920938463463374607431768211457", "2^128 + 1"},
        {"1", "1000000000000000000000007", "a 25-digit prime"},
        {"4", "569184132684792414753732383311443356494347516733526516256586", "60 digits"},
    };
    for (auto& r : requetes) {
        int (*routine)() = r[0][0] == '1' ? decomp : concatN;
        std::printf("[%s] %-22s %.3f s\n", r[0], r[2],
                    mesurer(routine, std::string(r[1]) + "\n0\n"));
    }
    std::string n200;
    for (unsigned x = 7; n200.size() < 200; x = x * 1103515245 + 12345) {
        n200 += static_cast<char>('1' + (x >> 16) % 9);
    }
    std::printf("[4] %-22s %.3f s\n", "200 digits", mesurer(concatN, n200 + "\n0\n"));
    std::printf("[4] %-22s %.3f s\n", "range [1, 1e7] choice 2",
                mesurer(concat, "2\n1\n10000000\n1\n0\n"));
    return 0;
}
