// genliste: writes liste.txt, the primes from 5 (rank 3) on, one per line.
//
//   genliste [COUNT] [FILE]
//
// COUNT values (149999998 by default: ranks 3 to 150000000) go to FILE
// (liste.txt by default). The file is written under a temporary name and
// renamed when complete, so an interrupted run never leaves a truncated file.

#include <cerrno>
#include <charconv>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <memory>
#include <primesieve.hpp>
#include <string>
#include <unistd.h>

namespace {

constexpr std::uint64_t COMPTE_COMPLET = 149'999'998;
constexpr std::size_t TAILLE = 8 << 20;

[[noreturn]] void echec(const std::string& quoi) {
    std::fprintf(stderr, "genliste: %s: %s\n", quoi.c_str(), std::strerror(errno));
    std::exit(2);
}

bool lire_compte(const char* texte, std::uint64_t& n) {
    const char* fin = texte + std::strlen(texte);
    auto [p, ec] = std::from_chars(texte, fin, n);
    return ec == std::errc() && p == fin;
}

void ecrire(int fd, const char* p, std::size_t n, const std::string& nom) {
    while (n > 0) {
        ssize_t w = ::write(fd, p, n);
        if (w < 0 && errno == EINTR) {
            continue;
        }
        if (w < 0) {
            echec(nom);
        }
        p += w;
        n -= static_cast<std::size_t>(w);
    }
}

void progression(std::uint64_t fait, std::uint64_t total) {
    std::fprintf(stderr, "\rgenliste: %3d %%", static_cast<int>(fait * 100 / total));
}

} // namespace

int main(int argc, char** argv) {
    std::uint64_t compte = COMPTE_COMPLET;
    const char* nom = "liste.txt";
    if (argc > 3 || (argc > 1 && !lire_compte(argv[1], compte))) {
        std::fprintf(stderr, "usage: genliste [COUNT] [FILE]\n");
        return 2;
    }
    if (argc > 2) {
        nom = argv[2];
    }
    std::string provisoire = std::string(nom) + ".tmp." + std::to_string(::getpid());
    int fd = ::open(provisoire.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0) {
        echec(provisoire);
    }
    bool terminal = isatty(STDERR_FILENO) != 0;
    auto buf = std::make_unique<char[]>(TAILLE);
    std::size_t n = 0;
    primesieve::iterator it(5);
    for (std::uint64_t fait = 0; fait < compte; ++fait) {
        if (n > TAILLE - 24) {
            ecrire(fd, buf.get(), n, provisoire);
            n = 0;
            if (terminal) {
                progression(fait, compte);
            }
        }
        char* fin = std::to_chars(buf.get() + n, buf.get() + TAILLE, it.next_prime()).ptr;
        *fin++ = '\n';
        n = static_cast<std::size_t>(fin - buf.get());
    }
    ecrire(fd, buf.get(), n, provisoire);
    if (::close(fd) != 0) {
        echec(provisoire);
    }
    if (std::rename(provisoire.c_str(), nom) != 0) {
        echec(nom);
    }
    if (terminal) {
        std::fprintf(stderr, "\rgenliste: 100 %%\n");
    }
    return 0;
}
