#include "input/terminal.hpp"

#include "base/interruption.hpp"
#include "input/attente.hpp"
#include "input/ligne.hpp"
#include "input/reglages.hpp"
#include "state/etat.hpp"
#include "state/sortie.hpp"

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <map>
#include <poll.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>
#include <vector>

namespace {

bool sortie_terminal = false; // standard output is the terminal too
int ecran = -1;               // where the line typed is shown

termios reglages{}; // the terminal's own settings, while a line is read
bool touche_a_touche = false;

std::string reste; // keys typed after the last line taken
std::map<std::string, std::vector<std::string>> historiques;
std::string a_ecrire; // what goes to the terminal next, kept between lines

// A signal that ends the program while the terminal is read key by key:
// its settings are given back first, then the signal does what it did.
constexpr int SIGNAUX_FIN[] = {SIGTERM, SIGHUP, SIGQUIT};
struct sigaction avant_signal[std::size(SIGNAUX_FIN)];

extern "C" void sur_signal_fin(int sig) {
    ::tcsetattr(STDIN_FILENO, TCSANOW, &reglages);
    for (std::size_t i = 0; i < std::size(SIGNAUX_FIN); ++i) {
        if (SIGNAUX_FIN[i] == sig) {
            ::sigaction(sig, &avant_signal[i], nullptr);
        }
    }
    ::raise(sig); // delivered as the handler returns
}

void rendre_terminal() {
    if (touche_a_touche) {
        ::tcsetattr(STDIN_FILENO, TCSANOW, &reglages);
        touche_a_touche = false;
        for (std::size_t i = 0; i < std::size(SIGNAUX_FIN); ++i) {
            ::sigaction(SIGNAUX_FIN[i], &avant_signal[i], nullptr);
        }
    }
}

// Keys come one by one, unseen by the terminal driver: no line limit, no
// echo. Ctrl-C and Ctrl-Z keep their signals.
void lire_touche_a_touche() {
    if (::tcgetattr(STDIN_FILENO, &reglages) != 0) {
        return;
    }
    termios t = reglages;
    t.c_lflag &= ~static_cast<tcflag_t>(ICANON | ECHO | IEXTEN);
    t.c_iflag &= ~static_cast<tcflag_t>(ICRNL | INLCR | IGNCR);
    t.c_cc[VMIN] = 1;
    t.c_cc[VTIME] = 0;
    touche_a_touche = ::tcsetattr(STDIN_FILENO, TCSANOW, &t) == 0;
    if (touche_a_touche) {
        struct sigaction sa {};
        sa.sa_handler = sur_signal_fin;
        sigemptyset(&sa.sa_mask);
        for (std::size_t i = 0; i < std::size(SIGNAUX_FIN); ++i) {
            ::sigaction(SIGNAUX_FIN[i], &sa, &avant_signal[i]);
        }
    }
}

void ecrire(std::string_view s) {
    std::size_t fait = 0;
    while (ecran >= 0 && fait < s.size()) {
        ssize_t w = ::write(ecran, s.data() + fait, s.size() - fait);
        if (w < 0 && errno == EINTR) {
            continue;
        }
        if (w <= 0) {
            break; // the terminal is gone: the line is still read
        }
        fait += static_cast<std::size_t>(w);
    }
}

void ecrire(std::string& s) {
    ecrire(std::string_view(s));
    s.clear();
}

// The terminal's width, 80 when it cannot tell.
int colonnes() {
    winsize w{};
    if (::ioctl(STDIN_FILENO, TIOCGWINSZ, &w) == 0 && w.ws_col > 0) {
        return w.ws_col;
    }
    return 80;
}

// The last line of a question with its tabs replaced by the spaces up to the
// next tab stop, so that the editor knows the column of every character.
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

// The history of one kind of question: the menus apart from each other and
// from the numbers, each numeric question its own.
std::vector<std::string>& historique(int mode, std::string_view question) {
    std::string cle = std::to_string(mode);
    cle += ':';
    cle += question;
    return historiques[cle];
}

void retenir(std::vector<std::string>& h, const std::string& ligne) {
    if (ligne.empty() || (!h.empty() && h.back() == ligne)) {
        return;
    }
    if (h.size() == TAILLE_HISTORIQUE) {
        h.erase(h.begin());
    }
    h.push_back(ligne);
}

// Ctrl-C at a question: the terminal as it was, the cursor on a new line.
[[noreturn]] void interrompu() {
    rendre_terminal();
    if (!sortie_terminal) {
        ecrire(std::string_view("\n"));
    }
    fin_sur_interruption(); // writes the new line when standard output is here
}

// Waits for keys, or at most DELAI_MS; false when none came.
bool touches_pretes(int delai_ms) {
    if (!attendre_lisible(STDIN_FILENO, delai_ms)) {
        interrompu();
    }
    pollfd p{STDIN_FILENO, POLLIN, 0};
    return ::poll(&p, 1, 0) > 0;
}

// Room on the terminal's row after the first COLONNE columns.
int place(std::size_t colonne) {
    int n = colonnes();
    return n - static_cast<int>(colonne % static_cast<std::size_t>(n));
}

// Feeds the keys to LIGNE, shown from column COLONNE, until it is taken or
// input ends; false at the end.
bool taper(LigneEditee& ligne, std::size_t colonne) {
    char bloc[1 << 14];
    while (!ligne.validee() && !ligne.fin_entree()) {
        if (!reste.empty()) {
            reste.erase(0, ligne.recevoir(reste));
        } else if (ligne.sequence_en_attente() && !touches_pretes(DELAI_ECHAPPEMENT_MS)) {
            ligne.abandonner_sequence(); // the Escape key alone
        } else {
            touches_pretes(-1);
            ssize_t lu = ::read(STDIN_FILENO, bloc, sizeof bloc);
            if (lu < 0 && (errno == EINTR || errno == EAGAIN)) {
                continue;
            }
            if (lu <= 0) {
                return false; // the terminal hung up
            }
            std::string_view recu(bloc, static_cast<std::size_t>(lu));
            reste.assign(recu.substr(ligne.recevoir(recu)));
        }
        ligne.changer_largeur(place(colonne)); // the window may have been resized
        ligne.dessiner(a_ecrire);
        ecrire(a_ecrire);
    }
    return ligne.validee();
}

} // namespace

EntreeTerminal::EntreeTerminal() {
    sortie_terminal = ::isatty(STDOUT_FILENO) == 1;
    ecran = STDOUT_FILENO;
    if (!sortie_terminal) {
        // Standard output goes elsewhere: the keys are shown on the terminal
        // they come from.
        const char* nom = ::ttyname(STDIN_FILENO);
        int fd = nom == nullptr ? -1 : ::open(nom, O_WRONLY | O_NOCTTY | O_CLOEXEC);
        ecran = fd >= 0 ? fd : STDIN_FILENO;
    }
    std::atexit(rendre_terminal);
}

bool EntreeTerminal::lire(std::string_view question, int mode, std::string& ligne) {
    // Key by key before the question shows, so that what is typed once it
    // is there is never cut by the terminal's line limit.
    lire_touche_a_touche();
    std::size_t coupe = question.rfind('\n');
    std::size_t tete = coupe == std::string_view::npos ? 0 : coupe + 1;
    out << (sortie_terminal ? question.substr(0, tete) : question);
    out.flush();
    std::vector<std::string>& h = historique(mode, question);
    std::string montre = sortie_terminal ? invite(question.substr(tete)) : std::string();
    LigneEditee edition(h, place(montre.size()));
    a_ecrire = montre;
    ecrire(a_ecrire);
    bool ok = taper(edition, montre.size());
    if (ok) {
        edition.conclure(a_ecrire);
        ecrire(a_ecrire);
    } else {
        ecrire(std::string_view("\r\n"));
    }
    rendre_terminal();
    if (ok) {
        ligne = edition.texte();
        retenir(h, ligne);
    }
    return ok;
}

void EntreeTerminal::oublier_frappe() {
    ::tcflush(STDIN_FILENO, TCIFLUSH);
    reste.clear();
}
