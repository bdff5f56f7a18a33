// The single routine through which every question is asked and every answer
// validated. A refused line is met by asking the same question again, with no
// message and no limit on attempts.

#include "app/interruption.hpp"
#include "input/input.hpp"
#include "input/terminal.hpp"
#include "state/etat.hpp"
#include "state/reponses.hpp"
#include "state/table.hpp"

#include <cstring>
#include <iostream>
#include <string>
#include <termios.h>
#include <unistd.h>

namespace {

std::istream* source = &std::cin;
std::string entree; // the line just read, without its line end

// On a terminal, what was typed before the question is not an answer to it.
// From a pipe or a file the lines are answers given in advance: keep them.
void ignorer_frappe_anticipee() {
    if (source != &std::cin || isatty(STDIN_FILENO) == 0) {
        return;
    }
    tcflush(STDIN_FILENO, TCIFLUSH);
    ignorer_frappe_edition();
    std::streambuf* tampon = std::cin.rdbuf();
    while (tampon->in_avail() > 0) {
        tampon->sbumpc();
    }
}

// Writes the question and reads one line into entree, without its line feed
// or a carriage return before it. At the end of standard input the program
// ends. At the terminal MODE tells which history the line belongs to.
void lire_ligne(std::string_view question, int mode) {
    if (source == &std::cin && edition_active()) {
        if (!lire_avec_edition(question, mode, entree)) {
            terminer();
        }
    } else {
        out << question;
        out.flush();
        if (source == &std::cin && std::cin.rdbuf()->in_avail() <= 0) {
            attendre_entree();
        }
        if (!std::getline(*source, entree)) {
            terminer();
        }
    }
    if (!entree.empty() && entree.back() == '\r') {
        entree.pop_back();
    }
}

bool chiffre_non_nul(char c) {
    return c >= '1' && c <= '9';
}

// Menu modes: exactly one character, from '0' to the last digit of the mode.
bool menu(char dernier) {
    if (entree.size() != 1 || entree[0] < '0' || entree[0] > dernier) {
        return false;
    }
    valeur2 = entree[0] - '0';
    return true;
}

// Shape of a non-negative answer: "0", or an optional "+" then a digit 1 to 9
// and any further digits. Returns the position of the first digit, or npos.
std::size_t forme_positive() {
    for (char c : entree) {
        if (valtest(c) == 0) {
            return std::string::npos;
        }
    }
    if (entree == "0") {
        return 0;
    }
    std::size_t d = entree[0] == '+' ? 1 : 0;
    if (d >= entree.size() || !chiffre_non_nul(entree[d])) {
        return std::string::npos;
    }
    for (std::size_t p = d + 1; p < entree.size(); ++p) {
        if (entree[p] < '0' || entree[p] > '9') {
            return std::string::npos;
        }
    }
    return d;
}

// Value of the digits from position D on, built upward in signed 64-bit
// arithmetic (downward when NEGATIF). False when it leaves that range.
bool valeur64(std::size_t d, bool negatif, std::int64_t& v) {
    v = 0;
    for (std::size_t p = d; p < entree.size(); ++p) {
        valtest(entree[p]);
        std::int64_t terme = negatif ? -valtest1 : valtest1;
        if (__builtin_mul_overflow(v, std::int64_t{10}, &v) ||
            __builtin_add_overflow(v, terme, &v)) {
            return false;
        }
    }
    return true;
}

bool entier64() {
    std::size_t d = forme_positive();
    std::int64_t v = 0;
    if (d == std::string::npos || !valeur64(d, false, v) || (xn == 1 && v == 0)) {
        return false;
    }
    valeur = v;
    return true;
}

// Value of a long digit string, eighteen digits at a time.
void valeur_grande(std::size_t d, ZZ& v) {
    v = 0;
    std::size_t p = d;
    while (p < entree.size()) {
        std::size_t n = std::min<std::size_t>(18, entree.size() - p);
        long bloc = 0;
        long puissance = 1;
        for (std::size_t q = 0; q < n; ++q, ++p) {
            bloc = bloc * 10 + (entree[p] - '0');
            puissance *= 10;
        }
        v *= puissance;
        v += bloc;
    }
}

bool entier_grand() {
    std::size_t d = forme_positive();
    if (d == std::string::npos || (xn == 1 && entree == "0")) {
        return false;
    }
    valeur_grande(d, valeur0);
    return true;
}

// Mode 7 after its leading "=" is gone: "0", or an optional sign, a digit 1 to
// 9 and any further digits, within the signed 64-bit range.
bool entier_signe() {
    for (char c : entree) {
        if (valtest(c) == 0) {
            return false;
        }
    }
    if (entree == "0") {
        valeur = 0;
        return true;
    }
    bool signe = entree[0] == '+' || entree[0] == '-';
    std::size_t d = signe ? 1 : 0;
    if (d >= entree.size() || !chiffre_non_nul(entree[d])) {
        return false;
    }
    for (std::size_t p = d + 1; p < entree.size(); ++p) {
        if (entree[p] < '0' || entree[p] > '9') {
            return false;
        }
    }
    std::int64_t v = 0;
    if (!valeur64(d, entree[0] == '-', v)) {
        return false;
    }
    valeur = v;
    return true;
}

// The two listing commands, checked on every line of mode 7 as soon as it is
// read. Returns true when the line is "*" and ends the question.
bool commande_liste() {
    if (entree == "*" && np > 2) {
        voir = 1;
        return true;
    }
    if (!entree.empty() && entree[0] == '=') {
        un = 1;
        entree.erase(0, 1);
    }
    return false;
}

bool acceptable(int mode) {
    switch (mode) {
    case 1:
        return menu('1');
    case 6:
    case 8:
        return menu('5');
    case 10:
        return menu('3');
    case 4:
    case 11:
        return entier64();
    case 9:
        return entier_grand();
    case 7:
        return entier_signe();
    default:
        return false;
    }
}

} // namespace

int controle(int mode, const char* text) {
    verifier_interruption(); // a Ctrl-C that came while work was ending
    ignorer_frappe_anticipee();
    voir = 0;
    std::size_t longueur = std::strlen(text);
    for (;;) {
        lire_ligne(std::string_view(text, longueur), mode);
        if (mode == 7 && commande_liste()) {
            return 0;
        }
        if (!entree.empty() && acceptable(mode)) {
            return 0;
        }
    }
}

void question(const char* texte) {
    std::size_t n = std::min(std::strlen(texte), sizeof message - 1);
    std::memcpy(message, texte, n);
    message[n] = '\0';
}

void source_reponses(std::istream* in) {
    source = in;
}
