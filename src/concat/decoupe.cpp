// The table of prime pieces of a digit string and the two forms of the walk
// over its splits.

#include "concat/decoupe.hpp"

#include "base/progression.hpp"
#include "concat/reglages.hpp"
#include "primes/primes.hpp"
#include "state/sortie.hpp"

#include <algorithm>

namespace {

ZZ P1; // the value of the piece being built
ZZ P2; // what is left of the number whose digits are being taken

// Digits are taken eighteen at a time: one big division per block, the rest
// in machine arithmetic.
constexpr long BLOC = 1'000'000'000'000'000'000;
constexpr std::int32_t CHIFFRES_BLOC = 18;

// For a long number the table grows with the prime pieces actually found,
// past RESERVE_MAX.

std::int32_t chiffres_machine(long v) {
    std::int32_t c = 0;
    for (; v != 0; v /= 10) {
        ++c;
    }
    return c;
}

} // namespace

std::int32_t nombre_chiffres(const ZZ& N) {
    P2 = N;
    std::int64_t c = 0;
    while (P2 >= BLOC) {
        div(P2, P2, BLOC);
        c += CHIFFRES_BLOC;
    }
    return static_cast<std::int32_t>(c + chiffres_machine(NTL::to_long(P2)));
}

Decoupe::Decoupe(std::int32_t m) {
    std::size_t taille = at(m) + 2;
    Nchiffre.assign(taille, 0);
    Ndebut.assign(taille, 0);
    Nligne.assign(taille, 0);
    Nrangee.assign(taille, 0);
    Nplace.assign(taille, 0);
    std::int64_t tout = static_cast<std::int64_t>(m) * (m + 3) / 2 + 1;
    Nlong.reserve(static_cast<std::size_t>(std::min(tout, RESERVE_MAX)));
}

void Decoupe::analyser(const ZZ& N) {
    n = nombre_chiffres(N);
    extraire(N);
    construire();
}

void Decoupe::analyser(std::uint64_t N) {
    n = 0;
    for (std::uint64_t v = N; v != 0; v /= 10) {
        ++n;
    }
    extraire(N);
    construire();
}

void Decoupe::extraire(std::uint64_t N) {
    for (std::int32_t t = n; t > 0; --t, N /= 10) {
        Nchiffre[at(t)] = static_cast<std::int32_t>(N % 10);
    }
}

// The last digit lands at n, the leading one at 1.
void Decoupe::extraire(const ZZ& N) {
    P2 = N;
    std::int32_t t = n;
    while (t > 0) {
        long bloc = NTL::rem(P2, BLOC);
        div(P2, P2, BLOC);
        for (std::int32_t c = 0; c < CHIFFRES_BLOC && t > 0; ++c, --t) {
            Nchiffre[at(t)] = static_cast<std::int32_t>(bloc % 10);
            bloc /= 10;
        }
    }
}

void Decoupe::construire() {
    rangees = 0;
    Ndebut[1] = 0;
    Nlong.clear();
    Tache tache("Recherche des morceaux premiers", n);
    for (std::int32_t t = 1; t <= n; ++t) {
        essayer_debut(t, tache);
        if (Ndebut[1] == 0) {
            break; // no prefix is prime: nothing can split
        }
    }
    Ndebut[at(rangees) + 1] = 0;
}

// Tests every piece that begins at T, shortest first. Up to 19 digits its
// value is kept in machine arithmetic; longer pieces are built in P1 one digit
// at a time. The prime ones make up the row of T.
void Decoupe::essayer_debut(std::int32_t t, Tache& tache) {
    constexpr std::int32_t CHIFFRES_MACHINE = 19; // every 19-digit value is below 2^64
    bool ouverte = false;
    std::uint64_t v = 0;
    for (std::int32_t u = 1; u <= n - t + 1; ++u) {
        auto d = static_cast<unsigned>(Nchiffre[at(t + u - 1)]);
        bool premier = false;
        if (u <= CHIFFRES_MACHINE) {
            v = v * 10 + d;
            tache.pas(t - 1);
            premier = prem64(v) == 1;
        } else {
            if (u == CHIFFRES_MACHINE + 1) {
                NTL::conv(P1, v);
            }
            mul(P1, P1, 10L);
            add(P1, P1, static_cast<long>(d));
            tache.point(t - 1);
            S = P1;
            premier = prem() == 1;
        }
        if (!premier) {
            continue;
        }
        if (!ouverte) {
            ++rangees;
            Ndebut[at(rangees)] = t;
            Nligne[at(rangees)] = static_cast<std::int32_t>(Nlong.size());
            ouverte = true;
        }
        Nlong.push_back(u);
    }
    if (ouverte) {
        Nlong.push_back(0);
    }
}

void Decoupe::empiler(std::int32_t rangee) {
    ++k1;
    Nrangee[at(k1)] = rangee;
    Nplace[at(k1)] = Nligne[at(rangee)];
    L += longueur(k1);
}

// Drops the levels whose row holds no longer piece, then moves the top level
// to the next length of its row.
void Decoupe::reculer() {
    while (k1 > 0 && suivante(k1) == 0) {
        L -= longueur(k1);
        --k1;
    }
    if (k1 > 0) {
        L += suivante(k1) - longueur(k1);
        ++Nplace[at(k1)];
    }
}

void lister(Decoupe& decoupe) {
    decoupe.parcourir([](const Decoupe& d) {
        out << " ( ";
        for (std::int32_t niveau = 1; niveau <= d.pieces(); ++niveau) {
            std::int32_t t = d.debut(niveau);
            for (std::int32_t c = t; c < t + d.longueur(niveau); ++c) {
                out << static_cast<char>('0' + d.chiffre(c));
            }
            out << " ";
        }
        out << ") ";
        return false;
    });
}

bool denombrer(Decoupe& decoupe, std::int64_t seuil) {
    bool atteint = false;
    decoupe.parcourir([&](const Decoupe&) {
        atteint = seuil > 0 && w1 >= seuil;
        return atteint;
    });
    return atteint;
}
