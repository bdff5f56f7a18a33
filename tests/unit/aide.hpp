#pragma once
// Helpers shared by the unit tests: answers fed from a string, output
// captured in a string, a liste.txt of a chosen length.

#include "input/input.hpp"
#include "state/essais.hpp"
#include "state/etat.hpp"
#include "state/sortie.hpp"
#include "state/table.hpp"

#include <cstdint>
#include <sstream>
#include <string>

// Feeds LIGNES as standard input and captures standard output while it lives.
class Dialogue {
  public:
    explicit Dialogue(const std::string& lignes) : entree_(lignes) {
        source_essai = &entree_;
        out.capturer(&sortie_);
    }
    ~Dialogue() {
        out.capturer(nullptr);
        source_essai = nullptr;
    }
    const std::string& sortie() {
        out.flush();
        return sortie_;
    }

  private:
    std::istringstream entree_;
    std::string sortie_;
};

// Writes a liste.txt of COMPTE values with the project's generator, under a
// name of its own in the working folder, and returns that name.
std::string liste_generee(std::uint64_t compte);

// Writes TEXTE as a file in the working folder and returns its name.
std::string fichier(const std::string& nom, const std::string& texte);

// The program-wide state at start-up, reading NOM as liste.txt.
void table_neuve(const std::string& nom = LISTE_TEST);
