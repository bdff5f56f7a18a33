// Which lines each mode of controle accepts, and what it leaves behind.

#include "aide.hpp"
#include "state/reponses.hpp"

#include <algorithm>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

// Runs one question in MODE on LIGNES (the accepted line last) and returns how
// many times the question was written.
int questions(int mode, const std::string& lignes, int xn_ = 0, std::int64_t np_ = 2) {
    xn = xn_;
    np = np_;
    Dialogue d(lignes);
    controle(mode, "?");
    const std::string& s = d.sortie();
    return static_cast<int>(std::count(s.begin(), s.end(), '?'));
}

TEST(Controle, MenuModesAcceptOneDigitOfTheirSet) {
    EXPECT_EQ(questions(6, "3\n"), 1);
    EXPECT_EQ(valeur2, 3);
    // 6, 03, a, an empty line, "3 " are refused before 0.
    EXPECT_EQ(questions(6, "6\n03\na\n\n3 \n0\n"), 6);
    EXPECT_EQ(valeur2, 0);
    EXPECT_EQ(questions(1, "2\n10\n1\n"), 3);
    EXPECT_EQ(valeur2, 1);
    EXPECT_EQ(questions(10, "4\n3\n"), 2);
    EXPECT_EQ(valeur2, 3);
    EXPECT_EQ(questions(8, "6\n5\n"), 2);
    EXPECT_EQ(valeur2, 5);
}

TEST(Controle, RefusedMenuLineLeavesTheAnswerUnchanged) {
    valeur2 = 4;
    questions(1, "7\n1\n");
    EXPECT_EQ(valeur2, 1);
}

TEST(Controle, PositiveModesRefuseEveryOtherShape) {
    for (int mode : {4, 11}) {
        EXPECT_EQ(questions(mode, "+7\n", 1), 1);
        EXPECT_EQ(valeur, 7);
        EXPECT_EQ(questions(mode, "10\n", 1), 1);
        EXPECT_EQ(valeur, 10);
        const std::vector<std::string> refus = {
            "0", "+", "+0", "+07", "007", "-7", "1-2", "1+2", "1 2", "1.5", "9223372036854775808"};
        std::string lignes;
        for (const auto& l : refus) {
            lignes += l + "\n";
        }
        EXPECT_EQ(questions(mode, lignes + "9223372036854775807\n", 1),
                  static_cast<int>(refus.size()) + 1);
        EXPECT_EQ(valeur, INT64_MAX);
    }
}

TEST(Controle, ZeroAcceptedOnlyWhileXnIsZero) {
    EXPECT_EQ(questions(4, "0\n", 0), 1);
    EXPECT_EQ(valeur, 0);
    EXPECT_EQ(questions(9, "0\n5\n", 1), 2);
    EXPECT_EQ(valeur0, 5);
}

TEST(Controle, BigModeTakesAnyNumberOfDigits) {
    std::string n60 = "9" + std::string(58, '0') + "7";
    EXPECT_EQ(questions(9, "-1\n+" + n60 + "\n", 1), 2);
    EXPECT_EQ(valeur0, NTL::conv<ZZ>(n60.c_str()));
    std::string n1000(1000, '3');
    questions(9, n1000 + "\n", 1);
    EXPECT_EQ(valeur0, NTL::conv<ZZ>(n1000.c_str()));
}

TEST(Controle, SignedModeAcceptsCommandsAndTheWholeRange) {
    un = 0;
    EXPECT_EQ(questions(7, "-5\n"), 1);
    EXPECT_EQ(valeur, -5);
    EXPECT_EQ(questions(7, "+5\n"), 1);
    EXPECT_EQ(valeur, 5);
    EXPECT_EQ(questions(7, "0\n"), 1);
    EXPECT_EQ(valeur, 0);
    EXPECT_EQ(un, 0);
    EXPECT_EQ(questions(7, "-0\n+0\n-05\n--5\n+-5\n5-\n-\n9223372036854775808\n"
                           "-9223372036854775809\n-9223372036854775808\n"),
              10);
    EXPECT_EQ(valeur, INT64_MIN);
    EXPECT_EQ(questions(7, "9223372036854775807\n"), 1);
    EXPECT_EQ(valeur, INT64_MAX);
    EXPECT_EQ(un, 0);
}

TEST(Controle, LeadingEqualsSetsUnEvenOnARefusedLine) {
    un = 0;
    EXPECT_EQ(questions(7, "=12\n"), 1);
    EXPECT_EQ(un, 1);
    EXPECT_EQ(valeur, 12);
    un = 0;
    EXPECT_EQ(questions(7, "=-3\n"), 1);
    EXPECT_EQ(valeur, -3);
    un = 0;
    EXPECT_EQ(questions(7, "==3\n=\n7\n"), 3);
    EXPECT_EQ(un, 1);
    EXPECT_EQ(valeur, 7);
}

TEST(Controle, StarOpensTheSelectionsOnlyOnceTheTableHasGrown) {
    valeur = 42;
    EXPECT_EQ(questions(7, "*\n1\n", 0, 2), 2);
    EXPECT_EQ(voir, 0);
    EXPECT_EQ(questions(7, "**\n* \n=*\n*\n", 0, 3), 4);
    EXPECT_EQ(voir, 1);
    EXPECT_EQ(valeur, 1); // "*" carries no value
    questions(1, "1\n");
    EXPECT_EQ(voir, 0); // every question clears it
}

TEST(Controle, LineEndsAndOddBytes) {
    EXPECT_EQ(questions(6, "2\r\n"), 1);
    EXPECT_EQ(valeur2, 2);
    EXPECT_EQ(questions(6, std::string("2\0\n4", 4)), 2); // NUL is a character; no final line feed
    EXPECT_EQ(valeur2, 4);
    EXPECT_EQ(questions(6, "\xff\n\r\r\n1\n"), 3);
    EXPECT_EQ(valeur2, 1);
    EXPECT_EQ(questions(11, std::string(1 << 20, '1') + "\n12\n", 1), 2);
    EXPECT_EQ(valeur, 12);
}

TEST(Controle, EndOfInputEndsTheProgram) {
    EXPECT_EXIT(questions(6, "9\n"), testing::ExitedWithCode(1), "");
    EXPECT_EXIT(questions(7, ""), testing::ExitedWithCode(1), "");
}

TEST(Controle, ValtestClassifiesAnswerCharacters) {
    EXPECT_EQ(valtest('7'), 1);
    EXPECT_EQ(valtest1, 7);
    EXPECT_EQ(valtest2, 7);
    EXPECT_EQ(valtest('-'), 1);
    EXPECT_EQ(valtest1, -1);
    EXPECT_EQ(valtest('+'), 1);
    EXPECT_EQ(valtest1, 1);
    EXPECT_EQ(valtest('x'), 0);
    EXPECT_EQ(valtest1, 0);
    EXPECT_EQ(valtest2, 0);
}

} // namespace
