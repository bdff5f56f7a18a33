#pragma once
// Answers typed at a terminal: line editing (arrow keys, erasing, moving in
// the line) and the history of the answers of the run, when standard input
// and standard output are both terminals. Elsewhere lines are read as they
// come.

#include <string>
#include <string_view>

// Turns line editing on when standard input and standard output are terminals.
void activer_edition();
bool edition_active();

// Shows QUESTION exactly (its lines but the last through out, the last one as
// the editor's prompt, tabs laid out as the terminal lays them) and reads the
// answer into LIGNE. Returns false at the end of input. Ctrl-C while the user
// types ends the program.
bool lire_avec_edition(std::string_view question, std::string& ligne);
