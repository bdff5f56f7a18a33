// The program at a terminal: Ctrl-C stops long work and brings back the
// menu, the progress line goes to standard error only, answers can be
// edited. Each case waits for the screen texts, never for fixed times.

#include "session.hpp"

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
