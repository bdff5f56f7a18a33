// Where the factors come from: PARI against FLINT, two libraries written
// apart, on the same numbers; the bytes a child process hands back; a large
// N factored in that child, with the table growth it implies.

#include "aide.hpp"
#include "base/interruption.hpp"
#include "factor/factor.hpp"
#include "factor/moteur.hpp"
#include "primes/remplissage.hpp"
#include "state/travail.hpp"

#include <NTL/ZZ.h>
#include <chrono>
#include <csignal>
#include <gtest/gtest.h>
#include <random>
#include <sstream>
#include <string>
#include <thread>
#include <unistd.h>

namespace {

std::string decimal(const ZZ& v) {
    std::ostringstream o;
    o << v;
    return o.str();
}

void memes(const Decomposition& a, const Decomposition& b, const ZZ& n) {
    ASSERT_EQ(a.decimal_n, b.decimal_n) << n;
    ASSERT_EQ(a.facteurs.size(), b.facteurs.size()) << n;
    for (std::size_t t = 0; t < a.facteurs.size(); ++t) {
        EXPECT_EQ(a.facteurs[t].valeur, b.facteurs[t].valeur) << n;
        EXPECT_EQ(a.facteurs[t].decimal, b.facteurs[t].decimal) << n;
        EXPECT_EQ(a.facteurs[t].exposant, b.facteurs[t].exposant) << n;
    }
}

ZZ premier_aleatoire(std::mt19937_64& alea, long bits) {
    ZZ v;
    do {
        v = 0;
        for (long b = 0; b < bits; b += 32) {
            v = (v << 32) + static_cast<long>(alea() & 0xFFFFFFFF);
        }
        v = NTL::NextPrime(v >> (NumBits(v) > bits ? NumBits(v) - bits : 0));
    } while (NumBits(v) == 0);
    return v;
}

// Products of primes of 2 to 41 bits with exponents up to 3, the edges of
// the machine words among them: both libraries give the same lines.
TEST(Moteur, PariAndFlintAgreeOnManyNumbers) {
    std::mt19937_64 alea(2024);
    std::vector<ZZ> ns = {ZZ(1),
                          ZZ(2),
                          ZZ(4),
                          NTL::power2_ZZ(63) - 1,
                          NTL::power2_ZZ(64) - 1,
                          NTL::power2_ZZ(64) + 1,
                          NTL::NextPrime(NTL::power2_ZZ(63)),
                          NTL::sqr(NTL::NextPrime(NTL::power2_ZZ(64)))};
    for (int n = 0; n < 400; ++n) {
        ZZ v(1);
        for (int t = static_cast<int>(alea() % 4) + 1; t > 0; --t) {
            v *= NTL::power(premier_aleatoire(alea, static_cast<long>(alea() % 40) + 2),
                            static_cast<long>(alea() % 3) + 1);
        }
        ns.push_back(v);
    }
    for (const ZZ& n : ns) {
        Decomposition p = decomposer(n);
        memes(p, decomposer_flint(n), n);
        EXPECT_EQ(p.decimal_n, decimal(n));
    }
}

// Numbers of algebraic forms, factored piece by piece: the same lines as
// FLINT's on the whole number, a prime found in several pieces with its
// exponents added (3^2 in 2^102 - 1 and 2^105 + 1, from Phi_2 and Phi_6;
// 3^4 in 10^45 - 1; 5^2 in 2^150 + 1).
TEST(Moteur, PiecesMergedAsTheWholeNumber) {
    const std::vector<ZZ> ns = {
        NTL::power2_ZZ(102) - 1,
        NTL::power2_ZZ(105) + 1,
        NTL::power(ZZ(10), 45) - 1,
        NTL::power2_ZZ(150) + 1,
        (NTL::power(ZZ(10), 42) + 1) / 101,
        (NTL::power(ZZ(10), 37) - 1) / 9,
    };
    for (const ZZ& n : ns) {
        memes(decomposer(n), decomposer_flint(n), n);
    }
}

// Above 100 digits ECM works alone: the 25-digit factor of this 135-digit
// number is found by the first curve of the ladder.
TEST(Moteur, EcmAloneAbove100Digits) {
    const ZZ n =
        NTL::conv<ZZ>("2496625365818768738251531540104746865957307168169387629357574173558614"
                      "9563799552383271210174216976328678808415274276193328397078730023");
    Decomposition d = decomposer(n);
    ASSERT_EQ(d.facteurs.size(), 2u);
    EXPECT_EQ(d.facteurs[0].decimal, "1325482031765147111049529");
    EXPECT_EQ(d.facteurs[0].valeur * d.facteurs[1].valeur, n);
}

// Ctrl-C in the middle of ECM's endless climb on a composite out of its
// reach (two primes of 55 digits), in the program itself: the search stops
// and Interruption comes back through the library.
TEST(Moteur, CtrlCStopsEcmInTheProgram) {
    installer_interruption();
    const ZZ n = NTL::NextPrime(NTL::power(ZZ(10), 54)) * NTL::NextPrime(NTL::power(ZZ(10), 55));
    std::thread frappe([] {
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        ::kill(::getpid(), SIGINT);
    });
    auto debut = std::chrono::steady_clock::now();
    EXPECT_THROW(decomposer(n), Interruption);
    frappe.join();
    interruption_demandee = 0;
    EXPECT_LT(std::chrono::steady_clock::now() - debut, std::chrono::seconds(10));
}

TEST(Moteur, BytesComeBackWhole) {
    ZZ grand = NTL::NextPrime(NTL::power(ZZ(10), 300));
    ZZ n = NTL::power(ZZ(2), 5) * grand * grand * 1000003;
    Decomposition d = decomposer(n);
    ASSERT_EQ(d.facteurs.size(), 3u);
    EXPECT_EQ(d.facteurs[2].valeur, grand);
    EXPECT_EQ(d.facteurs[2].exposant, 2);
    memes(depuis_octets(en_octets(d)), d, n);
    // Cut short, the bytes give a shorter answer, never a read past their end.
    std::string octets = en_octets(d);
    for (std::size_t taille :
         {std::size_t{0}, std::size_t{5}, octets.size() / 2, octets.size() - 1}) {
        Decomposition c = depuis_octets(octets.substr(0, taille));
        EXPECT_LE(c.facteurs.size(), d.facteurs.size());
    }
}

// With the Ctrl-C handler a large N goes to a child process: the screen is
// the one of the factors, and the table stops at its limit, lowered here,
// since the cofactor's root is beyond every prime of the file.
TEST(Moteur, LargeNInAChildProcess) {
    table_neuve();
    RangFichierAbaisse limite(10500);
    installer_interruption();
    const ZZ premier = NTL::power(ZZ(10), 102) + 117; // the first prime above 10^102
    const std::string p = decimal(premier);
    const std::string q = "18446744073709551629"; // 2^64 + 13, prime
    ZZ n = premier * NTL::conv<ZZ>(q.c_str()) * 9;
    Dialogue d(decimal(n) + "\n1\n" + decimal(premier) + "\n0\n");
    decomp();
    const std::string& s = d.sortie();
    EXPECT_NE(s.find(" \n \n \t " + decimal(n) + " =  (3)^2 X (" + q + ") X (" + p + ")"),
              std::string::npos);
    EXPECT_NE(s.find(" \n \n \t " + p + "  est un nombre premier. "), std::string::npos);
    attendre_table();
    EXPECT_EQ(np, 10500);
}

} // namespace
