// Menu [1]: factorisation of N >= 1. The factors come from a factoring
// library (trial division, Pollard rho, ECM, quadratic sieve); the table
// grows as trial division with its primes would have grown it, up to the end
// of liste.txt at most.

#include "base/enfant.hpp"
#include "factor/factor.hpp"
#include "input/input.hpp"
#include "primes/portee.hpp"
#include "state/reponses.hpp"
#include "state/sortie.hpp"
#include "state/table.hpp"
#include "state/travail.hpp"

#include <algorithm>
#include <cstdint>
#include <flint/NTL-interface.h>
#include <flint/fmpz.h>
#include <flint/fmpz_factor.h>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

namespace {

constexpr std::int64_t COFACTEUR = -1; // in Nfact: the factor is above 2^63 - 1, kept in grands

std::int32_t nf = 0;    // distinct prime factors recorded for the current N
std::vector<ZZ> grands; // factors above 2^63 - 1, at their positions

void entete() {
    out << "\n___________________________________________________________________________________________________________";
    out << " \n \n \t *****  DECOMPOSITION D'UN ENTIER N EN FACTEURS PREMIERS.  ***** ";
}

// Asks N (0 refused) into S.
void demander_n() {
    S = 1;
    question(" \n \n \n \t N ? : ");
    xn = 1;
    A = controle(9, message);
    S = valeur0;
    xn = 0;
}

// One more factor at position nf. The arrays only grow: entries above nf,
// left by an earlier N, are never read. A factor above 2^63 - 1 is marked
// COFACTEUR in Nfact and kept in grands.
void enregistrer(const ZZ& facteur, std::int64_t exposant) {
    ++nf;
    Nfact.push_back(0);
    Nexpo.push_back(0);
    auto t = static_cast<std::size_t>(nf);
    if (NumBits(facteur) < 64) {
        Nfact[t] = NTL::conv<long>(facteur);
    } else {
        Nfact[t] = COFACTEUR;
        grands.resize(std::max(grands.size(), t + 1));
        grands[t] = facteur;
    }
    Nexpo[t] = exposant;
}

// The factoring library's answer for N: "prime exponent" pairs, as text so
// that it can come back from a child process.
std::string facteurs_texte(const ZZ& N) {
    fmpz_t n;
    fmpz_init(n);
    fmpz_set_ZZ(n, N);
    fmpz_factor_t f;
    fmpz_factor_init(f);
    fmpz_factor(f, n);
    std::string texte;
    for (slong t = 0; t < f->num; ++t) {
        char* p = fmpz_get_str(nullptr, 10, f->p + t);
        texte.append(p).append(" ").append(std::to_string(f->exp[t])).append("\n");
        flint_free(p);
    }
    fmpz_factor_clear(f);
    fmpz_clear(n);
    return texte;
}

// Up to this size the library answers within a small fraction of a second.
constexpr long BITS_COURTS = 100;

using Facteurs = std::vector<std::pair<ZZ, long>>;

// The prime factors of S with their exponents, in increasing order, from the
// factoring library, recorded and returned; for a large S it runs where
// Ctrl-C can abandon it.
Facteurs factorisation() {
    ZZ N = S;
    auto calcul = [&N] { return facteurs_texte(N); };
    std::istringstream texte(NumBits(N) <= BITS_COURTS
                                 ? calcul()
                                 : hors_processus("Decomposition en facteurs premiers", calcul));
    Facteurs facteurs;
    ZZ premier;
    long exposant = 0;
    while (texte >> premier >> exposant) {
        facteurs.emplace_back(premier, exposant);
    }
    std::sort(facteurs.begin(), facteurs.end());
    for (const auto& [p, e] : facteurs) {
        enregistrer(p, e);
    }
    return facteurs;
}

void division() {
    k = 0;
    nf = 0;
    S1 = S;
    i = 1;
    Facteurs facteurs = factorisation();
    S = 1;
    portee_decomposition(S1, facteurs);
}

void facteur(std::int32_t t) {
    std::int64_t f = Nfact[static_cast<std::size_t>(t)];
    out << "(";
    if (f == COFACTEUR) {
        out << grands[static_cast<std::size_t>(t)];
    } else {
        out << f;
    }
    out << ")";
    std::int64_t e = Nexpo[static_cast<std::size_t>(t)];
    if (e != 1) {
        out << "^" << e;
    }
}

// One line, without a line feed at its end: a prime N, or the product.
void resultat() {
    out << " \n \n \t " << S1;
    if (nf == 1 && Nexpo[1] == 1) {
        out << "  est un nombre premier. ";
        return;
    }
    out << " =  ";
    for (std::int32_t t = 1; t <= nf; ++t) {
        facteur(t);
        if (t < nf) {
            out << " X ";
        }
    }
}

} // namespace

int decomp() {
    xn = 0;
    recalc = 1;
    entete();
    while (recalc == 1) {
        demander_n();
        division();
        resultat();
        question("\n \n \t Nouvelle valeur de N ? Oui [1] , Non [0] : ");
        A = controle(1, message);
        recalc = valeur2;
    }
    return 1;
}
