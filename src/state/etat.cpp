// Every program-wide object is defined here, in start-up order: within one
// file C++ constructs in the order of definition and destroys in reverse, so
// this file is the program's construction and shutdown order.

#include "state/etat.hpp"

#include "base/descripteurs.hpp"
#include "base/remplissage.hpp"
#include "state/reponses.hpp"
#include "state/sortie.hpp"
#include "state/table.hpp"
#include "state/travail.hpp"

#include <cstdlib>

namespace {

// The dialogue can no longer be written: the user is told why, and the
// program ends with the status of a failure, 2.
[[noreturn]] void sortie_perdue(int erreur) {
    dire_ecriture_impossible("premiers", erreur);
    std::_Exit(2);
}

} // namespace

// First of all, before any static object of any file opens a file.
__attribute__((init_priority(101))) DescripteursStandard descripteurs;

Sortie out(sortie_perdue);

ZZ S, valeur0, valtest2;
TablePremiers Nprem(3, 0);
std::optional<Remplissage> remplissage; // after the table: stopped before it goes
std::vector<std::int64_t> Nexpo(1, 0);
std::vector<std::int64_t> Nfact(1, 0);

std::int64_t np = 0;
std::int64_t i = 0;
std::int64_t rang_fichier = RANG_FICHIER;

char message[200];
std::int32_t valeur2 = 0;
std::int64_t valeur = 0;
std::int32_t xn = 0;
std::int32_t un = 0;
std::int32_t voir = 0;
std::int64_t valtest1 = 0;

std::int64_t k = 0;
std::int32_t recalc = 1;
std::int32_t compter = 0;
std::int64_t w1 = 0;
std::int32_t A = 0;

void valeurs_initiales() {
    S = 0, valeur0 = 0, valtest2 = 0;
    i = 0;
    message[0] = '\0';
    valeur2 = 0, valeur = 0, xn = 0, un = 0, voir = 0, valtest1 = 0;
    k = 0;
    recalc = 1, compter = 0, w1 = 0, A = 0;
}

void etat_initial(std::int64_t plafond) {
    valeurs_initiales();
    remplissage.reset(); // its fillers stopped before the table starts again
    Nprem.assign(1, 0);
    Nprem.push_back(2);
    Nprem.push_back(3);
    np = 2;
    rang_fichier = plafond;
    remplissage.emplace(Nprem);
    Nexpo.assign(1, 0);
    Nfact.assign(1, 0);
}

void terminer() {
    out.flush();
    std::exit(1);
}
