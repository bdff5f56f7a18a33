// The child process that runs a long library call at the terminal: it dies
// with the program, and when it dies first the work is abandoned, not done
// again, and the menu comes back.

#include "session.hpp"

#include <cerrno>
#include <chrono>
#include <csignal>
#include <fstream>
#include <gtest/gtest.h>
#include <string>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace {

const std::string MENU = "Quel est votre choix ? : ";
const std::string FIN_MENU = "[0] - Fermer le programme ? ";
constexpr auto npos = std::string::npos;
// Two primes of 40 digits: the library takes far longer than the test.
const std::string LONG_A_FACTORISER =
    "21000000000000000000000000000000000000268000000000000000000000000000000000000111";

// The first child of PARENT, waiting up to 30 s for it to appear; 0 if none.
pid_t enfant_de(pid_t parent) {
    std::string chemin =
        "/proc/" + std::to_string(parent) + "/task/" + std::to_string(parent) + "/children";
    for (int essai = 0; essai < 300; ++essai) {
        std::ifstream f(chemin);
        long pid = 0;
        if (f >> pid && pid > 0) {
            return static_cast<pid_t>(pid);
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    return 0;
}

// True once PID has ended (gone, or a zombie left to its new parent),
// waiting up to 10 s.
bool termine(pid_t pid) {
    for (int essai = 0; essai < 100; ++essai) {
        std::ifstream f("/proc/" + std::to_string(pid) + "/stat");
        std::string champ, nom, etat;
        if (!(f >> champ >> nom >> etat) || etat == "Z" || etat == "X") {
            return true;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    return false;
}

// Starts the long factorisation from the main menu; returns its child.
pid_t lancer_calcul(Session& s) {
    std::size_t p = s.attendre(MENU);
    EXPECT_NE(p, npos);
    s.taper("1\r");
    p = s.attendre("N ? : ", p);
    EXPECT_NE(p, npos);
    s.taper(LONG_A_FACTORISER + "\r");
    return enfant_de(s.pid());
}

TEST(Travailleur, AWorkerKilledFromOutsideAbandonsTheWorkAndTheMenuComesBack) {
    Session s(PREMIERS, false);
    pid_t enfant = lancer_calcul(s);
    ASSERT_GT(enfant, 0) << "no child process for the factorisation";
    std::size_t depuis = s.ecran().size();
    ASSERT_EQ(::kill(enfant, SIGKILL), 0);
    std::size_t p = s.attendre("calcul abandonne.", depuis, false, 30);
    ASSERT_NE(p, npos) << "no message after the worker died";
    p = s.attendre(FIN_MENU, p, false, 30);
    ASSERT_NE(p, npos) << "the menu did not come back";
    // The program is at the menu again: the next request works, and so
    // does Ctrl-C in the next long one.
    s.taper("1\r");
    p = s.attendre("N ? : ", p);
    s.taper("12\r");
    p = s.attendre("12 =  (2)^2 X (3)", p);
    ASSERT_NE(p, npos);
    s.taper("1\r");
    p = s.attendre("N ? : ", p);
    s.taper(LONG_A_FACTORISER + "\r");
    ASSERT_GT(enfant_de(s.pid()), 0);
    s.taper("\x03");
    p = s.attendre(FIN_MENU, p, false, 30);
    ASSERT_NE(p, npos) << "Ctrl-C no longer brings back the menu";
    ASSERT_NE(s.attendre(MENU, p), npos);
    s.taper("0\r");
    EXPECT_EQ(s.fin(), 1);
}

// The program started from a shell that outlives it, as from a user's
// shell: the terminal's session stays open and sends no SIGHUP when the
// program dies, so only the program itself can take its worker with it.
TEST(Travailleur, TheWorkerDiesWithTheProgram) {
    const char* lanceur = "premiers_sous_shell.sh";
    {
        std::ofstream f(lanceur);
        f << "#!/bin/sh\n'" << PREMIERS << "'\nsleep 60\n";
    }
    ASSERT_EQ(::chmod(lanceur, 0755), 0);
    for (int signal : {SIGTERM, SIGKILL}) {
        Session s(lanceur, false);
        pid_t programme = enfant_de(s.pid());
        ASSERT_GT(programme, 0) << "the program did not start";
        std::size_t p = s.attendre(MENU);
        ASSERT_NE(p, npos);
        s.taper("1\r");
        ASSERT_NE(s.attendre("N ? : ", p), npos);
        s.taper(LONG_A_FACTORISER + "\r");
        pid_t enfant = enfant_de(programme);
        ASSERT_GT(enfant, 0) << "no child process for the factorisation";
        ASSERT_EQ(::kill(programme, signal), 0);
        bool fini = termine(enfant);
        if (!fini) {
            ::kill(enfant, SIGKILL);
        }
        EXPECT_TRUE(fini) << "the worker outlived the program, signal " << signal;
    }
}

} // namespace
