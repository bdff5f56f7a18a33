#include "base/progression.hpp"

#include "base/reglages.hpp"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <ctime>
#include <sys/ioctl.h>
#include <unistd.h>

namespace {

constexpr std::int64_t SECONDE = 1'000'000'000;
constexpr std::int64_t ATTENTE = std::chrono::nanoseconds(ATTENTE_PROGRESSION).count();
constexpr std::int64_t INTERVALLE = std::chrono::nanoseconds(INTERVALLE_PROGRESSION).count();

const Tache* proprietaire = nullptr; // the task whose line is shown, or none
std::int64_t prochain_dessin = 0;
std::int64_t derniere_sortie = 0; // when standard output was last written
int terminal_erreur = -1;         // standard error is a terminal: -1 unknown, 0, 1
int terminal_sortie = 0;

std::int64_t maintenant() {
    timespec t{};
    clock_gettime(CLOCK_MONOTONIC, &t);
    return t.tv_sec * SECONDE + t.tv_nsec;
}

bool affichable() {
    if (terminal_erreur < 0) {
        terminal_erreur = isatty(STDERR_FILENO);
        terminal_sortie = isatty(STDOUT_FILENO);
    }
    return terminal_erreur == 1;
}

void ecrire(const char* s, std::size_t n) {
    while (n > 0) {
        ssize_t w = ::write(STDERR_FILENO, s, n);
        if (w <= 0) {
            return; // the line is only a help: never insist
        }
        s += w;
        n -= static_cast<std::size_t>(w);
    }
}

// "12 s", "3 min 05 s", "2 h 03 min".
int duree(char* s, std::size_t n, double secondes) {
    auto t = static_cast<long>(secondes + 0.5);
    if (t < 60) {
        return std::snprintf(s, n, "%ld s", t);
    }
    if (t < 3600) {
        return std::snprintf(s, n, "%ld min %02ld s", t / 60, t % 60);
    }
    return std::snprintf(s, n, "%ld h %02ld min", t / 3600, t / 60 % 60);
}

std::size_t largeur() {
    winsize w{};
    if (ioctl(STDERR_FILENO, TIOCGWINSZ, &w) == 0 && w.ws_col > 1) {
        return w.ws_col - 1u;
    }
    return 79;
}

void dessiner(const char* nom, double fait, double total, std::int64_t rang, double ecoule) {
    char ligne[256];
    int n = std::snprintf(ligne, sizeof ligne, "\r%s : ", nom);
    auto reste = [&] { return sizeof ligne - static_cast<std::size_t>(n); };
    if (rang >= 0) {
        n += std::snprintf(ligne + n, reste(), "rang %ld, ", static_cast<long>(rang));
    }
    if (total > 0 && fait > 0 && fait <= total) {
        n += std::snprintf(ligne + n, reste(), "%d %%, reste environ ",
                           static_cast<int>(100 * fait / total));
        n += duree(ligne + n, reste(), ecoule * (total - fait) / fait);
    } else {
        n += duree(ligne + n, reste(), ecoule);
    }
    auto utile = std::min(static_cast<std::size_t>(n), largeur() + 1); // the \r takes no column
    ecrire(ligne, utile);
    ecrire("\x1b[K", 3);
}

} // namespace

Tache::~Tache() {
    if (proprietaire == this) {
        effacer_progression();
    }
}

void Tache::point(double fait, double total, std::int64_t rang) {
    verifier_interruption();
    if (!affichable()) {
        return;
    }
    std::int64_t t = maintenant();
    if (debut_ == 0) {
        debut_ = t;
        return;
    }
    if (t - debut_ < ATTENTE || (proprietaire != nullptr && t < prochain_dessin)) {
        return;
    }
    // Output still flowing to the same screen is progress enough.
    if (terminal_sortie == 1 && t - derniere_sortie < ATTENTE) {
        return;
    }
    proprietaire = this;
    prochain_dessin = t + INTERVALLE;
    dessiner(nom_, fait, total, rang, static_cast<double>(t - debut_) / SECONDE);
}

void effacer_progression() {
    if (proprietaire != nullptr) {
        proprietaire = nullptr;
        ecrire("\r\x1b[K", 4);
    }
}

void avant_ecriture_sortie() {
    if (terminal_erreur == 1) {
        effacer_progression();
        derniere_sortie = maintenant();
    }
}
