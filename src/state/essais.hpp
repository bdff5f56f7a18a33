#pragma once
// For tests only: the seams through which the unit tests, the fuzz target and
// the benchmarks drive the program inside their own process. The program
// itself never sets them.

#include "state/table.hpp"

#include <cstdint>
#include <istream>

// When set, terminer calls it after flushing, instead of ending the process;
// it must not return (a test harness throws from it to regain control).
extern void (*fin_essai)();

// When set, controle reads the answers from it instead of standard input.
extern std::istream* source_essai;

// Lowers rang_fichier (the last rank read from liste.txt) while it lives, so
// that a short file reaches the compute phase and the growth cap soon.
class RangFichierAbaisse {
  public:
    explicit RangFichierAbaisse(std::int64_t rang) : avant_(rang_fichier) { rang_fichier = rang; }
    RangFichierAbaisse(const RangFichierAbaisse&) = delete;
    RangFichierAbaisse& operator=(const RangFichierAbaisse&) = delete;
    ~RangFichierAbaisse() { rang_fichier = avant_; }

  private:
    std::int64_t avant_;
};
