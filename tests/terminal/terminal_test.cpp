// The program at a terminal: Ctrl-C stops long work and brings back the
// menu, the progress line goes to standard error only, answers can be
// edited. Each case waits for the screen texts, never for fixed times.

#include "session.hpp"

#include <csignal>
#include <gtest/gtest.h>
#include <string>

namespace {

const std::string MENU = "Quel est votre choix ? : ";
const std::string FIN_MENU = "[0] - Fermer le programme ? ";
constexpr auto npos = std::string::npos;
const char CTRL_C[] = "\x03";

// The last part of what came, for a failure message.
std::string fin_ecran(const Session& s, bool sur_sortie) {
    const std::string& t = sur_sortie ? s.sortie() : s.ecran();
    return t.substr(t.size() > 600 ? t.size() - 600 : 0);
}

// Answers the question QUESTION, once it is on the screen (or on the
// separate standard output), with LIGNE and Enter; returns the position
// after the question.
std::size_t repondre(Session& s, const std::string& question, const std::string& ligne,
                     std::size_t depuis = 0, bool sur_sortie = false) {
    std::size_t p = s.attendre(question, depuis, sur_sortie);
    EXPECT_NE(p, npos) << "question never came: " << question << "\n--- screen ends with:\n"
                       << fin_ecran(s, sur_sortie);
    if (p == npos) {
        return npos;
    }
    s.taper(ligne + "\r");
    return p;
}

// The main menu shown again in full after position DEPUIS: its last entry,
// then its question. Returns the position before the question.
std::size_t menu_apres(Session& s, std::size_t depuis, bool sur_sortie = false) {
    std::size_t p = s.attendre(FIN_MENU, depuis, sur_sortie);
    EXPECT_NE(p, npos) << "no full menu after the interruption\n--- screen ends with:\n"
                       << fin_ecran(s, sur_sortie);
    return p == npos || s.attendre(MENU, p, sur_sortie) == npos ? npos : p;
}

// Factorises 12 from the main menu and comes back to it.
void factoriser_12(Session& s, std::size_t depuis) {
    std::size_t p = repondre(s, MENU, "1", depuis);
    p = repondre(s, "N ? : ", "12", p);
    p = s.attendre("12 =  (2)^2 X (3)", p);
    ASSERT_NE(p, npos);
    p = repondre(s, "Non [0] : ", "0", p);
    ASSERT_NE(s.attendre(MENU, p), npos);
}

TEST(Terminal, CtrlCStopsALongListingAndTheNextCommandWorks) {
    Session s(PREMIERS, false);
    std::size_t p = repondre(s, MENU, "3");
    p = repondre(s, "Limite inferieure ? : ", "1", p);
    p = repondre(s, "Limite superieure ? : ", "1000000000000", p);
    p = repondre(s, "Toute la liste : ? ", "0", p);
    p = s.attendre(" 1299709 , ", p); // the listing is well under way
    ASSERT_NE(p, npos);
    s.taper(CTRL_C);
    p = menu_apres(s, p);
    ASSERT_NE(p, npos);
    factoriser_12(s, p);
    s.taper("0\r");
    EXPECT_EQ(s.fin(), 1);
}

// A number with billions of splits, listed to a pipe: after Ctrl-C no more
// than the output buffer and what the pipe held come before the menu (with
// room for what was in flight while the keys went in, more on a loaded
// machine; a look at the flag every 65,536 steps of the walk gave megabytes).
TEST(Terminal, CtrlCStopsTheSplitsListingAtOnce) {
    Session s(PREMIERS, true);
    std::size_t p = repondre(s, MENU, "4", 0, true);
    p = repondre(s, MENU, "1", p, true);
    std::string n;
    for (int t = 0; t < 40; ++t) {
        n += "3737";
    }
    p = repondre(s, "N ? : ", n, p, true);
    p = s.attendre(" ( 3 7 3 7 3 7 ", p, true);
    ASSERT_NE(p, npos);
    std::size_t avant = s.sortie().size();
    s.taper(CTRL_C);
    p = s.attendre(FIN_MENU, avant, true, 5);
    ASSERT_NE(p, npos) << "the menu did not come back within 5 s";
    constexpr std::size_t TAMPON = 1 << 16, TUBE = 1 << 16;
    EXPECT_LE(p - avant, 4 * (TAMPON + TUBE));
    s.taper("0\r");
    EXPECT_EQ(s.fin(), 1);
}

TEST(Terminal, CtrlCStopsAFactorisationInTheLibraryAndTheProgressShows) {
    Session s(PREMIERS, false);
    std::size_t p = repondre(s, MENU, "1");
    // Two primes of 40 digits: the library would take far longer than the test.
    p = repondre(s, "N ? : ",
                 "21000000000000000000000000000000000000268000000000000000000000000000000000000111",
                 p);
    p = s.attendre("Decomposition en facteurs premiers : ", p);
    ASSERT_NE(p, npos) << "no progress line";
    s.taper(CTRL_C);
    p = menu_apres(s, p);
    ASSERT_NE(p, npos);
    factoriser_12(s, p);
    s.taper("0\r");
    EXPECT_EQ(s.fin(), 1);
}

TEST(Terminal, CtrlCAtAQuestionEndsTheProgramAsZeroDoes) {
    Session s(PREMIERS, false);
    std::size_t p = repondre(s, MENU, "4");
    ASSERT_NE(s.attendre(MENU, p), npos); // the concatenation menu's question
    s.taper(CTRL_C);
    EXPECT_EQ(s.fin(), 1);
}

// Keys as the terminal sends them.
const std::string GAUCHE = "\x1b[D";
const std::string HAUT = "\x1b[A";
const std::string EFFACER = "\x7f";

TEST(Terminal, AnswersCanBeEditedAndTakenFromTheHistory) {
    Session s(PREMIERS, false);
    std::size_t p = repondre(s, MENU, "4" + EFFACER + "1"); // 4 erased: [1]
    p = repondre(s, "N ? : ", "2" + GAUCHE + "1", p);       // 2, then 1 before it
    p = s.attendre("12 =  (2)^2 X (3)", p);
    ASSERT_NE(p, npos);
    p = repondre(s, "Non [0] : ", "1", p);
    p = repondre(s, "N ? : ", HAUT + HAUT, p); // "1", then "12"
    p = s.attendre("12 =  (2)^2 X (3)", p);
    ASSERT_NE(p, npos) << "the answer from the history was not taken";
    p = repondre(s, "Non [0] : ", "0", p);
    repondre(s, MENU, "0", p);
    EXPECT_EQ(s.fin(), 1);
}

// The count of every value a bound can take runs for minutes, in a child
// that Ctrl-C abandons; the table and the next request are unharmed.
TEST(Terminal, CtrlCStopsTheCountUpTo2Pow63) {
    Session s(PREMIERS, false);
    std::size_t p = repondre(s, MENU, "3");
    p = repondre(s, "Limite inferieure ? : ", "1", p);
    p = repondre(s, "Limite superieure ? : ", "9223372036854775807", p);
    p = repondre(s, "Toute la liste : ? ", "1", p);
    p = s.attendre("Comptage des nombres premiers : ", p);
    ASSERT_NE(p, npos) << "no progress line";
    s.taper(CTRL_C);
    p = menu_apres(s, p);
    ASSERT_NE(p, npos);
    p = repondre(s, MENU, "3", p);
    p = repondre(s, "Limite inferieure ? : ", "1", p);
    p = repondre(s, "Limite superieure ? : ", "1000000000000", p);
    p = repondre(s, "Toute la liste : ? ", "1", p);
    ASSERT_NE(s.attendre("Il y a  37607912018  nombres premiers", p), npos);
    factoriser_12(s, p);
    s.taper("0\r");
    EXPECT_EQ(s.fin(), 1);
}

// Standard output apart, as when it is redirected: the progress line is on
// the terminal (standard error), never in standard output.
TEST(Terminal, TheProgressLineNeverReachesStandardOutput) {
    Session s(PREMIERS, true);
    std::size_t p = repondre(s, MENU, "3", 0, true);
    p = repondre(s, "Limite inferieure ? : ", "1", p, true);
    p = repondre(s, "Limite superieure ? : ", "100000000000000000", p, true);
    p = repondre(s, "Toute la liste : ? ", "1", p, true);
    ASSERT_NE(s.attendre("Comptage des nombres premiers : ", 0), npos) << "no progress line";
    s.taper(CTRL_C);
    p = menu_apres(s, p, true);
    ASSERT_NE(p, npos);
    s.taper("0\r");
    EXPECT_EQ(s.fin(), 1);
    // The line is erased before the menu is written.
    EXPECT_NE(s.ecran().find("\r\x1b[K"), npos);
    for (const char* trace : {"Comptage", "\r", "\x1b"}) {
        EXPECT_EQ(s.sortie().find(trace), npos) << "standard output holds " << trace;
    }
}

} // namespace

namespace {

const std::string DROITE = "\x1b[C";
const std::string DEBUT = "\x1b[H";
const std::string FIN = "\x1b[F";
const std::string SUPPRIMER = "\x1b[3~";
const char CTRL_A[] = "\x01";
const char CTRL_D[] = "\x04";
const char CTRL_E[] = "\x05";
const std::string ENCORE = "Non [0] : ";

// 10^99999, 100,000 digits, factorised at once: only the whole line gives
// these exponents.
const std::string CENT_MILLE = "1" + std::string(99999, '0');
const std::string FACTEURS_CENT_MILLE = "(2)^99999 X (5)^99999";

// The standard output of the program fed LIGNES through a pipe.
std::string sortie_par_tube(const std::string& lignes) {
    std::string entree = testing::TempDir() + "terminal_lignes.txt";
    FILE* f = std::fopen(entree.c_str(), "w");
    std::fwrite(lignes.data(), 1, lignes.size(), f);
    std::fclose(f);
    std::string commande = std::string("'") + PREMIERS + "' < '" + entree + "'";
    FILE* p = ::popen(commande.c_str(), "r");
    std::string r;
    char bloc[65536];
    for (std::size_t lu; (lu = std::fread(bloc, 1, sizeof bloc, p)) > 0;) {
        r.append(bloc, lu);
    }
    ::pclose(p);
    return r;
}

// A 100,000-character paste at the main menu is one line, refused as any
// line of more than one character; at "N ? : " it is the number.
void coller_cent_mille(Session& s, bool a_part) {
    std::size_t p = repondre(s, MENU, std::string(100000, '1'), 0, a_part);
    p = repondre(s, MENU, "1", p, a_part);
    p = repondre(s, "N ? : ", CENT_MILLE, p, a_part);
    p = s.attendre(FACTEURS_CENT_MILLE, p, a_part);
    ASSERT_NE(p, npos) << "the long answer was not read whole";
    p = repondre(s, ENCORE, "0", p, a_part);
    repondre(s, MENU, "0", p, a_part);
    EXPECT_EQ(s.fin(), 1);
}

TEST(Terminal, AHundredThousandCharacterPasteIsReadWhole) {
    Session s(PREMIERS, false);
    coller_cent_mille(s, false);
}

// Standard output apart: the keys are still read one by one, past the
// terminal's line limit, and standard output holds exactly what a pipe
// would have given.
TEST(Terminal, AHundredThousandCharacterPasteIsReadWholeWithStandardOutputApart) {
    Session s(PREMIERS, true);
    coller_cent_mille(s, true);
    std::string lignes = std::string(100000, '1') + "\n1\n" + CENT_MILLE + "\n0\n0\n";
    EXPECT_TRUE(s.sortie() == sortie_par_tube(lignes)) << "standard output differs from a pipe's";
    // The terminal shows one row of each line, redrawn as the paste comes.
    EXPECT_NE(s.ecran().find(std::string(50, '0')), npos) << "the answer was not shown";
    EXPECT_LT(s.ecran().size(), 20000u) << "the long lines were shown whole";
}

// Types ANSWER at "N ? : " and expects N to have been taken as ATTENDU.
void nombre_edite(Session& s, std::size_t& p, const std::string& touches,
                  const std::string& attendu) {
    p = repondre(s, "N ? : ", touches, p);
    std::size_t q = s.attendre("\t " + attendu + " ", p); // "N =  " or "N  est un nombre premier"
    EXPECT_NE(q, npos) << "the keys " << testing::PrintToString(touches) << " did not give "
                       << attendu;
    if (q != npos) {
        p = repondre(s, ENCORE, "1", q);
    }
}

// The keys one by one are the unit tests' (ligne_test); here, as the
// terminal sends them, and on a line far longer than the row.
TEST(Terminal, TheEditingKeysMoveEraseAndInsert) {
    Session s(PREMIERS, false);
    std::size_t p = repondre(s, MENU, "1");
    nombre_edite(s, p, std::string("99") + CTRL_A + "1" + CTRL_E + "7", "1997");
    nombre_edite(s, p, "5" + DEBUT + "3" + FIN + "1", "351");
    nombre_edite(s, p, "8x5" + DEBUT + DROITE + SUPPRIMER, "85");
    // A long line edited at both ends, far off the screen's row.
    std::string touches = CENT_MILLE;
    touches[0] = '9';
    touches.append("3").append(EFFACER).append(CTRL_A).append(SUPPRIMER).append("1");
    nombre_edite(s, p, touches, CENT_MILLE);
    p = repondre(s, "N ? : ", "12", p);
    p = repondre(s, ENCORE, "0", p);
    repondre(s, MENU, "0", p);
    EXPECT_EQ(s.fin(), 1);
}

// Each kind of question has its own answers to go back to: at "N ? : " Up
// never brings back a menu choice.
TEST(Terminal, TheHistoryIsKeptPerKindOfQuestion) {
    Session s(PREMIERS, false);
    std::size_t p = repondre(s, MENU, "1");
    p = repondre(s, "N ? : ", HAUT, p); // nothing yet: an empty line
    p = repondre(s, "N ? : ", "12", p);
    ASSERT_NE(p, npos);
    std::size_t q = s.attendre("12 =  (2)^2 X (3)", p);
    ASSERT_NE(q, npos) << "Up at the first N brought back a line";
    ASSERT_EQ(s.ecran().find(" 1 =  ", p), npos);
    p = repondre(s, ENCORE, "1", q);
    p = repondre(s, "N ? : ", "35", p);
    p = repondre(s, ENCORE, HAUT, p);                // "1", this question's own answer
    p = repondre(s, "N ? : ", HAUT + HAUT + "0", p); // "35", then "12": 120
    p = s.attendre("\t 120 =  (2)^3 X (3) X (5)", p);
    ASSERT_NE(p, npos) << "Up at N did not go through the numbers only";
    p = repondre(s, ENCORE, "0", p);
    p = repondre(s, MENU, HAUT, p); // the menu's own "1"
    p = repondre(s, "N ? : ", HAUT + "\x1b[B" + HAUT + HAUT + HAUT + "\x1b[B" + "1", p); // "351"
    p = s.attendre("\t 351 =  ", p);
    ASSERT_NE(p, npos) << "Down did not come back through the history";
    p = repondre(s, ENCORE, "0", p);
    repondre(s, MENU, "0", p);
    EXPECT_EQ(s.fin(), 1);
}

// The terminal reads key by key only while a question waits: after the
// program, however it ends, it reads and echoes whole lines again.
TEST(Terminal, TheTerminalIsGivenBackOnEveryWayOut) {
    for (const char* touche : {"0\r", CTRL_D, CTRL_C}) {
        for (bool a_part : {false, true}) {
            Session s(PREMIERS, a_part);
            s.garder_terminal();
            ASSERT_NE(s.attendre(MENU, 0, a_part), npos);
            EXPECT_FALSE(s.canonique()) << "the question is read with the terminal's own editing";
            s.taper(touche);
            EXPECT_EQ(s.fin(), 1) << testing::PrintToString(touche);
            EXPECT_TRUE(s.canonique())
                << testing::PrintToString(touche) << " left the terminal raw";
        }
    }
    for (int signal : {SIGTERM, SIGHUP, SIGQUIT}) {
        Session s(PREMIERS, false);
        s.garder_terminal();
        ASSERT_NE(s.attendre(MENU), npos);
        s.signaler(signal);
        EXPECT_EQ(s.fin(), -1); // ended by the signal, as before
        EXPECT_TRUE(s.canonique()) << "signal " << signal << " left the terminal raw";
    }
}

} // namespace
