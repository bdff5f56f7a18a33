#pragma once
// Progress of long work, on standard error when it is a terminal: one line
// saying what is being done, how far it has gone and, where it can be told,
// how long it should still take. It appears once the work has lasted a
// second, is rewritten in place a few times a second, and is erased when the
// work ends and before anything is written to standard output. Standard
// output never receives any of it.

#include <cstdint>

class Tache {
  public:
    // NOM: what is being done, as the line shows it. Costs nothing until point.
    explicit Tache(const char* nom) : nom_(nom) {}
    Tache(const Tache&) = delete;
    Tache& operator=(const Tache&) = delete;
    ~Tache();

    // Looks for Ctrl-C (see verifier_interruption) and, when the line is due,
    // rewrites it: FAIT out of TOTAL as a percentage with the time left (TOTAL
    // 0: unknown, the time spent is shown), after "rang R" when R >= 0. Reads
    // the clock: call it every few thousand iterations of a fast loop.
    void point(double fait = 0, double total = 0, std::int64_t rang = -1);
    // The time spent counts again from the next point.
    void recommencer() { debut_ = 0; }

  private:
    const char* nom_;
    std::int64_t debut_ = 0; // ns of the first point; 0 before it
};

// Erases the progress line, if one is shown.
void effacer_progression();

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
