#include "concat/recherche.hpp"

#include "base/equipe.hpp"
#include "base/interruption.hpp"
#include "base/memoire.hpp"
#include "base/progression.hpp"
#include "concat/balayage.hpp"
#include "concat/decoupe.hpp"
#include "concat/impairs.hpp"
#include "concat/reglages.hpp"
#include "primes/arith64.hpp"
#include "primes/portee.hpp"
#include "state/sortie.hpp"

#include <algorithm>
#include <atomic>
#include <memory>
#include <string_view>
#include <vector>

namespace {

// The bit table (see reglages.hpp), no further than the pieces shorter than
// the numbers go, and at most half the memory the process can still take.
std::uint64_t borne_table(std::uint64_t bas, std::uint64_t haut) {
    std::uint64_t largeur = haut - bas + 1;
    std::uint64_t b = largeur >= TABLE_MAX / TABLE_PAR_NOMBRE
                          ? TABLE_MAX
                          : std::max(TABLE_MIN, TABLE_PAR_NOMBRE * largeur);
    if (b <= haut) {
        std::uint64_t courts = 1; // 10^(digits of haut - 1)
        while (courts <= haut / 10) {
            courts *= 10;
        }
        b = std::min(b, courts);
    }
    std::uint64_t libre = std::min(memoire_libre(), TABLE_MAX);
    return std::min({b, haut + 1, libre / 2 * 16});
}

// The numbers themselves come from a sieve of the range, below the bound
// returned (0: none), when the range is wide next to the square root of its
// end (the sieve's set-up costs about that root, a test each number some
// hundred nanoseconds). Each part's sieve keeps lists of the primes up to
// the root, some 30 MB near 2^50 for the two parts of two cores: the bound
// comes down as the parts grow in number.
std::uint64_t limite_crible(std::uint64_t bas, std::uint64_t haut, const Impairs& table,
                            int parts) {
    std::uint64_t limite = LIMITE_CRIBLE;
    for (int p = parts; p > 2; p = (p + 1) / 2) {
        limite /= 4;
    }
    bool utile = haut >= table.borne() && haut - bas + 1 >= isqrt64(std::min(haut, limite)) / 8;
    return utile ? limite : 0;
}

bool contient_premier(std::uint64_t bas, std::uint64_t haut) {
    for (std::uint64_t v = haut; v >= bas; --v) {
        if (premier64(v)) {
            return true;
        }
    }
    return false;
}

// The table as the number-by-number search over [BAS, HAUT] leaves it. It
// tests every number of the range as a whole (a prefix of itself, or under
// choice 3 before anything else), and besides only values below it: pieces
// of a number. Such a piece above the range's largest prime lies in the range
// itself, so with a prime in the range the tests reach as far as those of the
// range's values (portee). A range without a prime, shorter than a prime gap,
// is tested number by number, as the pieces of its numbers would be.
void grandir_comme_la_recherche(std::uint64_t bas, std::uint64_t haut, bool premiers) {
    if (premiers || contient_premier(bas, haut)) {
        portee_valeurs(bas, haut);
        return;
    }
    Decoupe decoupe(19); // every number below 2^63
    for (std::uint64_t v = bas; v <= haut; ++v) {
        decoupe.analyser(v);
    }
}

// A round's list goes out a few items at a time, Ctrl-C looked at in between,
// so that it stops the writing of a long list too; every item "N[count]  "
// is written whole.
void ecrire_liste(std::string_view texte) {
    while (texte.size() > MORCEAU_LISTE) {
        std::size_t n = texte.rfind(']', MORCEAU_LISTE) + 3; // the item's "]  "
        out << texte.substr(0, n);
        texte.remove_prefix(n);
        verifier_interruption();
    }
    out << texte;
}

} // namespace

std::uint64_t rechercher(std::uint64_t bas, std::uint64_t haut, bool premiers, bool liste) {
    Tache tache("Recherche des concatenations", static_cast<double>(haut - bas + 1));
    Impairs table(borne_table(bas, haut));
    Equipe equipe;
    table.remplir(equipe, tache);
    const std::uint64_t crible = limite_crible(bas, haut, table, equipe.parts());
    std::vector<std::unique_ptr<Balayage>> balayages;
    for (int part = 0; part < equipe.parts(); ++part) {
        balayages.push_back(std::make_unique<Balayage>(table, premiers, liste, crible, haut));
    }
    std::vector<Tranche> tranches(TRANCHES);
    const std::uint64_t tour = liste ? TOUR_LISTE : TOUR_NOMBRES;
    std::uint64_t total = 0;
    for (std::uint64_t a = bas;;) {
        const std::uint64_t b = haut - a < tour ? haut : a + tour - 1;
        const std::uint64_t largeur = (b - a) / TRANCHES + 1;
        for (Tranche& t : tranches) {
            t.nombre = 0;
            t.texte.clear();
        }
        std::atomic<std::uint64_t> suivante{0};
        equipe.executer([&](int part) {
            std::uint64_t lo = 0;
            auto veille = [&](std::uint64_t fait) {
                if (part == 0) {
                    tache.pas(static_cast<double>(lo - bas + fait));
                    return true;
                }
                return !equipe.arret();
            };
            Balayage& balayage = *balayages[static_cast<std::size_t>(part)];
            for (std::uint64_t i = suivante++; i < TRANCHES && (lo = a + i * largeur) <= b;
                 i = suivante++) {
                std::uint64_t hi = b - lo < largeur ? b : lo + largeur - 1;
                if (!balayage.parcourir(lo, hi, tranches[i], veille)) {
                    return;
                }
            }
        });
        for (const Tranche& t : tranches) {
            total += t.nombre;
            if (liste) {
                ecrire_liste(t.texte);
            }
        }
        grandir_comme_la_recherche(bas, b, premiers);
        if (b == haut) {
            return total;
        }
        a = b + 1;
    }
}
