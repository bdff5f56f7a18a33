// Every program-wide object is defined here, in start-up order: within one
// file C++ constructs in the order of definition and destroys in reverse, so
// this file is the program's construction and shutdown order.

#include "state/etat.hpp"

#include "state/descripteurs.hpp"
#include "state/reponses.hpp"
#include "state/table.hpp"
#include "state/travail.hpp"

#include <cstdlib>

// First of all, before any static object of any file opens a file.
__attribute__((init_priority(101))) DescripteursStandard descripteurs;

Sortie out;

ZZ reste, S1, S, rS, valeur0, valtest2, S2, P1, P2, debu, fin;
FluxListe monFlux("liste.txt");
TablePremiers Nprem(3, 0);
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

std::int64_t S3 = 0;
std::int64_t rS1 = 0;
std::int64_t reste1 = 0;
std::int64_t k = 0;
std::int32_t recalc = 1;
std::int32_t compter = 0;
std::int64_t w1 = 0;
std::int32_t A = 0;

void demarrage() {
    np = 2;
    Nprem[1] = 2;
    Nprem[2] = 3;
}

void (*fin_essai)() = nullptr;

void terminer() {
    out.flush();
    if (fin_essai != nullptr) {
        fin_essai();
    }
    std::exit(1);
}
