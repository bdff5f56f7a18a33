// Menu [1]: factorisation of N >= 1. The factors come from a factoring
// library (trial division, Pollard rho, ECM, quadratic sieve), each proved
// prime; the table grows as trial division with its primes would have grown
// it, up to the end of liste.txt at most.

#include "base/enfant.hpp"
#include "factor/factor.hpp"
#include "factor/moteur.hpp"
#include "factor/pari.hpp"
#include "factor/reglages.hpp"
#include "input/input.hpp"
#include "primes/portee.hpp"
#include "state/reponses.hpp"
#include "state/sortie.hpp"
#include "state/table.hpp"
#include "state/travail.hpp"

#include <algorithm>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace {

constexpr std::int64_t COFACTEUR = -1; // in Nfact: the factor is above 2^63 - 1, kept in grands

std::int32_t nf = 0;                // distinct prime factors recorded for the current N
std::vector<FacteurPremier> grands; // factors above 2^63 - 1, at their positions
std::string decimal_n;              // N as printed

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
// COFACTEUR in Nfact and kept in grands, with its decimal text.
void enregistrer(const FacteurPremier& f) {
    ++nf;
    Nfact.push_back(0);
    Nexpo.push_back(0);
    auto t = static_cast<std::size_t>(nf);
    if (NumBits(f.valeur) < 64) {
        Nfact[t] = NTL::conv<long>(f.valeur);
    } else {
        Nfact[t] = COFACTEUR;
        grands.resize(std::max(grands.size(), t + 1));
        grands[t] = f;
    }
    Nexpo[t] = f.exposant;
}

// The prime factors of S with their exponents, in increasing order; for a
// large S the whole work, the decimal texts included, runs where Ctrl-C can
// abandon it.
void factorisation() {
    Decomposition d;
    if (NumBits(S) <= BITS_COURTS) {
        d = decomposer(S);
    } else {
        preparer_pari(); // once, here, so that no child starts it again
        d = depuis_octets(hors_processus("Decomposition en facteurs premiers",
                                         [] { return en_octets(decomposer(S)); }));
    }
    decimal_n = std::move(d.decimal_n);
    for (const FacteurPremier& f : d.facteurs) {
        enregistrer(f);
    }
}

ZZ valeur_facteur(std::size_t t) {
    return Nfact[t] == COFACTEUR ? grands[t].valeur : ZZ(Nfact[t]);
}

// The table as trial division of N would leave it: its last two factors
// decide.
void croissance() {
    if (nf > 0) {
        auto u = static_cast<std::size_t>(nf);
        portee_decomposition(valeur_facteur(u), Nexpo[u], nf > 1 ? valeur_facteur(u - 1) : ZZ(1));
    }
}

void division() {
    k = 0;
    nf = 0;
    i = 1;
    factorisation();
    S = 1;
    croissance();
}

void facteur(std::int32_t t) {
    std::int64_t f = Nfact[static_cast<std::size_t>(t)];
    out << "(";
    if (f == COFACTEUR) {
        out << grands[static_cast<std::size_t>(t)].decimal;
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
    out << " \n \n \t " << decimal_n;
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
