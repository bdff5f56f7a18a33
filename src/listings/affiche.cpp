// Menu [*] of the listing: reads the table as it stands to show one prime
// by its rank, the last prime under a bound, the primes between two ranks or
// two values, and runs of primes with the same gap (twins and the like).
// Nothing here makes the table grow: every question is bounded by its end.

#include "base/progression.hpp"
#include "input/input.hpp"
#include "listings/entrees.hpp"
#include "listings/listings.hpp"
#include "state/reponses.hpp"
#include "state/sortie.hpp"
#include "state/table.hpp"
#include "state/travail.hpp"

#include <algorithm>
#include <cstdint>
#include <limits>

namespace {

std::int32_t choix2 = 5; // the menu choice; 5 on entry so that the menu is shown
std::int64_t r1 = 0;     // lowest rank of a selection
std::int64_t r = 0;      // highest rank of a selection
std::int64_t maj1 = 0;   // lower bound on values (inclusive)
std::int64_t maj = 0;    // upper bound on values (inclusive)
std::int64_t dif = 0;    // option 5: the difference between consecutive primes
std::int64_t doub = 0;   // option 5: the least length of a run worth printing
std::int32_t db = 0;     // option 5: length of the run ending at the current rank
std::int64_t v = 0;      // option 5: pairs with difference dif met so far

void menu_selections() {
    out << " \n \n \n \t AFFICHAGE DE SELECTIONS DES NOMBRES PREMIERS DEJA CHARGES OU CALCULES. "
        << " \n \n \t Le dernier nombre premier charge/calcule est \t [ " << np << " : "
        << Nprem[np] << " ] ."
        << " \n \n \t Que voulez vous faire : "
        << " \n \n \t \t [1] - Voir un nombre premier dont le rang donne est inferieur a " << np
        << " ? "
        << " \n \n \t \t [2] - Voir le plus grand nombre premier majore par un nombre inferieur a "
        << Nprem[np] << " ? "
        << " \n \n \t \t [3] - Voir tous les nombres premiers dont les rangs sont compris entre deux limites inferieures a "
        << np << " ? "
        << " \n \n \t \t [4] - Voir tous les nombres premiers compris entre deux bornes inferieures a "
        << Nprem[np] << " ? "
        << " \n \n \t \t [5] - Chercher les nombres premiers consecutifs de difference fixee, compris entre deux bornes inferieures a "
        << Nprem[np] << " ? "
        << " \n \n \t \t [0] - Reprendre les calculs des nombres premiers superieurs a "
        << Nprem[np] << " de rang  " << np << " ? ";
}

constexpr std::int64_t SANS_PLAFOND = std::numeric_limits<std::int64_t>::max();

// Asks PROMPT for a positive integer until it lies between PLANCHER and
// PLAFOND; any other answer brings the question back, with no message.
std::int64_t entier_entre(const char* prompt, std::int64_t plancher, std::int64_t plafond) {
    question(prompt);
    do {
        xn = 1;
        A = controle(4, message);
        xn = 0;
    } while (valeur < plancher || valeur > plafond);
    return valeur;
}

std::int64_t entier_jusqua(const char* prompt, std::int64_t plafond) {
    return entier_entre(prompt, 1, plafond);
}

// The first rank whose prime is at least A (A <= Nprem[np]).
std::int64_t rang_minore(std::int64_t a) {
    auto debut = Nprem.begin() + 1;
    return std::lower_bound(debut, Nprem.begin() + np + 1, a) - Nprem.begin();
}

// The largest rank from S on whose prime is at most B, or S - 1 when the
// prime of rank S is already above B (1 <= S <= np + 1).
std::int64_t rang_majore(std::int64_t b, std::int64_t s) {
    return std::upper_bound(Nprem.begin() + s, Nprem.begin() + np + 1, b) - Nprem.begin() - 1;
}

void un_rang() {
    r = entier_jusqua(" \n \n \t Rang du nombre ? : ", np);
    out << " \n \n \t [ " << r << " : " << Nprem[r] << " ] ";
}

void plus_grand_majore() {
    maj = entier_jusqua("\n \n \t Majorant du nombre ? : ", Nprem[np]);
    r = rang_majore(maj, 1);
    out << " \n \n \t [ " << r << " : " << Nprem[r] << " ] ";
}

void rangs_entre() {
    do {
        r1 = entier_jusqua("\n \n \t Plus petit rang ? : ", np);
        out << " \n  ";
        r = entier_jusqua("\n \t Plus grand rang ? : ", np);
    } while (r1 > r);
    out << " \n \n ";
    entrees_rangs(r1, r);
}

// Both bounds on values, asked again together until the lower is at most the
// upper; then the ranks r1 to r of the primes between them.
void bornes() {
    do {
        maj1 = entier_jusqua("\n \n \t Minorant ? : ", Nprem[np]);
        out << " \n  ";
        maj = entier_jusqua("\n \n \t Majorant ? : ", Nprem[np]);
    } while (maj1 > maj);
}

void rangs_des_bornes() {
    r1 = rang_minore(maj1);
    r = rang_majore(maj, r1);
}

void valeurs_entre() {
    bornes();
    rangs_des_bornes();
    out << " \n \n ";
    entrees_rangs(r1, r);
}

// One pass over r1 to r: a run is printed once it reaches doub primes, then
// grows by one entry per further prime at the same difference.
void suites() {
    v = 0;
    db = 1;
    Tache tache("Recherche des suites", static_cast<double>(r - r1));
    for (std::int64_t t = r1 + 1; t <= r; ++t) {
        tache.pas(static_cast<double>(t - r1));
        if (Nprem[t] - Nprem[t - 1] != dif) {
            db = 1;
            continue;
        }
        ++db;
        ++v;
        if (db == doub) {
            out << " \n    " << v - doub + 2 << "  :  ";
            for (std::int64_t u = t - doub + 1; u <= t; ++u) {
                entree_rang(u);
            }
        } else if (db > doub) {
            entree_rang(t);
        }
    }
}

void consecutifs() {
    bornes();
    dif = entier_jusqua("\n \n \t Difference entre les nombres premiers consecutifs cherches ? : ",
                        SANS_PLAFOND);
    doub = entier_entre(
        " \n \n \t Minimum de nombres premiers consecutifs pour que l'affichage ait lieu ? : ", 2,
        SANS_PLAFOND);
    rangs_des_bornes();
    out << " \n \n ";
    suites();
}

} // namespace

int affiche() {
    choix2 = 5;
    while (choix2 != 0) {
        menu_selections();
        question("\n \n \n \t Quel est votre choix ? : ");
        A = controle(8, message);
        choix2 = valeur2;
        switch (choix2) {
        case 1:
            un_rang();
            break;
        case 2:
            plus_grand_majore();
            break;
        case 3:
            rangs_entre();
            break;
        case 4:
            valeurs_entre();
            break;
        case 5:
            consecutifs();
            break;
        default:
            break;
        }
    }
    return 1;
}
