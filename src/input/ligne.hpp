#pragma once
// The answer being typed at the terminal: the keys that edit it, the earlier
// answers to the same kind of question, and what the terminal must receive
// to show it. It owns no terminal: it is fed the bytes typed and gives back
// the text to write, so that a line of any length costs, per key, no more
// than the width of the screen.
//
// The line is shown on one row after the question. When it is longer than
// the room left, the row shows the part around the cursor, moved by half a
// row at a time.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

class LigneEditee {
  public:
    // HISTORIQUE: the earlier answers to this kind of question, oldest first,
    // which Up and Down go through (it is never changed here). LARGEUR: the
    // columns of the row left after the question; the last one stays empty.
    LigneEditee(const std::vector<std::string>& historique, int largeur);

    // Takes the keys in OCTETS up to Enter, or up to Ctrl-D on an empty line,
    // and returns how many bytes it took; the rest belongs to later lines.
    std::size_t recevoir(std::string_view octets);
    bool validee() const { return validee_; }
    bool fin_entree() const { return fin_entree_; }

    // An Escape key alone, or a key sequence still incomplete: the caller
    // waits a little for the rest, then calls abandonner_sequence.
    bool sequence_en_attente() const { return !sequence_.empty(); }
    void abandonner_sequence() { sequence_.clear(); }

    const std::string& texte() const { return texte_; }
    std::size_t curseur() const { return curseur_; }

    // The screen row is now LARGEUR columns wide; the next drawing uses it.
    void changer_largeur(int largeur);
    // Appends to ECRAN what brings the row from its last drawing to the line
    // as it is now (nothing when it has not changed). The cursor is expected
    // where the last drawing left it, at the start of the row the first time.
    void dessiner(std::string& ecran);
    // Once the line is taken: the cursor after its end, then a new line.
    void conclure(std::string& ecran);

  private:
    void inserer(std::string_view octets);
    void touche_controle(char c);
    void sequence(char c);
    void executer_sequence();
    void rappeler(std::size_t position);
    std::size_t precedent(std::size_t p) const;
    std::size_t suivant(std::size_t p) const;
    // Characters between byte positions DE and A, counted up to LIMITE.
    std::size_t colonnes(std::size_t de, std::size_t a, std::size_t limite) const;
    // The position LIMITE characters before P, or 0.
    std::size_t reculer(std::size_t p, std::size_t n) const;
    void cadrer();

    const std::vector<std::string>& historique_;
    std::size_t rappel_;    // the history entry shown; its size for the new line
    std::string brouillon_; // the new line while an older one is shown
    std::string texte_;
    std::size_t curseur_ = 0; // byte position, at the start of a character
    std::string sequence_;    // an escape sequence still being received
    bool validee_ = false;
    bool fin_entree_ = false;

    // The row: its width, the byte position of its first character, and what
    // the last drawing left on it.
    std::size_t largeur_;
    std::size_t debut_ = 0;
    std::string vu_;
    std::size_t colonne_vue_ = 0;
};
