// Ctrl-C inside the program: the table stays whole when its growth is
// stopped, the menu comes back in full, and library calls run in a child
// process come back with their result or are abandoned.

#include "aide.hpp"
#include "app/ecrans.hpp"
#include "app/menu.hpp"
#include "base/enfant.hpp"
#include "base/interruption.hpp"
#include "primes/portee.hpp"
#include "primes/primes.hpp"
#include "primes/remplissage.hpp"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <gtest/gtest.h>
#include <primesieve.hpp>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

// A Ctrl-C while the table is being filled ends the wait, not the filling:
// the table then reaches its target, whole, as if nothing had happened.
TEST(Interruption, AStopEndsTheWaitAndTheFillingGoesOn) {
    table_neuve();
    grandir_jusqu_a(1'000'000); // returns at once: the table fills behind
    interruption_demandee = 1;
    EXPECT_THROW(attendre_table(), Interruption);
    interruption_demandee = 0;
    attendre_table();
    EXPECT_EQ(np, 78499); // 1000003, the first prime above 10^6, is the 78499th
    EXPECT_EQ(Nprem[np], 1000003);
    EXPECT_EQ(Nprem.size(), static_cast<std::size_t>(np) + 1);
    std::vector<std::int64_t> attendus;
    primesieve::generate_primes(1000003, &attendus);
    EXPECT_TRUE(std::equal(attendus.begin(), attendus.end(), Nprem.begin() + 1));
}

// A Ctrl-C that came just before a question (here, the menu's own): the
// question is not asked, the menu is written again in full and then asked.
TEST(Interruption, APendingStopBringsBackTheWholeMenu) {
    std::string menu;
    {
        Dialogue d("");
        ecran_menu();
        menu = d.sortie();
    }
    table_neuve();
    Dialogue d("0\n");
    interruption_demandee = 1;
    boucle_menu();
    EXPECT_EQ(interruption_demandee, 0);
    EXPECT_EQ(d.sortie(), menu + menu + "\n \n \n \t Quel est votre choix ? : ");
}

TEST(HorsProcessus, RunsInPlaceWithoutTheHandler) {
    pid_t moi = getpid();
    EXPECT_EQ(hors_processus("essai", [moi] { return std::to_string(getpid() == moi); }), "1");
}

TEST(HorsProcessus, BringsBackTheChildsWholeResult) {
    installer_interruption();
    pid_t moi = getpid();
    std::string attendu(1 << 20, 'x');
    attendu += "fin";
    std::string r = hors_processus("essai", [moi, &attendu] {
        return getpid() == moi ? std::string("ici") : attendu; // only the child's answer is right
    });
    EXPECT_EQ(r, attendu);
}

// What TRAVAIL writes on standard error, which goes to a file meanwhile.
template <class F> std::string erreur_de(F travail) {
    std::FILE* f = std::tmpfile();
    int avant = ::dup(STDERR_FILENO);
    ::dup2(::fileno(f), STDERR_FILENO);
    travail();
    ::dup2(avant, STDERR_FILENO);
    ::close(avant);
    std::string texte(4096, '\0');
    std::rewind(f);
    texte.resize(std::fread(texte.data(), 1, texte.size(), f));
    std::fclose(f);
    return texte;
}

// A child that fails or is killed from outside (as the out-of-memory killer
// does) is not redone here: the work is abandoned (the menu then says so on
// standard error).
TEST(HorsProcessus, AbandonsTheWorkWhenTheChildFailsOrIsKilled) {
    installer_interruption();
    pid_t moi = getpid();
    for (int signal : {0, SIGKILL, SIGSEGV}) {
        bool ici = false;
        std::string erreur = erreur_de([&] {
            EXPECT_THROW(hors_processus("essai",
                                        [moi, signal, &ici] {
                                            if (getpid() == moi) {
                                                ici = true;
                                            } else if (signal == 0) {
                                                ::_exit(3);
                                            } else {
                                                ::signal(signal, SIG_DFL);
                                                ::raise(signal);
                                            }
                                            return std::string("ici");
                                        }),
                         TravailAbandonne)
                << "signal " << signal;
        });
        EXPECT_FALSE(ici) << "the work was done again in the program, signal " << signal;
        EXPECT_EQ(erreur, "");
        EXPECT_EQ(interruption_demandee, 0);
    }
}

TEST(HorsProcessus, CtrlCAbandonsTheChild) {
    installer_interruption();
    std::thread frappe([] {
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        ::kill(::getpid(), SIGINT);
    });
    auto debut = std::chrono::steady_clock::now();
    EXPECT_THROW(hors_processus("essai",
                                [] {
                                    for (;;) {
                                        ::pause();
                                    }
                                    return std::string();
                                }),
                 Interruption);
    frappe.join();
    interruption_demandee = 0;
    EXPECT_LT(std::chrono::steady_clock::now() - debut, std::chrono::seconds(30));
    errno = 0;
    EXPECT_EQ(::waitpid(-1, nullptr, WNOHANG), -1); // the child is reaped
    EXPECT_EQ(errno, ECHILD);
}

} // namespace
