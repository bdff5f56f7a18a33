// The range search of the concatenations as first written: each number of
// the range on its own, its pieces tested with prem64 one by one (all of
// them, or the prefixes only when none is prime), the counting walk stopped
// as soon as the number qualifies in count-only mode.

#include "concat/decoupe.hpp"
#include "primes/primes.hpp"
#include "reference.hpp"
#include "state/travail.hpp"

std::string Nconcat_literal(std::uint64_t debut, std::uint64_t haut, int choix, int seul) {
    const std::int64_t seuil = choix == 3 ? 2 : 1;
    Decoupe decoupe(nombre_chiffres(NTL::conv<ZZ>(haut)));
    std::string liste;
    std::int64_t total = 0;
    for (std::uint64_t v = debut; v <= haut; ++v) {
        if (choix == 3 && prem64(v) != 1) {
            continue;
        }
        decoupe.analyser(v);
        bool arrete = denombrer(decoupe, seul == 1 ? seuil : 0);
        if (arrete || w1 >= seuil) {
            ++total;
            if (seul == 0) {
                liste += std::to_string(v) + "[" + std::to_string(w1) + "]  ";
            }
        }
    }
    return liste + "|" + std::to_string(total);
}
