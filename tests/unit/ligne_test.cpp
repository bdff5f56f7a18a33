// The line editor of the terminal: what the keys do to the line, and what
// the screen shows of it, checked on a one-row screen that obeys the same
// few codes as a terminal.

#include "input/ligne.hpp"

#include <gtest/gtest.h>
#include <random>
#include <string>
#include <vector>

namespace {

const std::vector<std::string> AUCUN;

// Types TOUCHES into a fresh line and returns its text.
std::string taper(const std::string& touches, const std::vector<std::string>& h = AUCUN) {
    LigneEditee l(h, 80);
    l.recevoir(touches);
    return l.texte();
}

TEST(Ligne, KeysMoveEraseAndInsert) {
    EXPECT_EQ(taper("2\x1b[D"
                    "1"),
              "12");
    EXPECT_EQ(taper("99\x01"
                    "1\x05"
                    "7"),
              "1997"); // Ctrl-A, Ctrl-E
    EXPECT_EQ(taper("5\x1b[H"
                    "3\x1b[F"
                    "1"),
              "351"); // Home, End
    EXPECT_EQ(taper("5\x1bOH"
                    "3\x1b[4~"
                    "1\x1b[1~"
                    "0"),
              "0351");                                       // their other codes
    EXPECT_EQ(taper("123456\x1b[D\x1b[D\x1b[D\x0b"), "123"); // Ctrl-K
    EXPECT_EQ(taper("123456\x1b[D\x1b[D\x15"), "56");        // Ctrl-U
    EXPECT_EQ(taper("8x5\x01\x06\x1b[3~"), "85");            // Ctrl-F, Delete
    EXPECT_EQ(taper("7x3\x02\x7f"), "73");                   // Ctrl-B, Backspace
    EXPECT_EQ(taper("7x3\x02\x08"), "73");                   // Ctrl-H
    EXPECT_EQ(taper("64 999  \x17\x7f"), "64");              // Ctrl-W
    EXPECT_EQ(taper("\x7f\x1b[D\x1b[3~\x01\x7f"
                    "4"),
              "4"); // nothing to erase
    EXPECT_EQ(taper("1\t2\x1b[1;5C\x1b"
                    "b3"),
              "123"); // ignored keys
}

TEST(Ligne, UnicodeCharactersAreErasedAndCrossedWhole) {
    EXPECT_EQ(taper("a\xc3\xa9\x7f"
                    "b"),
              "ab");
    EXPECT_EQ(taper("\xc3\xa9z\x01\x1b[C\x1b[C\x7f"), "\xc3\xa9");
    EXPECT_EQ(taper("\xe2\x82\xac"
                    "1\x01\x1b[3~"),
              "1");
}

TEST(Ligne, EnterEndsTheLineAndTheRestIsLeft) {
    std::vector<std::string> h;
    LigneEditee l(h, 80);
    EXPECT_EQ(l.recevoir("12\r34\r"), 3u);
    EXPECT_TRUE(l.validee());
    EXPECT_EQ(l.texte(), "12");
    LigneEditee m(h, 80);
    EXPECT_EQ(m.recevoir("5\r\n6"), 3u); // a pasted CR LF is one line end
    LigneEditee n(h, 80);
    EXPECT_EQ(n.recevoir("5\n\n"), 2u);
}

TEST(Ligne, CtrlDEndsInputOnlyOnAnEmptyLine) {
    LigneEditee l(AUCUN, 80);
    l.recevoir("12\x01\x04");
    EXPECT_FALSE(l.fin_entree());
    EXPECT_EQ(l.texte(), "2");
    l.recevoir("\x04\x04");
    EXPECT_TRUE(l.fin_entree());
    EXPECT_FALSE(l.validee());
    LigneEditee m(AUCUN, 80);
    m.recevoir("\x1b[3~"); // Delete is not Ctrl-D
    EXPECT_FALSE(m.fin_entree());
}

TEST(Ligne, AKeySequenceMaySpanTwoReads) {
    LigneEditee l(AUCUN, 80);
    l.recevoir("2\x1b");
    EXPECT_TRUE(l.sequence_en_attente());
    l.recevoir("[");
    l.recevoir("D1");
    EXPECT_EQ(l.texte(), "12");
    l.recevoir("\x1b");
    l.abandonner_sequence(); // Escape alone
    l.recevoir("[D");
    EXPECT_EQ(l.texte(), "1[D2");
}

TEST(Ligne, UpAndDownGoThroughTheHistoryAndBackToTheNewLine) {
    std::vector<std::string> h = {"12", "35"};
    EXPECT_EQ(taper("\x1b[A", h), "35");
    EXPECT_EQ(taper("\x1b[A\x1b[A\x1b[A\x1b[A", h), "12"); // stops at the oldest
    EXPECT_EQ(taper("7\x1b[A\x1b[A\x1b[B\x1b[B", h), "7"); // the line typed is kept
    EXPECT_EQ(taper("\x1b[A\x1b[B\x1b[B", h), "");
    EXPECT_EQ(taper("\x10\x10\x0e"
                    "0",
                    h),
              "350"); // Ctrl-P, Ctrl-N, then typed at the end
    EXPECT_EQ(taper("\x1b[A", AUCUN), "");
}

// One row of a terminal: the codes the editor writes, and nothing else.
struct Rangee {
    std::string cases;
    std::size_t colonne = 0;

    void recevoir(const std::string& s) {
        for (std::size_t i = 0; i < s.size(); ++i) {
            if (s[i] == '\x1b') {
                ASSERT_EQ(s[i + 1], '[');
                std::size_t j = i + 2;
                std::size_t n = 0;
                while (s[j] >= '0' && s[j] <= '9') {
                    n = n * 10 + static_cast<std::size_t>(s[j++] - '0');
                }
                if (s[j] == 'K') {
                    cases.resize(std::min(cases.size(), colonne));
                } else if (s[j] == 'C') {
                    colonne += n;
                } else {
                    ASSERT_EQ(s[j], 'D');
                    ASSERT_LE(n, colonne) << "moved left of the row";
                    colonne -= n;
                }
                i = j;
            } else if (s[i] == '\r' || s[i] == '\n') {
                ASSERT_EQ(s.substr(i), "\r\n");
                return;
            } else {
                if (cases.size() <= colonne) {
                    cases.resize(colonne + 1, ' ');
                }
                cases[colonne++] = s[i];
            }
        }
    }
};

// The row shows a whole piece of the line, as wide as the row allows, and
// the cursor on it where it is in the line.
void verifier(const LigneEditee& l, const Rangee& r, std::size_t largeur) {
    ASSERT_LT(r.colonne, largeur);
    ASSERT_LE(r.colonne, l.curseur());
    std::size_t debut = l.curseur() - r.colonne;
    std::string attendu = l.texte().substr(debut, largeur - 1);
    ASSERT_EQ(r.cases, attendu) << "cursor " << l.curseur() << " of " << l.texte().size();
}

TEST(Ligne, TheRowAlwaysShowsTheLineAroundTheCursor) {
    std::mt19937 hasard(15);
    const char* touches[] = {"\x1b[D", "\x1b[C", "\x01", "\x05",   "\x7f",   "\x1b[3~",
                             "\x0b",   "\x15",   "\x17", "\x1b[A", "\x1b[B", " "};
    std::vector<std::string> h = {"4", std::string(300, '7'), "123456789"};
    for (std::size_t largeur : {2u, 3u, 10u, 81u}) {
        LigneEditee l(h, static_cast<int>(largeur));
        Rangee r;
        std::string ecran;
        for (int pas = 0; pas < 3000; ++pas) {
            std::string lot;
            for (int k = static_cast<int>(hasard() % 4); k >= 0; --k) {
                if (hasard() % 3 == 0) {
                    lot += touches[hasard() % std::size(touches)];
                } else {
                    lot.append(hasard() % 5 == 0 ? hasard() % 200 : 1,
                               static_cast<char>('0' + hasard() % 10));
                }
            }
            l.recevoir(lot);
            l.dessiner(ecran);
            r.recevoir(ecran);
            ecran.clear();
            verifier(l, r, largeur);
            if (HasFatalFailure()) {
                return;
            }
        }
        l.conclure(ecran);
        r.recevoir(ecran);
        EXPECT_EQ(l.curseur(), l.texte().size());
        verifier(l, r, largeur);
    }
}

// A paste of any length costs a row to draw, not the line.
TEST(Ligne, ALongPasteIsDrawnInARow) {
    LigneEditee l(AUCUN, 120);
    std::string ecran;
    l.dessiner(ecran);
    std::string colle(100000, '0');
    for (std::size_t p = 0; p < colle.size(); p += 4096) {
        l.recevoir(std::string_view(colle).substr(p, 4096));
        l.dessiner(ecran);
    }
    EXPECT_EQ(l.texte(), colle);
    EXPECT_LT(ecran.size(), 6000u);
    ecran.clear();
    l.recevoir("\x01");
    l.dessiner(ecran);
    EXPECT_LT(ecran.size(), 200u);
}

} // namespace
