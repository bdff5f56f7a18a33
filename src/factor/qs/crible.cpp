// The sieve of one polynomial: the primes from a quarter of the block go
// once into one bucket per block (their roots moved to the polynomial's at
// the same time); then each block is sieved by the smaller primes, its
// bucket added, and scanned for candidates.

#include "factor/qs/qs.hpp"

#include <algorithm>
#include <cstring>

namespace qs {

// The large primes' hits, into the bucket of their block; their roots
// first moved by SENS D (not at all when SENS is 0).
template <int SENS> void Chercheur::remplir_seaux(const u32* d) {
    const u32 l = c_.longueur;
    const u32 blocs = c_.blocs;
    // fins[blocs]: where a root beyond the interval writes in vain.
    u32* fins[MAX_BLOCS + 1];
    u32 rebut = 0;
    for (u32 b = 0; b < blocs; ++b) {
        fins[b] = &seaux_[b * capacite_];
    }
    fins[blocs] = &rebut;
    const u32* premiers = c_.p.data();
    u32* r1 = r1_.data();
    u32* r2 = r2_.data();
    auto deplacer = [&](u32 i, u32& x, u32& y) {
        if constexpr (SENS != 0) {
            const u32 p = premiers[i];
            u32 e = SENS > 0 ? d[i] : p - d[i];
            x += e;
            x = x >= p ? x - p : x;
            y += e;
            y = y >= p ? y - p : y;
            r1[i] = x;
            r2[i] = y;
        }
    };
    u32 i = c_.debut_grands;
    for (; i < c_.debut_enormes; ++i) {
        const u32 p = premiers[i];
        u32 x = r1[i];
        u32 y = r2[i];
        deplacer(i, x, y);
        for (; x < l; x += p) {
            *fins[x >> BITS_BLOC]++ = (i << BITS_BLOC) | (x & MASQUE_BLOC);
        }
        for (; y < l; y += p) {
            *fins[y >> BITS_BLOC]++ = (i << BITS_BLOC) | (y & MASQUE_BLOC);
        }
    }
    // Beyond the interval's length, one hit at most and no branch.
    for (; i < c_.taille; ++i) {
        u32 x = r1[i];
        u32 y = r2[i];
        deplacer(i, x, y);
        u32 bx = std::min(x >> BITS_BLOC, blocs);
        *fins[bx] = (i << BITS_BLOC) | (x & MASQUE_BLOC);
        fins[bx] += bx < blocs ? 1 : 0;
        u32 by = std::min(y >> BITS_BLOC, blocs);
        *fins[by] = (i << BITS_BLOC) | (y & MASQUE_BLOC);
        fins[by] += by < blocs ? 1 : 0;
    }
    for (u32 b = 0; b < c_.blocs; ++b) {
        remplis_[b] = static_cast<u32>(fins[b] - &seaux_[b * capacite_]);
    }
}

template void Chercheur::remplir_seaux<-1>(const u32*);
template void Chercheur::remplir_seaux<0>(const u32*);
template void Chercheur::remplir_seaux<1>(const u32*);

void Chercheur::cribler() {
    for (u32 i = c_.debut_crible; i < c_.debut_grands; ++i) {
        pos1_[i] = r1_[i];
        pos2_[i] = r2_[i];
    }
    for (int j = 0; j < c_.s; ++j) {
        if (q_[j] < c_.debut_grands) {
            pos1_[q_[j]] = pos2_[q_[j]] = 0xFFFFFFFF; // no roots: a is 0 mod q
        }
    }
    for (u32 b = 0; b < c_.blocs; ++b) {
        cribler_bloc(b);
        examiner_bloc(b);
    }
}

// Every pointer is a local: a byte written to the sieve could otherwise
// alias anything, and each would be read again after every write.
void Chercheur::cribler_bloc(u32 b) {
    std::uint8_t* __restrict s = crible_.data();
    const u32* __restrict premiers = c_.p.data();
    const std::uint8_t* __restrict lgs = c_.lg.data();
    u32* __restrict pos1 = pos1_.data();
    u32* __restrict pos2 = pos2_.data();
    const u32 fin = (b + 1) * BLOC;
    const u32 debut = c_.debut_crible;
    const u32 grands = c_.debut_grands;
    std::memset(s + b * BLOC, c_.depart, BLOC);
    for (u32 i = debut; i < grands; ++i) {
        const u32 p = premiers[i];
        const std::uint8_t lg = lgs[i];
        u32 u = pos1[i];
        u32 w = pos2[i];
        if (u > w) {
            std::swap(u, w);
        }
        while (w < fin) {
            s[u] = static_cast<std::uint8_t>(s[u] + lg);
            s[w] = static_cast<std::uint8_t>(s[w] + lg);
            u += p;
            w += p;
        }
        if (u < fin) {
            s[u] = static_cast<std::uint8_t>(s[u] + lg);
            u += p;
        }
        pos1[i] = u;
        pos2[i] = w;
    }
    std::uint8_t* __restrict bloc = s + b * BLOC;
    const u32* __restrict seau = &seaux_[b * capacite_];
    const u32 n = remplis_[b];
    for (u32 e = 0; e < n; ++e) {
        u32 v = seau[e];
        bloc[v & MASQUE_BLOC] =
            static_cast<std::uint8_t>(bloc[v & MASQUE_BLOC] + lgs[v >> BITS_BLOC]);
    }
}

} // namespace qs
