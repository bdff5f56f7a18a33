// The prime table filled to rank 150,000,000 inside one process, against
// the time of reading liste.txt (which the program does not read) and of
// filling a fresh array of the same ranks.
//
//   bench_chargement [FILE]     (liste.txt by default; a missing file is read as empty)

#include "primes/portee.hpp"
#include "primes/primes.hpp"
#include "primes/remplissage.hpp"
#include "state/etat.hpp"
#include "state/table.hpp"

#include <chrono>
#include <cstdio>
#include <fcntl.h>
#include <memory>
#include <unistd.h>

namespace {

double secondes_depuis(std::chrono::steady_clock::time_point t0) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
}

// Reads the whole file through a 1 MiB buffer; returns its size.
long lecture_simple(const char* nom) {
    int fd = ::open(nom, O_RDONLY);
    auto buf = std::make_unique<char[]>(1 << 20);
    long total = 0;
    for (ssize_t n; (n = ::read(fd, buf.get(), 1 << 20)) > 0;) {
        total += n;
    }
    ::close(fd);
    return total;
}

// Fills a fresh array of N entries: the cost of first touching the memory a
// full table needs, which no way of reading the file avoids.
double tableau_neuf(std::size_t n) {
    auto t0 = std::chrono::steady_clock::now();
    auto p = std::make_unique_for_overwrite<std::int64_t[]>(n);
    for (std::size_t r = 0; r < n; ++r) {
        p[r] = static_cast<std::int64_t>(r);
    }
    volatile std::int64_t garde = p[n / 2];
    (void)garde;
    return secondes_depuis(t0);
}

} // namespace

int main(int argc, char** argv) {
    const char* nom = argc > 1 ? argv[1] : "liste.txt";
    lecture_simple(nom); // into the page cache
    auto t0 = std::chrono::steady_clock::now();
    long octets = lecture_simple(nom);
    double t_lecture = secondes_depuis(t0);

    double t_memoire = tableau_neuf(static_cast<std::size_t>(RANG_FICHIER) + 1);

    etat_initial();
    t0 = std::chrono::steady_clock::now();
    grandir_au_rang(RANG_FICHIER);
    attendre_table();
    double t_table = secondes_depuis(t0);
    std::printf("file %ld bytes read in %.3f s (%.0f MB/s)\n", octets, t_lecture,
                static_cast<double>(octets) / t_lecture / 1e6);
    std::printf("fresh array of %ld entries filled in %.3f s\n", RANG_FICHIER + 1, t_memoire);
    std::printf("table to rank %ld in %.3f s: %.1f M primes/s, %.2f x the plain read\n", np,
                t_table, static_cast<double>(np) / t_table / 1e6, t_table / t_lecture);
    std::printf("last prime %ld\n", Nprem[static_cast<std::size_t>(np)]);
    return 0;
}
