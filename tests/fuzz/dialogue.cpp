// Fuzz target: arbitrary bytes are the whole standard input of the dialogue,
// from the main menu on, with the short test liste.txt in the working folder.
// The end of the input ends the dialogue, as it ends the program.

#include "app/menu.hpp"
#include "input/entree.hpp"
#include "state/etat.hpp"
#include "state/sortie.hpp"

#include <cstddef>
#include <cstdint>
#include <fcntl.h>
#include <sstream>
#include <string>
#include <unistd.h>

namespace {

// The end of the input unwinds to the target instead of ending the process.
struct FinEntree {};

class Lignes : public EntreeFlux {
  public:
    using EntreeFlux::EntreeFlux;
    bool lire(std::string_view question, int mode, std::string& ligne) override {
        if (!EntreeFlux::lire(question, mode, ligne)) {
            throw FinEntree{};
        }
        return true;
    }
};

// The dialogue's screens are not looked at: standard output goes nowhere.
const int sans_sortie = [] {
    int nul = ::open("/dev/null", O_WRONLY | O_CLOEXEC);
    ::dup2(nul, STDOUT_FILENO);
    return ::close(nul);
}();

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
    etat_initial();
    std::istringstream flux(std::string(reinterpret_cast<const char*>(data), size));
    Lignes lignes(flux);
    Entree& avant = lire_depuis(lignes);
    try {
        boucle_menu(); // returns on the menu answer 0
    } catch (const FinEntree&) {
    }
    out.flush();
    lire_depuis(avant);
    return 0;
}
