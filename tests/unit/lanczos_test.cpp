// The dependencies over GF(2) on matrices shaped like the sieve's, measured
// against the kernel's dimension a literal elimination finds; the small and
// degenerate matrices; a matrix too large for the memory left.

#include "factor/algebre_gf2.hpp"
#include "reference.hpp"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <gtest/gtest.h>
#include <random>
#include <set>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

using Lignes = std::vector<std::vector<std::uint32_t>>;

MatriceCreuse creuse(const Lignes& lignes, std::uint32_t largeur) {
    MatriceCreuse m;
    m.largeur = largeur;
    for (const auto& l : lignes) {
        m.colonnes.insert(m.colonnes.end(), l.begin(), l.end());
        m.fermer_ligne();
    }
    return m;
}

// Rows of 10 to 30 columns drawn as the primes of a relation divide it:
// column c about as often as 1 / (c + 1), so the first columns are dense.
Lignes comme_le_crible(std::uint32_t largeur, std::uint32_t lignes, std::uint32_t graine) {
    std::mt19937 alea(graine);
    std::uniform_real_distribution<double> u(0, 1);
    Lignes m(lignes);
    for (auto& l : m) {
        std::set<std::uint32_t> s;
        const auto poids = 10 + alea() % 21;
        while (s.size() < poids) {
            s.insert(static_cast<std::uint32_t>(std::pow(largeur + 1.0, u(alea))) - 1);
        }
        l.assign(s.begin(), s.end());
    }
    return m;
}

// Each dependency sums to zero, and they are independent: the rank of the
// dependencies, as rows over the matrix's rows, is their number.
void verifier(const Lignes& m, std::uint32_t largeur, const Lignes& deps) {
    Lignes vecteurs;
    for (const auto& d : deps) {
        std::vector<int> somme(largeur, 0);
        for (std::uint32_t r : d) {
            for (std::uint32_t c : m[r]) {
                somme[c] ^= 1;
            }
        }
        ASSERT_EQ(std::count(somme.begin(), somme.end(), 1), 0);
        ASSERT_TRUE(std::is_sorted(d.begin(), d.end()));
        vecteurs.push_back(d);
    }
    EXPECT_EQ(rang_literal(vecteurs, static_cast<std::uint32_t>(m.size())), deps.size());
}

// From the dense elimination of small matrices to block Lanczos: as many
// dependencies as the kernel holds up to 64, less a few for Lanczos. Long
// under ThreadSanitizer, which leaves the tests named Reference to the
// other builds: the split over the cores is seen there by the next test.
TEST(AlgebreGF2, AsManyAsTheReferenceKernelHolds) {
    struct Cas {
        std::uint32_t largeur, excedent;
        bool reference; // the literal elimination runs in a few seconds
    };
    for (Cas c : {Cas{100, 64, true}, Cas{400, 20, true}, Cas{600, 64, true}, Cas{2000, 64, true},
                  Cas{3000, 30, true}, Cas{20000, 64, false}, Cas{50000, 64, false}}) {
        for (std::uint32_t graine = 1; graine <= (c.largeur <= 3000 ? 3u : 1u); ++graine) {
            Lignes m = comme_le_crible(c.largeur, c.largeur + c.excedent, graine);
            Lignes deps = dependances(creuse(m, c.largeur));
            std::size_t noyau = c.reference ? m.size() - rang_literal(m, c.largeur) : 64;
            std::size_t attendu = std::min<std::size_t>(noyau, 64);
            SCOPED_TRACE(testing::Message() << c.largeur << " columns, start " << graine);
            EXPECT_LE(deps.size(), attendu);
            EXPECT_GE(deps.size() + (c.largeur > COLONNES_DENSES ? 6 : 0), attendu);
            verifier(m, c.largeur, deps);
        }
    }
}

// The parts split sums of words only: the dependencies are the same on one
// core and on two.
TEST(AlgebreGF2, SameDependenciesOnOneCoreOrTwo) {
    Lignes m = comme_le_crible(8000, 8064, 4);
    MatriceCreuse creuse_m = creuse(m, 8000);
    EXPECT_EQ(dependances(creuse_m, 64, 1), dependances(creuse_m, 64, 2));
}

TEST(AlgebreGF2, SmallAndDegenerateMatrices) {
    struct Cas {
        Lignes lignes;
        std::uint32_t largeur;
        int maximum;
        Lignes attendues;
    };
    const Cas cas[] = {
        {{}, 4, 64, {}},
        {{{}}, 4, 64, {{0}}},                            // an empty row is a square
        {{{1}}, 4, 64, {}},                              // a lone column
        {{{0, 2}, {0, 2}}, 4, 64, {{0, 1}}},             // a row twice
        {{{0, 1}, {1, 2}, {0, 2}}, 3, 64, {{0, 1, 2}}},  // the third the sum of the others
        {{{}, {}, {}}, 1, 64, {{0}, {1}, {2}}},          // zero rows only
        {{{}, {}, {}}, 1, 2, {{0}, {1}}},                // no more than asked
        {{{0}, {0}, {0}, {3}}, 4, 64, {{0, 1}, {0, 2}}}, // the lone column's row out
        {{{0}, {0}, {0}}, 1, 0, {}},
    };
    for (const Cas& c : cas) {
        Lignes deps = dependances(creuse(c.lignes, c.largeur), c.maximum);
        EXPECT_EQ(deps.size(), c.attendues.size()) << c.lignes.size() << " rows";
        verifier(c.lignes, c.largeur, deps);
    }
}

// Under a limit on the address space too close for the elimination, the
// answer is std::bad_alloc, in a child process so that the limit stays
// there.
TEST(AlgebreGF2, ShortOfMemoryThrowsBeforeTheWork) {
    const std::uint32_t largeur = 60000;
    MatriceCreuse m = creuse(comme_le_crible(largeur, largeur + 64, 5), largeur);
    pid_t enfant = fork();
    ASSERT_GE(enfant, 0);
    if (enfant == 0) {
        rlimit limite{};
        getrlimit(RLIMIT_AS, &limite);
        long pages = 0;
        if (FILE* f = std::fopen("/proc/self/statm", "r")) {
            if (std::fscanf(f, "%ld", &pages) != 1) {
                pages = 0;
            }
            std::fclose(f);
        }
        limite.rlim_cur = static_cast<rlim_t>(pages) * 4096 + (4 << 20);
        setrlimit(RLIMIT_AS, &limite);
        int code = 1;
        try {
            dependances(m);
        } catch (const std::bad_alloc&) {
            code = 0;
        } catch (...) {
            code = 2;
        }
        _exit(code);
    }
    int etat = 0;
    ASSERT_EQ(waitpid(enfant, &etat, 0), enfant);
    ASSERT_TRUE(WIFEXITED(etat));
    EXPECT_EQ(WEXITSTATUS(etat), 0);
}

} // namespace
