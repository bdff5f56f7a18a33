#include "input/ligne.hpp"

#include <algorithm>

namespace {

// The bytes after the first of a UTF-8 character take no column.
bool suite_utf8(char c) {
    return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

bool imprimable(char c) {
    auto u = static_cast<unsigned char>(c);
    return u >= 0x20 && u != 0x7F;
}

std::size_t largeur_texte(std::string_view s) {
    return static_cast<std::size_t>(
        std::count_if(s.begin(), s.end(), [](char c) { return !suite_utf8(c); }));
}

// Moves the cursor N columns left (N < 0) or right.
void deplacer(std::string& ecran, long n) {
    if (n != 0) {
        ecran += "\x1b[";
        ecran += std::to_string(n < 0 ? -n : n);
        ecran += n < 0 ? 'D' : 'C';
    }
}

constexpr char CTRL_A = 0x01, CTRL_B = 0x02, CTRL_D = 0x04, CTRL_E = 0x05, CTRL_F = 0x06,
               CTRL_H = 0x08, CTRL_K = 0x0B, CTRL_N = 0x0E, CTRL_P = 0x10, CTRL_U = 0x15,
               CTRL_W = 0x17, ESC = 0x1B, EFFACER = 0x7F;

} // namespace

LigneEditee::LigneEditee(const std::vector<std::string>& historique, int largeur)
    : historique_(historique), rappel_(historique.size()),
      largeur_(static_cast<std::size_t>(std::max(largeur, 2))) {}

std::size_t LigneEditee::recevoir(std::string_view octets) {
    std::size_t i = 0;
    while (i < octets.size() && !validee_ && !fin_entree_) {
        char c = octets[i];
        if (!sequence_.empty()) {
            sequence(c);
            ++i;
        } else if (c == '\r' || c == '\n') {
            validee_ = true;
            ++i;
            if (c == '\r' && i < octets.size() && octets[i] == '\n') {
                ++i; // a pasted CR LF is one line end
            }
        } else if (imprimable(c)) {
            std::size_t j = i;
            while (j < octets.size() && imprimable(octets[j])) {
                ++j;
            }
            inserer(octets.substr(i, j - i)); // a paste goes in at once
            i = j;
        } else {
            touche_controle(c);
            ++i;
        }
    }
    return i;
}

void LigneEditee::inserer(std::string_view octets) {
    texte_.insert(curseur_, octets);
    curseur_ += octets.size();
}

void LigneEditee::touche_controle(char c) {
    switch (c) {
    case ESC:
        sequence_ = c;
        break;
    case CTRL_A:
        curseur_ = 0;
        break;
    case CTRL_E:
        curseur_ = texte_.size();
        break;
    case CTRL_B:
        curseur_ = precedent(curseur_);
        break;
    case CTRL_F:
        curseur_ = suivant(curseur_);
        break;
    case EFFACER:
    case CTRL_H: {
        std::size_t p = precedent(curseur_);
        texte_.erase(p, curseur_ - p);
        curseur_ = p;
        break;
    }
    case CTRL_D:
        if (texte_.empty()) {
            fin_entree_ = true;
            break;
        }
        texte_.erase(curseur_, suivant(curseur_) - curseur_);
        break;
    case CTRL_K:
        texte_.erase(curseur_);
        break;
    case CTRL_U:
        texte_.erase(0, curseur_);
        curseur_ = 0;
        break;
    case CTRL_W: {
        std::size_t p = curseur_;
        while (p > 0 && texte_[p - 1] == ' ') {
            --p;
        }
        while (p > 0 && texte_[p - 1] != ' ') {
            --p;
        }
        texte_.erase(p, curseur_ - p);
        curseur_ = p;
        break;
    }
    case CTRL_P:
        if (rappel_ > 0) {
            if (rappel_ == historique_.size()) {
                brouillon_ = texte_;
            }
            rappeler(rappel_ - 1);
        }
        break;
    case CTRL_N:
        if (rappel_ < historique_.size()) {
            rappeler(rappel_ + 1);
        }
        break;
    default: // other control keys (Tab among them) do nothing
        break;
    }
}

// Escape sequences: ESC [ parameters final-byte, or ESC O letter. ESC
// followed by anything else (an Alt key) is dropped.
void LigneEditee::sequence(char c) {
    sequence_ += c;
    if (sequence_.size() == 2) {
        if (c != '[' && c != 'O') {
            sequence_.clear();
        }
        return;
    }
    if (sequence_[1] == 'O' || (c >= 0x40 && c <= 0x7E)) {
        executer_sequence();
        sequence_.clear();
    } else if (sequence_.size() > 16) {
        sequence_.clear();
    }
}

void LigneEditee::executer_sequence() {
    std::string_view s = std::string_view(sequence_).substr(1);
    auto est = [s](std::initializer_list<std::string_view> noms) {
        return std::find(noms.begin(), noms.end(), s) != noms.end();
    };
    if (est({"[A", "OA"})) {
        touche_controle(CTRL_P);
    } else if (est({"[B", "OB"})) {
        touche_controle(CTRL_N);
    } else if (est({"[C", "OC"})) {
        touche_controle(CTRL_F);
    } else if (est({"[D", "OD"})) {
        touche_controle(CTRL_B);
    } else if (est({"[H", "OH", "[1~", "[7~"})) {
        touche_controle(CTRL_A);
    } else if (est({"[F", "OF", "[4~", "[8~"})) {
        touche_controle(CTRL_E);
    } else if (s == "[3~" && curseur_ < texte_.size()) {
        touche_controle(CTRL_D);
    }
}

void LigneEditee::rappeler(std::size_t position) {
    rappel_ = position;
    texte_ = position == historique_.size() ? brouillon_ : historique_[position];
    curseur_ = texte_.size();
}

std::size_t LigneEditee::precedent(std::size_t p) const {
    if (p == 0) {
        return 0;
    }
    --p;
    while (p > 0 && suite_utf8(texte_[p])) {
        --p;
    }
    return p;
}

std::size_t LigneEditee::suivant(std::size_t p) const {
    if (p >= texte_.size()) {
        return texte_.size();
    }
    ++p;
    while (p < texte_.size() && suite_utf8(texte_[p])) {
        ++p;
    }
    return p;
}

std::size_t LigneEditee::colonnes(std::size_t de, std::size_t a, std::size_t limite) const {
    std::size_t n = 0;
    for (std::size_t p = de; p < a && n < limite; ++p) {
        n += suite_utf8(texte_[p]) ? 0 : 1;
    }
    return n;
}

std::size_t LigneEditee::reculer(std::size_t p, std::size_t n) const {
    for (; n > 0 && p > 0; --n) {
        p = precedent(p);
    }
    return p;
}

void LigneEditee::changer_largeur(int largeur) {
    largeur_ = static_cast<std::size_t>(std::max(largeur, 2));
}

// Chooses the first character shown so that the cursor is on the row: the
// start of the line while it fits, else half a row of context before it.
void LigneEditee::cadrer() {
    std::size_t place = largeur_ - 1;
    if (colonnes(0, curseur_, place + 1) <= place) {
        debut_ = 0;
    } else if (curseur_ < debut_ || colonnes(debut_, curseur_, place + 1) > place) {
        debut_ = reculer(curseur_, place / 2);
    }
}

// Rewrites the row from the first byte that differs from the last drawing,
// then puts the cursor in place.
void LigneEditee::dessiner(std::string& ecran) {
    cadrer();
    std::size_t place = largeur_ - 1;
    std::size_t fin = debut_;
    for (std::size_t n = 0; fin < texte_.size() && n < place; ++n) {
        fin = suivant(fin);
    }
    std::string_view montre = std::string_view(texte_).substr(debut_, fin - debut_);
    std::size_t commun = 0;
    while (commun < montre.size() && commun < vu_.size() && montre[commun] == vu_[commun]) {
        ++commun;
    }
    while (commun > 0 && ((commun < montre.size() && suite_utf8(montre[commun])) ||
                          (commun < vu_.size() && suite_utf8(vu_[commun])))) {
        --commun;
    }
    std::size_t colonne = colonne_vue_;
    if (commun < montre.size() || commun < vu_.size()) {
        std::size_t depart = largeur_texte(montre.substr(0, commun));
        deplacer(ecran, static_cast<long>(depart) - static_cast<long>(colonne));
        ecran.append(montre.substr(commun));
        colonne = largeur_texte(montre);
        if (largeur_texte(vu_) > colonne) {
            ecran += "\x1b[K";
        }
        vu_.assign(montre);
    }
    colonne_vue_ = colonnes(debut_, curseur_, place);
    deplacer(ecran, static_cast<long>(colonne_vue_) - static_cast<long>(colonne));
}

void LigneEditee::conclure(std::string& ecran) {
    curseur_ = texte_.size();
    dessiner(ecran);
    ecran += "\r\n";
}
