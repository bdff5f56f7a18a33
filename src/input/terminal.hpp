#pragma once
// Answers typed at a terminal, when standard input is one: lines of any
// length, edited in place (arrow keys, erasing, moving in the line), and for
// each kind of question the history of its answers during the run. The
// terminal is read key by key only while a question waits for its answer;
// its settings are given back as soon as the line is taken, and on every way
// out of the program. Elsewhere lines are read as they come.

#include "input/entree.hpp"

#include <string>
#include <string_view>

// Standard input when it is a terminal, one per program.
class EntreeTerminal : public Entree {
  public:
    EntreeTerminal();

    // Shows QUESTION and reads the answer into LIGNE. When standard output is
    // the terminal, the question's lines but the last go through out and the
    // last one is shown by the editor, tabs laid out as the terminal lays
    // them; otherwise the whole question goes through out and only the line
    // typed is shown on the terminal. Up and Down go through the earlier
    // answers to the same question asked in MODE. Returns false at the end of
    // input (Ctrl-D on an empty line). Ctrl-C while the user types ends the
    // program.
    bool lire(std::string_view question, int mode, std::string& ligne) override;

    // Forgets the keys typed after the last line taken, and those the
    // terminal holds: they were typed before the question that comes now.
    void oublier_frappe() override;
};
