#include "input/terminal.hpp"

#include "base/interruption.hpp"
#include "input/attente.hpp"
#include "state/sortie.hpp"

#include <cstdio>
#include <cstdlib>
#include <editline/readline.h>
#include <unistd.h>

namespace {

bool active = false;

// The line handed over by the editor, and whether it came (null at the end
// of input).
std::string recu;
bool fini = false;
bool fin_entree = false;

extern "C" void reception(char* l) {
    fini = true;
    fin_entree = l == nullptr;
    if (l != nullptr) {
        recu = l;
        std::free(l);
    }
    rl_callback_handler_remove();
}

// The last line of a question with its tabs replaced by the spaces up to the
// next tab stop: the editor counts every character as one column.
std::string invite(std::string_view derniere) {
    std::string s;
    for (char c : derniere) {
        if (c == '\t') {
            s.append(8 - s.size() % 8, ' ');
        } else {
            s += c;
        }
    }
    return s;
}

} // namespace

void activer_edition() {
    active = isatty(STDIN_FILENO) == 1 && isatty(STDOUT_FILENO) == 1;
    if (active) {
        rl_catch_signals = 0; // Ctrl-C is the program's own (app/interruption)
        using_history();
    }
}

bool edition_active() {
    return active;
}

bool lire_avec_edition(std::string_view question, std::string& ligne) {
    std::size_t coupe = question.rfind('\n');
    std::size_t tete = coupe == std::string_view::npos ? 0 : coupe + 1;
    out << question.substr(0, tete);
    out.flush();
    fini = false;
    rl_callback_handler_install(invite(question.substr(tete)).c_str(), reception);
    while (!fini) {
        if (!attendre_lisible(STDIN_FILENO, -1)) {
            rl_callback_handler_remove();
            fin_sur_interruption();
        }
        rl_callback_read_char();
    }
    if (fin_entree) {
        std::fputs("\n", stdout);
        std::fflush(stdout);
        return false;
    }
    if (!recu.empty()) {
        add_history(recu.c_str());
    }
    ligne = recu;
    return true;
}
