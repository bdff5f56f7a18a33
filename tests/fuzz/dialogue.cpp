// Fuzz target: arbitrary bytes are the whole standard input of the dialogue,
// from the main menu on, with the short test liste.txt in the working folder.
// The end of the input ends the dialogue, as it ends the program.

#include "app/menu.hpp"
#include "primes/remplissage.hpp"
#include "state/essais.hpp"
#include "state/etat.hpp"
#include "state/sortie.hpp"

#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string>

namespace {

struct FinEntree {};

[[noreturn]] void fin_entree() {
    throw FinEntree{};
}

// Bounds the work one input can ask for: it is run only when none of its runs
// of digits is longer than four, so that every count, rank, bound and N it can
// type is below 10,000 and each run takes milliseconds. Long and out-of-range
// numbers are covered by the transcripts and the unit tests.
constexpr std::size_t CHIFFRES_MAX = 4;

bool travail_borne(const std::uint8_t* data, std::size_t size) {
    std::size_t suite = 0;
    for (std::size_t p = 0; p < size; ++p) {
        suite = data[p] >= '0' && data[p] <= '9' ? suite + 1 : 0;
        if (suite > CHIFFRES_MAX) {
            return false;
        }
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (!travail_borne(data, size)) {
        return -1; // not worth keeping in the corpus
    }
    // Never destroyed: out, destroyed at exit, still writes into it.
    static auto* sortie = new std::string;
    sortie->clear();
    out.capturer(sortie);
    fin_essai = fin_entree;
    oublier_remplissage();
    etat_initial();
    std::istringstream entree(std::string(reinterpret_cast<const char*>(data), size));
    source_essai = &entree;
    try {
        boucle_menu(); // returns on the menu answer 0
    } catch (const FinEntree&) {
    }
    out.flush();
    source_essai = nullptr;
    return 0;
}
