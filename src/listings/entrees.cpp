#include "listings/entrees.hpp"

#include "app/interruption.hpp"
#include "state/etat.hpp"
#include "state/table.hpp"

void entree_rang(std::int64_t r) {
    out << "   [ " << r << " : " << Nprem[r] << " ] ";
}

void entrees_rangs(std::int64_t de, std::int64_t a) {
    for (std::int64_t t = de; t <= a; ++t) {
        if ((t & 0xFFF) == 0) {
            verifier_interruption();
        }
        if ((t - 1) % 100 == 0) {
            out << " \n \n \n ";
        }
        entree_rang(t);
    }
}
