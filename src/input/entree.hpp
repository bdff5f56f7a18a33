#pragma once
// Where controle reads its answers: standard input as a stream (a file, a
// pipe), the terminal through its line editor (terminal.hpp), or any other
// stream of lines handed to it.

#include <istream>
#include <string>
#include <string_view>

class Entree {
  public:
    virtual ~Entree() = default;
    // Shows QUESTION, asked in MODE, and reads the answer into LIGNE, without
    // its line feed. Returns false at the end of input.
    virtual bool lire(std::string_view question, int mode, std::string& ligne) = 0;
    // Before a question: forgets what was typed ahead of it, where that can be
    // told apart from answers given in advance.
    virtual void oublier_frappe() {}
};

// The lines of a stream, as they come; the question goes through out.
class EntreeFlux : public Entree {
  public:
    explicit EntreeFlux(std::istream& flux) : flux_(flux) {}
    bool lire(std::string_view question, int mode, std::string& ligne) override;

  private:
    std::istream& flux_;
};

// controle reads from SOURCE from now on (standard input as a stream until
// the first call); returns the source it read from before.
Entree& lire_depuis(Entree& source);
