#pragma once
// The program run in a pseudo-terminal, driven as a user at the keyboard
// would: wait for a text on the screen, then type.

#include <string>
#include <sys/types.h>

class Session {
  public:
    // Starts PROGRAMME in the working folder, on a terminal of 120 columns.
    // With SORTIE_A_PART its standard output goes to a pipe instead of the
    // terminal (standard input and standard error stay on it).
    Session(const char* programme, bool sortie_a_part);
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;
    ~Session();

    // Waits until TEXTE appears on the terminal (or, with SUR_SORTIE, on the
    // separate standard output) after position DEPUIS of what came so far;
    // returns the position just after it, or npos after SECONDES.
    std::size_t attendre(const std::string& texte, std::size_t depuis = 0, bool sur_sortie = false,
                         double secondes = 120);
    void taper(const std::string& touches);
    // Keeps the terminal open here too, so that its settings outlive the
    // program (a terminal closed by all is set anew when next opened).
    void garder_terminal();
    // True while the terminal reads whole lines and echoes them, as it does
    // when no question waits.
    bool canonique() const;
    void signaler(int signal) const;
    // Waits for the end of the program; its exit status, or -1 (killed, or
    // still running after SECONDES).
    int fin(double secondes = 120);

    const std::string& ecran() const { return ecran_; }
    pid_t pid() const { return pid_; }
    const std::string& sortie() const { return sortie_; }

  private:
    bool lire(double secondes);
    pid_t pid_ = -1;
    int maitre_ = -1;
    int tube_ = -1;
    int esclave_ = -1;
    std::string ecran_;
    std::string sortie_;
};
