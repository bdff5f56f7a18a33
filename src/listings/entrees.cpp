#include "listings/entrees.hpp"

#include "base/progression.hpp"
#include "state/sortie.hpp"
#include "state/table.hpp"

void entree_rang(std::int64_t r) {
    out << "   [ " << r << " : " << Nprem[r] << " ] ";
}

void entrees_rangs(std::int64_t de, std::int64_t a) {
    Tache tache("Affichage des nombres premiers", static_cast<double>(a - de));
    for (std::int64_t t = de; t <= a; ++t) {
        tache.pas(static_cast<double>(t - de));
        if ((t - 1) % 100 == 0) {
            out << " \n \n \n ";
        }
        entree_rang(t);
    }
}
