// genliste: writes liste.txt, the primes from 5 (rank 3) on, one per line.
//
//   genliste [COUNT] [FILE]
//   genliste --help | --version
//
// COUNT values (149999998 by default: ranks 3 to 150000000) go to FILE
// (liste.txt by default). The file is written under a short temporary name
// in FILE's folder and renamed when complete, so an interrupted or failed run
// never leaves a truncated file, nor the temporary one: every signal that
// ends the program and can be caught removes it, and the temporary file of
// an earlier run killed outright (SIGKILL) is removed by the next run. FILE
// may be missing or a regular file, which is replaced; through a symbolic
// link the link's target is written. Anything else (a folder, a device, a
// FIFO, a socket) is left alone.

#include "base/sortie.hpp"

#include <cerrno>
#include <charconv>
#include <csignal>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <memory>
#include <primesieve.hpp>
#include <string>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr std::uint64_t COMPTE_COMPLET = 149'999'998;
constexpr std::size_t TAILLE = 8 << 20;
// Every signal whose default action ends the program and that can be caught.
constexpr int SIGNAUX_FIN[] = {SIGHUP,  SIGINT,    SIGQUIT, SIGILL,  SIGTRAP, SIGABRT, SIGBUS,
                               SIGFPE,  SIGUSR1,   SIGSEGV, SIGUSR2, SIGPIPE, SIGALRM, SIGTERM,
                               SIGXCPU, SIGVTALRM, SIGPROF, SIGIO,   SIGSYS,  SIGPWR,  SIGSTKFLT};
constexpr char PREFIXE[] = ".genliste.";
// A temporary file untouched for this long, and locked by no run, was left
// by a run killed outright.
constexpr int DELAI_ABANDON = 60;

const char USAGE[] = "Usage : genliste [NOMBRE [FICHIER]] | --help | --version\n";
const char AIDE[] =
    "\n"
    "Ecrit dans FICHIER (liste.txt par defaut) les NOMBRE premiers nombres premiers a\n"
    "partir de 5, un par ligne (149999998 par defaut : les rangs 3 a 150000000, environ\n"
    "1,6 Go). premiers n'a pas besoin de ce fichier : quand il est la, il le lit et en\n"
    "verifie chaque valeur.\n"
    "\n"
    "  --help     affiche cette aide et termine\n"
    "  --version  affiche la version et termine\n";

// What the signal handler needs: the temporary file to remove, and whether
// the progress line waits for its line feed.
char provisoire[4096];
volatile std::sig_atomic_t cree = 0;
volatile std::sig_atomic_t ligne_ouverte = 0;

void retirer_provisoire() {
    if (cree != 0) {
        ::unlink(provisoire);
        cree = 0;
    }
    if (ligne_ouverte != 0) {
        [[maybe_unused]] ssize_t w = ::write(STDERR_FILENO, "\n", 1);
        ligne_ouverte = 0;
    }
}

extern "C" void sur_signal(int signal) {
    retirer_provisoire();
    ::signal(signal, SIG_DFL);
    ::raise(signal); // ends as the signal would have, status included
}

// Every signal that ends the program removes the temporary file, except those
// ignored from the start (nohup). SIGXFSZ is ignored so that a write beyond
// the file size limit fails with EFBIG and is reported.
void installer_signaux() {
    for (int s : SIGNAUX_FIN) {
        struct sigaction avant {};
        sigaction(s, nullptr, &avant);
        if (avant.sa_handler == SIG_IGN) {
            continue;
        }
        struct sigaction sa {};
        sa.sa_handler = sur_signal;
        sigemptyset(&sa.sa_mask);
        for (int t : SIGNAUX_FIN) {
            sigaddset(&sa.sa_mask, t);
        }
        sigaction(s, &sa, nullptr);
    }
    std::signal(SIGXFSZ, SIG_IGN);
}

[[noreturn]] void sortir(const std::string& quoi, const char* pourquoi) {
    retirer_provisoire();
    std::fprintf(stderr, "genliste: %s: %s\n", quoi.c_str(), pourquoi);
    std::exit(2);
}

[[noreturn]] void echec(const std::string& quoi) {
    sortir(quoi, std::strerror(errno));
}

bool lire_compte(const char* texte, std::uint64_t& n) {
    const char* fin = texte + std::strlen(texte);
    auto [p, ec] = std::from_chars(texte, fin, n);
    return ec == std::errc() && p == fin;
}

std::string dossier_de(const std::string& chemin) {
    std::size_t barre = chemin.rfind('/');
    if (barre == std::string::npos) {
        return ".";
    }
    return barre == 0 ? "/" : chemin.substr(0, barre);
}

// The file that NOM designates, symbolic links followed (also one whose
// target does not exist yet, which is then created).
std::string cible(const std::string& nom) {
    std::string chemin = nom;
    for (int liens = 0; liens < 40; ++liens) {
        struct stat etat {};
        if (::lstat(chemin.c_str(), &etat) != 0 || !S_ISLNK(etat.st_mode)) {
            return chemin;
        }
        std::string vers(4096, '\0');
        ssize_t n = ::readlink(chemin.c_str(), vers.data(), vers.size());
        if (n < 0 || static_cast<std::size_t>(n) >= vers.size()) {
            echec(chemin);
        }
        vers.resize(static_cast<std::size_t>(n));
        chemin = vers[0] == '/' ? vers : dossier_de(chemin) + "/" + vers;
    }
    errno = ELOOP;
    echec(nom);
}

// Refuses to replace anything but a regular file.
void verifier_cible(const std::string& chemin) {
    struct stat etat {};
    if (::stat(chemin.c_str(), &etat) != 0) {
        if (errno == ENOENT) {
            return;
        }
        echec(chemin);
    }
    if (!S_ISREG(etat.st_mode)) {
        sortir(chemin, "n'est pas un fichier ordinaire: il n'est pas remplace");
    }
}

// Removes from DOSSIER the temporary files of earlier runs that were killed
// outright: untouched for a while and locked by no run (a run holds a lock
// on its own while it writes).
void retirer_abandonnes(const std::string& dossier) {
    DIR* d = ::opendir(dossier.c_str());
    if (d == nullptr) {
        return;
    }
    while (const dirent* e = ::readdir(d)) {
        std::string nom = e->d_name;
        if (nom.rfind(PREFIXE, 0) != 0 || nom.size() != sizeof PREFIXE - 1 + 6) {
            continue;
        }
        std::string chemin = dossier + "/" + nom;
        int fd = ::open(chemin.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK);
        struct stat etat {};
        if (fd < 0) {
            continue;
        }
        if (::fstat(fd, &etat) == 0 && S_ISREG(etat.st_mode) &&
            etat.st_mtime + DELAI_ABANDON < ::time(nullptr) &&
            ::flock(fd, LOCK_EX | LOCK_NB) == 0) {
            ::unlink(chemin.c_str());
        }
        ::close(fd);
    }
    ::closedir(d);
}

// Creates the temporary file beside CHEMIN, readable by all as a plain
// created file would be, and locked as long as this run lives. Signals wait
// meanwhile, so that the handler never sees a name that is not ours.
int creer_provisoire(const std::string& chemin) {
    std::string modele = dossier_de(chemin) + "/.genliste.XXXXXX";
    if (modele.size() >= sizeof provisoire) {
        errno = ENAMETOOLONG;
        echec(chemin);
    }
    sigset_t bloques, avant;
    sigemptyset(&bloques);
    for (int s : SIGNAUX_FIN) {
        sigaddset(&bloques, s);
    }
    sigprocmask(SIG_BLOCK, &bloques, &avant);
    std::memcpy(provisoire, modele.c_str(), modele.size() + 1);
    int fd = ::mkostemp(provisoire, O_CLOEXEC);
    int erreur = errno;
    cree = fd >= 0 ? 1 : 0;
    sigprocmask(SIG_SETMASK, &avant, nullptr);
    if (fd < 0) {
        errno = erreur;
        echec(modele);
    }
    mode_t masque = ::umask(0);
    ::umask(masque);
    if (::fchmod(fd, 0644 & ~masque) != 0 || ::flock(fd, LOCK_EX) != 0) {
        echec(chemin);
    }
    return fd;
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
    ligne_ouverte = 1; // before the line: a signal in between still ends it
    std::fprintf(stderr, "\rgenliste: %3d %%", static_cast<int>(fait * 100 / total));
}

} // namespace

int main(int argc, char** argv) {
    std::uint64_t compte = COMPTE_COMPLET;
    const char* nom = "liste.txt";
    if (argc == 2 && std::strcmp(argv[1], "--help") == 0) {
        return afficher_textes("genliste", {USAGE, AIDE});
    }
    if (argc == 2 && std::strcmp(argv[1], "--version") == 0) {
        return afficher_textes("genliste", {"genliste " PREMIERS_VERSION "\n"});
    }
    if (argc > 3 || (argc > 1 && !lire_compte(argv[1], compte))) {
        std::fputs(USAGE, stderr);
        return 2;
    }
    if (argc > 2) {
        nom = argv[2];
    }
    installer_signaux();
    std::string chemin = cible(nom);
    verifier_cible(chemin);
    retirer_abandonnes(dossier_de(chemin));
    int fd = creer_provisoire(chemin);
    bool terminal = isatty(STDERR_FILENO) != 0;
    auto buf = std::make_unique<char[]>(TAILLE);
    std::size_t n = 0;
    primesieve::iterator it(5);
    for (std::uint64_t fait = 0; fait < compte; ++fait) {
        if (n > TAILLE - 24) {
            ecrire(fd, buf.get(), n, chemin);
            n = 0;
            if (terminal) {
                progression(fait, compte);
            }
        }
        char* fin = std::to_chars(buf.get() + n, buf.get() + TAILLE, it.next_prime()).ptr;
        *fin++ = '\n';
        n = static_cast<std::size_t>(fin - buf.get());
    }
    ecrire(fd, buf.get(), n, chemin);
    if (::close(fd) != 0) {
        echec(chemin);
    }
    verifier_cible(chemin); // nothing else has taken its place meanwhile
    if (std::rename(provisoire, chemin.c_str()) != 0) {
        echec(chemin);
    }
    cree = 0;
    if (terminal) {
        std::fprintf(stderr, "\rgenliste: 100 %%\n");
        ligne_ouverte = 0;
    }
    return 0;
}
