// The dependencies over GF(2) of matrices shaped like the quadratic sieve's
// (rows = columns + 64, 10 to 30 columns a row, the first columns dense):
// seconds and memory of the filtering and block Lanczos on one core and on
// two, each in a child process of its own whose peak of resident memory is
// read. The figures of M4RI's
// dense elimination, measured in the same run before it was dropped, are in
// bench/README.md.
//
//   bench_algebre [COLUMNS...]     (20000 50000 100000 150000 by default)

#include "factor/algebre_gf2.hpp"

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <malloc.h>
#include <random>
#include <set>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

MatriceCreuse comme_le_crible(std::uint32_t largeur, std::uint32_t lignes) {
    std::mt19937 alea(largeur);
    std::uniform_real_distribution<double> u(0, 1);
    MatriceCreuse m;
    m.largeur = largeur;
    for (std::uint32_t r = 0; r < lignes; ++r) {
        std::set<std::uint32_t> s;
        const auto poids = 10 + alea() % 21;
        while (s.size() < poids) {
            s.insert(static_cast<std::uint32_t>(std::pow(largeur + 1.0, u(alea))) - 1);
        }
        m.colonnes.insert(m.colonnes.end(), s.begin(), s.end());
        m.fermer_ligne();
    }
    return m;
}

long kilo_octets(const char* champ) {
    FILE* f = std::fopen("/proc/self/status", "r");
    char ligne[256];
    long k = 0;
    while (f != nullptr && std::fgets(ligne, sizeof ligne, f) != nullptr) {
        if (std::string(ligne).rfind(champ, 0) == 0) {
            k = std::atol(ligne + std::string(champ).size());
        }
    }
    if (f != nullptr) {
        std::fclose(f);
    }
    return k;
}

// Runs CALCUL in a child: its seconds, and its peak of resident memory
// above what it held at the start.
template <class F> void mesurer(const char* nom, std::uint32_t largeur, F calcul) {
    std::fflush(stdout);
    pid_t enfant = fork();
    if (enfant == 0) {
        if (FILE* f = std::fopen("/proc/self/clear_refs", "w")) {
            std::fputs("5", f); // the peak set back to the present
            std::fclose(f);
        }
        malloc_trim(0); // the pages the parent freed are not counted as ours
        long avant = kilo_octets("VmRSS:");
        auto t0 = std::chrono::steady_clock::now();
        std::clock_t c0 = std::clock();
        std::size_t n = calcul();
        double s = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
        double cpu = static_cast<double>(std::clock() - c0) / CLOCKS_PER_SEC;
        std::printf("%7u columns  %-8s %8.2f s (cpu %8.2f s)  %8.1f MB  %zu dependencies\n",
                    largeur, nom, s, cpu, static_cast<double>(kilo_octets("VmHWM:") - avant) / 1024,
                    n);
        std::fflush(stdout);
        _exit(0);
    }
    int etat = 0;
    waitpid(enfant, &etat, 0);
    if (!WIFEXITED(etat) || WEXITSTATUS(etat) != 0) {
        std::printf("%7u columns  %-8s failed\n", largeur, nom);
    }
}

} // namespace

int main(int argc, char** argv) {
    std::vector<std::uint32_t> tailles{20000, 50000, 100000, 150000};
    if (argc > 1) {
        tailles.clear();
        for (int a = 1; a < argc; ++a) {
            tailles.push_back(static_cast<std::uint32_t>(std::atol(argv[a])));
        }
    }
    for (std::uint32_t largeur : tailles) {
        MatriceCreuse m = comme_le_crible(largeur, largeur + 64);
        mesurer("1 part", largeur, [&] { return dependances(m, 64, 1).size(); });
        mesurer("2 parts", largeur, [&] { return dependances(m, 64, 2).size(); });
    }
    return 0;
}
