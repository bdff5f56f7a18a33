#pragma once
// Helpers shared by the unit tests: answers fed from a string, standard
// output captured in a string, the state built anew.

#include "input/entree.hpp"
#include "input/input.hpp"
#include "state/etat.hpp"
#include "state/sortie.hpp"
#include "state/table.hpp"

#include <cstdint>
#include <sstream>
#include <string>

// While it lives, controle reads LIGNES and standard output (descriptor 1)
// goes to a file of its own, whose text sortie() returns.
class Dialogue {
  public:
    explicit Dialogue(const std::string& lignes);
    Dialogue(const Dialogue&) = delete;
    Dialogue& operator=(const Dialogue&) = delete;
    ~Dialogue();
    // Everything written on standard output so far.
    const std::string& sortie();

  private:
    std::istringstream lignes_;
    EntreeFlux entree_;
    Entree& avant_;
    int ecran_;   // standard output before
    int capture_; // standard output meanwhile
    std::string sortie_;
};

// The program-wide state at start-up, its table and a fresh fill.
void table_neuve();

// While it lives, the state table_neuve builds stops the table's automatic
// growths at rank RANG, not RANG_FICHIER, so that a test reaches the cap
// soon; built, it starts the state anew.
class RangFichierAbaisse {
  public:
    explicit RangFichierAbaisse(std::int64_t rang);
    RangFichierAbaisse(const RangFichierAbaisse&) = delete;
    RangFichierAbaisse& operator=(const RangFichierAbaisse&) = delete;
    ~RangFichierAbaisse();
};

// While it lives, no thread can start, as when the system refuses one: the
// stack every new thread would need is larger than the address space.
class FilsRefuses {
  public:
    FilsRefuses();
    FilsRefuses(const FilsRefuses&) = delete;
    FilsRefuses& operator=(const FilsRefuses&) = delete;
    ~FilsRefuses();
};
