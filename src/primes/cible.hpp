#pragma once
// The progress line of the prime table's growth, and the look for Ctrl-C
// while it grows.

#include "base/progression.hpp"

#include <cstdint>

// The growth of the prime table towards a goal, while it lives: a value to
// pass, or a rank to reach when PAR_RANG; no further than rang_fichier when
// PLAFONNEE. The time left is told from the ranks still to come.
class CibleTable {
  public:
    CibleTable(double cible, bool par_rang, bool plafonnee);
    CibleTable(const CibleTable&) = delete;
    CibleTable& operator=(const CibleTable&) = delete;
    ~CibleTable();

  private:
    friend void veille_table();
    CibleTable* avant_;
    Tache tache_;
    double depart_; // np at the start
    double cible_;  // the rank to reach, estimated for a value
};

// Called by Suiv every few thousand ranks: Ctrl-C, and the table's progress
// line (towards the current CibleTable, if any).
void veille_table();
