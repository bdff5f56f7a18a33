// The factorisation as first written, kept as the reference of the fast one:
// trial division with the table primes. When no table prime up to the square
// root of the cofactor is left, the cofactor itself is the last prime factor,
// whatever its size.

#include "input/input.hpp"
#include "primes/primes.hpp"
#include "reference.hpp"
#include "state/reponses.hpp"
#include "state/sortie.hpp"
#include "state/table.hpp"
#include "state/travail.hpp"

#include <cstdint>

namespace litteral {

constexpr std::int64_t COFACTEUR = -1; // in Nfact: the factor is the value of S2

ZZ S1;    // copy of N, for the result line
ZZ S2;    // the last factor, when the cofactor rule recorded it
ZZ rS;    // integer square root of the cofactor
ZZ reste; // remainder of the cofactor by the trial prime

std::int32_t nf = 0;   // distinct prime factors recorded for the current N
std::int64_t expo = 0; // exponent of the current trial prime

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
// left by an earlier N, are never read.
void enregistrer(std::int64_t facteur, std::int64_t exposant) {
    ++nf;
    Nfact.push_back(0);
    Nexpo.push_back(0);
    Nfact[static_cast<std::size_t>(nf)] = facteur;
    Nexpo[static_cast<std::size_t>(nf)] = exposant;
}

// No table prime up to the square root of S remains: S is prime.
void cofacteur() {
    enregistrer(COFACTEUR, 1);
    S2 = S;
    S = 1;
    reste = 1; // nothing left to divide, even when the trial prime divides S (N = 2)
}

// Divides out the trial prime p as often as it goes.
void diviser(std::int64_t p) {
    while (reste == 0) {
        S /= p;
        if (expo == 0) {
            enregistrer(p, 0);
        }
        ++expo;
        Nexpo[static_cast<std::size_t>(nf)] = expo;
        reste = rem(S, p);
    }
}

void division() {
    k = 0;
    nf = 0;
    S1 = S;
    i = 1;
    while (S != 1) {
        expo = 0;
        ++k;
        if (k > np) {
            A = Suiv();
        }
        std::int64_t p = Nprem[static_cast<std::size_t>(k)];
        reste = rem(S, p);
        SqrRoot(rS, S);
        if (p > rS) {
            cofacteur();
        }
        diviser(p);
    }
}

void facteur(std::int32_t t) {
    std::int64_t f = Nfact[static_cast<std::size_t>(t)];
    out << "(";
    if (f == COFACTEUR) {
        out << S2;
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

} // namespace litteral

using namespace litteral;

int decomp_literal() {
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
