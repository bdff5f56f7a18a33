#include "primes/portee.hpp"

#include "app/progression.hpp"
#include "primes/primes.hpp"
#include "state/table.hpp"

#include <algorithm>
#include <flint/ulong_extras.h>

namespace {
bool au_plafond() {
    return np >= rang_fichier;
}
} // namespace

void grandir_au_dessus(std::int64_t borne) {
    if (Nprem[static_cast<std::size_t>(np)] > borne || au_plafond()) {
        return;
    }
    CibleTable cible(static_cast<double>(borne), false, true);
    while (Nprem[static_cast<std::size_t>(np)] <= borne && !au_plafond()) {
        Suiv();
    }
}

void grandir_jusqu_a(std::int64_t q) {
    if (Nprem[static_cast<std::size_t>(np)] >= q || au_plafond()) {
        return;
    }
    CibleTable cible(static_cast<double>(q), false, true);
    while (Nprem[static_cast<std::size_t>(np)] < q && !au_plafond()) {
        Suiv();
    }
}

bool premier64(std::uint64_t v) {
    return n_is_prime(v) != 0;
}

std::uint64_t plus_petit_facteur(std::uint64_t v) {
    n_factor_t f;
    n_factor_init(&f);
    n_factor(&f, v, 1);
    return *std::min_element(f.p, f.p + f.num);
}
