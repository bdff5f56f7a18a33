#include "primes/cible.hpp"

#include "state/table.hpp"

#include <algorithm>
#include <cmath>
#include <ctime>

namespace {

constexpr std::int64_t SECONDE = 1'000'000'000;

std::int64_t maintenant() {
    timespec t{};
    clock_gettime(CLOCK_MONOTONIC, &t);
    return t.tv_sec * SECONDE + t.tv_nsec;
}

CibleTable* cible_courante = nullptr;
Tache croissance_libre("Nombres premiers charges/calcules"); // growth with no goal set
std::int64_t derniere_veille = 0;

// About how many primes there are up to X: X / (ln X - 1.1), close enough
// for a time estimate.
double rang_estime(double x) {
    return x < 100 ? 25 : x / (std::log(x) - 1.1);
}

} // namespace

CibleTable::CibleTable(double cible, bool par_rang, bool plafonnee)
    : avant_(cible_courante), tache_("Nombres premiers charges/calcules"),
      depart_(static_cast<double>(np)), cible_(par_rang ? cible : rang_estime(cible)) {
    if (plafonnee) {
        cible_ = std::min(cible_, static_cast<double>(rang_fichier));
    }
    cible_courante = this;
}

CibleTable::~CibleTable() {
    cible_courante = avant_;
}

void veille_table() {
    verifier_interruption();
    CibleTable* c = cible_courante;
    if (c == nullptr) {
        // A burst of growth with no goal: its time counts from its first call.
        std::int64_t t = maintenant();
        if (t - derniere_veille > SECONDE) {
            croissance_libre.recommencer();
        }
        derniere_veille = t;
        croissance_libre.point(0, 0, np);
        return;
    }
    // The estimate of a rank may fall short: then only the time spent is told.
    c->tache_.point(static_cast<double>(np) - c->depart_, c->cible_ - c->depart_, np);
}
