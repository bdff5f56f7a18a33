// Every question goes through controle: it shows the question, reads one
// line and keeps it only when it is an answer of the kind the mode wants.
// Any other line just brings the question back, as often as it takes, so
// that a caller always gets an answer it can use as it stands.

#include "base/interruption.hpp"
#include "input/entree.hpp"
#include "input/input.hpp"
#include "state/etat.hpp"
#include "state/reponses.hpp"
#include "state/sortie.hpp"
#include "state/table.hpp"

#include <NTL/ZZ_limbs.h>
#include <cstring>
#include <gmp.h>
#include <iostream>
#include <string>

namespace {

std::string entree; // the line just read, without its line end

EntreeFlux entree_standard(std::cin);
Entree* source = &entree_standard;

// Writes the question and reads one line into entree, without its line feed
// or a carriage return before it. At the end of input the program ends. MODE
// tells the terminal which history the line belongs to.
void lire_ligne(std::string_view question, int mode) {
    if (!source->lire(question, mode, entree)) {
        terminer();
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

// Value of the digit string from position D on: up to eighteen digits in
// one machine word; longer strings through GMP's conversion, whose time
// grows barely faster than the number of digits.
void valeur_grande(std::size_t d, ZZ& v) {
    static_assert(sizeof(NTL::ZZ_limb_t) == sizeof(mp_limb_t));
    if (entree.size() - d <= 18) {
        long x = 0;
        for (std::size_t p = d; p < entree.size(); ++p) {
            x = x * 10 + (entree[p] - '0');
        }
        v = x;
        return;
    }
    mpz_t m;
    mpz_init(m);
    mpz_set_str(m, entree.c_str() + d, 10); // digits only, checked by forme_positive
    NTL::ZZ_limbs_set(v, reinterpret_cast<const NTL::ZZ_limb_t*>(mpz_limbs_read(m)),
                      static_cast<long>(mpz_size(m)));
    mpz_clear(m);
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
    source->oublier_frappe();
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

bool EntreeFlux::lire(std::string_view question, int, std::string& ligne) {
    out << question;
    out.flush();
    return static_cast<bool>(std::getline(flux_, ligne));
}

Entree& lire_depuis(Entree& nouvelle) {
    Entree& avant = *source;
    source = &nouvelle;
    return avant;
}
