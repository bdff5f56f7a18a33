#pragma once
// Long work: one line on standard error, when it is a terminal, saying what
// is being done, how far it has gone and, where it can be told, how long it
// should still take; and, for the same price, the look for Ctrl-C.
//
// The line appears once the work has lasted a second, is rewritten in place
// a few times a second, and is erased when the work ends and before anything
// is written to standard output. Standard output never receives any of it.

#include "base/interruption.hpp"
#include "base/reglages.hpp"

#include <cstdint>

// One long loop. The cadence is the same for every loop:
// - a fast loop (an iteration well under a microsecond) calls pas() at every
//   iteration: Ctrl-C is looked at each time (one load and one branch), the
//   clock is read and the line redrawn every CADENCE calls;
// - a slow loop (an iteration of a microsecond or more, such as a test of a
//   big number) calls point() at every iteration instead.
// Either call unwinds with Interruption once Ctrl-C has been pressed.
class Tache {
  public:
    static constexpr std::uint32_t CADENCE = CADENCE_PAS;

    // NOM: what is being done, as the line shows it; TOTAL: the amount of
    // work, in the unit of the FAIT given to pas and point (0: unknown, the
    // time spent is shown instead of the time left). Costs nothing until used.
    explicit Tache(const char* nom, double total = 0) : nom_(nom), total_(total) {}
    Tache(const Tache&) = delete;
    Tache& operator=(const Tache&) = delete;
    ~Tache();

    void pas(double fait) {
        verifier_interruption();
        if ((++pas_ & (CADENCE - 1)) == 0) [[unlikely]] {
            point(fait);
        }
    }
    void point(double fait = 0) { point(fait, total_, -1); }
    // The same, with the total given anew and, when R >= 0, "rang R" shown.
    void point(double fait, double total, std::int64_t rang);

  private:
    const char* nom_;
    double total_;
    std::uint32_t pas_ = 0;
    std::int64_t debut_ = 0; // ns of the first point; 0 before it
};

// Erases the progress line, if one is shown.
void effacer_progression();

// Called by the output buffer before it writes standard output: the line is
// erased, and output flowing to the screen counts as progress.
void avant_ecriture_sortie();
