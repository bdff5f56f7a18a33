// Factorisation: every result line read back and checked against N, and the
// table grown exactly as far as the trial division goes.

#include "aide.hpp"
#include "factor/factor.hpp"
#include "primes/remplissage.hpp"
#include "state/travail.hpp"

#include <NTL/ZZ.h>
#include <algorithm>
#include <gtest/gtest.h>
#include <primesieve.hpp>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

namespace {

const std::string QUESTION_N = " \n \n \n \t N ? : ";
const std::string REPRISE = "\n \n \t Nouvelle valeur de N ? Oui [1] , Non [0] : ";

ZZ grand(const std::string& chiffres) {
    return NTL::conv<ZZ>(chiffres.c_str());
}

// Factorises every N of NS in one entry of decomp, answering 1 to the repeat
// question between them, and returns the result line of each.
std::vector<std::string> resultats(const std::vector<ZZ>& ns) {
    std::ostringstream lignes;
    for (std::size_t t = 0; t < ns.size(); ++t) {
        lignes << ns[t] << '\n' << (t + 1 < ns.size() ? "1" : "0") << '\n';
    }
    Dialogue d(lignes.str());
    decomp();
    const std::string& s = d.sortie();
    std::vector<std::string> r;
    std::size_t pos = 0;
    while ((pos = s.find(QUESTION_N, pos)) != std::string::npos) {
        pos += QUESTION_N.size();
        std::size_t fin = s.find(REPRISE, pos);
        r.push_back(s.substr(pos, fin - pos));
        pos = fin;
    }
    return r;
}

// Reads " \n \n \t N =  (p)^e X (q) ..." or " \n \n \t N  est un nombre
// premier. " back into N and its factors; false when the line has neither shape.
bool lire(const std::string& ligne, ZZ& n, std::vector<std::pair<ZZ, long>>& f, bool& premier) {
    const std::string debut = " \n \n \t ";
    const std::string prime = "  est un nombre premier. ";
    if (ligne.rfind(debut, 0) != 0) {
        return false;
    }
    std::string reste = ligne.substr(debut.size());
    f.clear();
    premier = reste.size() > prime.size() && reste.ends_with(prime);
    if (premier) {
        n = grand(reste.substr(0, reste.size() - prime.size()));
        f.emplace_back(n, 1);
        return true;
    }
    std::size_t egal = reste.find(" =  ");
    if (egal == std::string::npos) {
        return false;
    }
    n = grand(reste.substr(0, egal));
    std::string produit = reste.substr(egal + 4);
    while (!produit.empty()) {
        std::size_t ferme = produit.find(')');
        if (produit[0] != '(' || ferme == std::string::npos) {
            return false;
        }
        ZZ p = grand(produit.substr(1, ferme - 1));
        produit.erase(0, ferme + 1);
        long e = 1;
        if (produit.starts_with("^")) {
            std::size_t fin = produit.find(' ');
            e = std::stol(produit.substr(1, fin - 1));
            if (e < 2) {
                return false; // an exponent of 1 is never printed
            }
            produit.erase(0, fin == std::string::npos ? produit.size() : fin);
        }
        f.emplace_back(p, e);
        if (!produit.empty()) {
            if (!produit.starts_with(" X ")) {
                return false;
            }
            produit.erase(0, 3);
        }
    }
    return true;
}

// The factorisation printed for N is N's: increasing primes whose product is
// N, and the prime-case line exactly for a prime N.
void verifier(const ZZ& attendu, const std::string& ligne) {
    ZZ n;
    std::vector<std::pair<ZZ, long>> f;
    bool premier = false;
    ASSERT_TRUE(lire(ligne, n, f, premier)) << ligne;
    ASSERT_EQ(n, attendu) << ligne;
    EXPECT_EQ(premier, attendu > 1 && NTL::ProbPrime(attendu) == 1) << ligne;
    ZZ produit(1);
    for (std::size_t t = 0; t < f.size(); ++t) {
        EXPECT_EQ(NTL::ProbPrime(f[t].first), 1) << ligne;
        if (t > 0) {
            EXPECT_LT(f[t - 1].first, f[t].first) << ligne;
        }
        produit *= NTL::power(f[t].first, f[t].second);
    }
    EXPECT_EQ(produit, n) << ligne;
}

TEST(Decomp, ScreensOfSmallN) {
    table_neuve();
    const std::vector<std::string> r = resultats({ZZ(1), ZZ(2), ZZ(4), ZZ(12), ZZ(18), ZZ(49)});
    const std::vector<std::string> attendu = {
        " \n \n \t 1 =  ",
        " \n \n \t 2  est un nombre premier. ",
        " \n \n \t 4 =  (2)^2",
        " \n \n \t 12 =  (2)^2 X (3)",
        " \n \n \t 18 =  (2) X (3)^2",
        " \n \n \t 49 =  (7)^2",
    };
    EXPECT_EQ(r, attendu);
    EXPECT_EQ(S, 1);
}

TEST(Decomp, HeaderOncePerEntryFromTheMenu) {
    table_neuve();
    Dialogue d("6\n1\n35\n0\n");
    decomp();
    EXPECT_EQ(d.sortie(),
              "\n" + std::string(107, '_') +
                  " \n \n \t *****  DECOMPOSITION D'UN ENTIER N EN FACTEURS PREMIERS.  ***** " +
                  QUESTION_N + " \n \n \t 6 =  (2) X (3)" + REPRISE + QUESTION_N +
                  " \n \n \t 35 =  (5) X (7)" + REPRISE);
}

TEST(Decomp, EveryNUpTo20000InOneEntry) {
    table_neuve();
    std::vector<ZZ> ns;
    for (long n = 1; n <= 20000; ++n) {
        ns.emplace_back(n);
    }
    const std::vector<std::string> r = resultats(ns);
    ASSERT_EQ(r.size(), ns.size());
    for (std::size_t t = 0; t < ns.size(); ++t) {
        verifier(ns[t], r[t]);
    }
}

// Past the test file's last prime (104759): 104761, 104773, 104779 are the next
// primes; 10000000019 is prime too, a cofactor found once the trial primes
// pass its root.
std::vector<ZZ> au_dela() {
    const ZZ p(104761), q(104773), s(104779), g(10000000019L);
    return {p * p,     p * q,      p * q * q, p * q * s, 2 * p,
            q,         g,          2 * g,     p * g,     g * NTL::power2_ZZ(100),
            3 * p * p, power(q, 5)};
}

TEST(Decomp, FactorsBeyondTheFile) {
    table_neuve();
    std::vector<ZZ> ns = au_dela();
    ns.push_back(grand("1000000000000000000000000000000000000000000000000000000000000")); // 10^60
    const std::vector<std::string> r = resultats(ns);
    ASSERT_EQ(r.size(), ns.size());
    for (std::size_t t = 0; t < ns.size(); ++t) {
        verifier(ns[t], r[t]);
    }
}

long rang(long p) {
    return static_cast<long>(primesieve::count_primes(0, static_cast<std::uint64_t>(p)));
}

// Rank of the last prime the trial division tries on N (0 for N = 1): the
// largest prime factor P itself when it is repeated; otherwise the first
// prime above both the next smaller factor and the square root of P, where
// the cofactor P is recognised as prime.
long dernier_rang(long n) {
    std::vector<std::pair<long, int>> f;
    for (long d = 2; d * d <= n; ++d) {
        for (int e = 0; n % d == 0; ++e) {
            n /= d;
            if (e == 0) {
                f.emplace_back(d, 0);
            }
            ++f.back().second;
        }
    }
    if (n > 1) {
        f.emplace_back(n, 1);
    }
    if (f.empty()) {
        return 0;
    }
    auto [grand_p, e] = f.back();
    if (e > 1) {
        return rang(grand_p);
    }
    long avant = f.size() > 1 ? f[f.size() - 2].first : 1;
    long racine = NTL::conv<long>(NTL::SqrRoot(ZZ(grand_p)));
    return rang(static_cast<long>(
        primesieve::nth_prime(1, static_cast<std::uint64_t>(std::max(avant, racine)))));
}

TEST(Decomp, TableGrowsToTheLastTrialPrime) {
    const std::vector<long> ns = {1,
                                  2,
                                  3,
                                  97,
                                  1024,
                                  104759,
                                  104761,
                                  2 * 104761,
                                  10974867121,
                                  104761L * 104773L,
                                  104761L * 104773L * 104773L,
                                  104761L * 104773L * 104779L,
                                  10000000019L,
                                  20000000038L,
                                  1000003L * 1000003L,
                                  999983L * 1000003L};
    for (long n : ns) {
        table_neuve();
        resultats({ZZ(n)});
        attendre_table();
        EXPECT_EQ(np, std::max(2L, dernier_rang(n))) << n;
    }
}

TEST(Decomp, LaterFeaturesFindTheGrownTable) {
    table_neuve();
    resultats({ZZ(104773L * 104773L)});
    attendre_table();
    EXPECT_EQ(np, 10004);
    const std::vector<std::int64_t> avant(Nprem.begin(), Nprem.end());
    resultats({ZZ(104761L * 104773L), ZZ(30)}); // needs nothing new
    attendre_table();
    EXPECT_EQ(Nprem, avant);
    resultats({ZZ(104779L * 104779L)});
    attendre_table();
    EXPECT_EQ(np, 10005);
    attendre_table();
    EXPECT_EQ(Nprem[10005], 104779);
}

} // namespace
