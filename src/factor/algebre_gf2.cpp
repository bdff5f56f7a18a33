// Filtering, then block Lanczos (a dense elimination in bits for a small
// matrix), then a check of every dependency on the matrix as given: the
// filtering drops the rows that are in no dependency or not needed, and
// what comes out sums to zero or does not come out.

#include "factor/algebre_gf2.hpp"

#include "base/equipe.hpp"
#include "base/memoire.hpp"
#include "factor/lanczos.hpp"
#include "factor/reglages.hpp"

#include <algorithm>
#include <bit>
#include <new>

namespace {

using u64 = std::uint64_t;

// The rows kept: those with a column no other kept row has are out, since
// no dependency holds them, and so are those beyond the columns left by
// more than the margin. Each cut may leave another column alone: both are
// repeated until nothing moves.
std::vector<std::uint32_t> filtrer(const MatriceCreuse& m) {
    std::vector<std::uint32_t> poids(m.largeur, 0);
    for (std::uint32_t c : m.colonnes) {
        ++poids[c];
    }
    std::vector<char> gardee(m.lignes(), 1);
    auto retirer = [&](std::uint32_t r) {
        gardee[r] = 0;
        for (std::uint32_t t = m.debut[r]; t < m.debut[r + 1]; ++t) {
            --poids[m.colonnes[t]];
        }
    };
    auto seule = [&](std::uint32_t r) {
        for (std::uint32_t t = m.debut[r]; t < m.debut[r + 1]; ++t) {
            if (poids[m.colonnes[t]] == 1) {
                return true;
            }
        }
        return false;
    };
    for (bool encore = true; encore;) {
        encore = false;
        for (std::uint32_t r = 0; r < m.lignes(); ++r) {
            if (gardee[r] != 0 && seule(r)) {
                retirer(r);
                encore = true;
            }
        }
        auto colonnes = static_cast<std::uint64_t>(
            std::count_if(poids.begin(), poids.end(), [](std::uint32_t p) { return p > 0; }));
        auto lignes = static_cast<std::uint64_t>(std::count(gardee.begin(), gardee.end(), 1));
        for (std::uint32_t r = m.lignes(); r-- > 0 && lignes > colonnes + MARGE_LIGNES;) {
            if (gardee[r] != 0) {
                retirer(r);
                --lignes;
                encore = true;
            }
        }
    }
    std::vector<std::uint32_t> lignes;
    for (std::uint32_t r = 0; r < m.lignes(); ++r) {
        if (gardee[r] != 0) {
            lignes.push_back(r);
        }
    }
    return lignes;
}

// The rows kept, with the columns in use numbered anew from 0 in their
// order.
MatriceCreuse reduire(const MatriceCreuse& m, const std::vector<std::uint32_t>& lignes) {
    std::vector<std::uint32_t> numero(m.largeur, 0);
    for (std::uint32_t r : lignes) {
        for (std::uint32_t t = m.debut[r]; t < m.debut[r + 1]; ++t) {
            numero[m.colonnes[t]] = 1;
        }
    }
    MatriceCreuse s;
    for (std::uint32_t& n : numero) {
        n = n != 0 ? s.largeur++ : 0;
    }
    s.debut.reserve(lignes.size() + 1);
    s.colonnes.reserve(m.debut.back());
    for (std::uint32_t r : lignes) {
        for (std::uint32_t t = m.debut[r]; t < m.debut[r + 1]; ++t) {
            s.colonnes.push_back(numero[m.colonnes[t]]);
        }
        s.fermer_ligne();
    }
    return s;
}

// A small matrix's dependencies by elimination on its rows in bits, each
// row followed by the set of rows it sums: a row whose columns end empty is
// a dependency, and no two of them have the same row of their own.
NoyauLanczos elimination_dense(const MatriceCreuse& m) {
    const std::size_t n = m.lignes();
    const std::size_t mots_c = (m.largeur + 63) / 64;
    const std::size_t largeur = mots_c + (n + 63) / 64;
    std::vector<u64> bits(n * largeur, 0);
    for (std::size_t r = 0; r < n; ++r) {
        u64* ligne = &bits[r * largeur];
        for (std::uint32_t t = m.debut[r]; t < m.debut[r + 1]; ++t) {
            ligne[m.colonnes[t] / 64] ^= u64{1} << (m.colonnes[t] % 64);
        }
        ligne[mots_c + r / 64] |= u64{1} << (r % 64);
    }
    std::vector<char> pivot(n, 0);
    for (std::uint32_t c = 0; c < m.largeur; ++c) {
        auto a = [&](std::size_t r) { return (bits[r * largeur + c / 64] >> (c % 64)) & 1; };
        std::size_t p = 0;
        while (p < n && (pivot[p] != 0 || a(p) == 0)) {
            ++p;
        }
        if (p == n) {
            continue;
        }
        pivot[p] = 1;
        for (std::size_t r = p + 1; r < n; ++r) {
            if (pivot[r] == 0 && a(r) != 0) {
                for (std::size_t w = c / 64; w < largeur; ++w) {
                    bits[r * largeur + w] ^= bits[p * largeur + w];
                }
            }
        }
    }
    NoyauLanczos k;
    k.mots.assign(n, 0);
    for (std::size_t r = 0; r < n && k.nombre < 64; ++r) {
        if (pivot[r] != 0) {
            continue;
        }
        const u64* somme = &bits[r * largeur + mots_c];
        for (std::size_t s = 0; s < n; ++s) {
            k.mots[s] |= ((somme[s / 64] >> (s % 64)) & 1) << k.nombre;
        }
        ++k.nombre;
    }
    return k;
}

// The dependencies of K that do not sum to zero on M: none should, but
// none such goes out.
u64 fausses(const MatriceCreuse& m, const std::vector<std::uint32_t>& lignes,
            const NoyauLanczos& k) {
    if (k.nombre == 0) {
        return 0;
    }
    std::vector<u64> somme(m.largeur, 0);
    for (std::size_t j = 0; j < lignes.size(); ++j) {
        for (std::uint32_t t = m.debut[lignes[j]]; t < m.debut[lignes[j] + 1]; ++t) {
            somme[m.colonnes[t]] ^= k.mots[j];
        }
    }
    u64 f = 0;
    for (u64 s : somme) {
        f |= s;
    }
    return f;
}

NoyauLanczos noyau_reduit(const MatriceCreuse& s, int parts) {
    if (s.largeur <= COLONNES_DENSES) {
        return elimination_dense(s);
    }
    NoyauLanczos k;
    for (int essai = 0; essai < ESSAIS_LANCZOS && k.nombre == 0; ++essai) {
        k = lanczos(s, 0x9E3779B97F4A7C15ULL * static_cast<u64>(essai + 1), parts);
    }
    return k;
}

} // namespace

std::uint64_t octets_elimination(std::uint64_t lignes, std::uint64_t colonnes) {
    // The filtered copy of the matrix, Lanczos's vectors, the check's sums.
    return lignes * (POIDS_LIGNE + 1) * sizeof(std::uint32_t) +
           octets_lanczos(lignes, colonnes, 1) + colonnes * sizeof(u64);
}

std::vector<std::vector<std::uint32_t>> dependances(const MatriceCreuse& m, int maximum,
                                                    int parts) {
    std::vector<std::vector<std::uint32_t>> resultat;
    std::vector<std::uint32_t> lignes = filtrer(m);
    if (lignes.empty() || maximum <= 0) {
        return resultat;
    }
    std::uint64_t entrees = 0;
    for (std::uint32_t r : lignes) {
        entrees += m.debut[r + 1] - m.debut[r];
    }
    std::uint64_t octets = (entrees + lignes.size()) * sizeof(std::uint32_t) +
                           octets_lanczos(lignes.size(), m.largeur, 1) + m.largeur * sizeof(u64);
    if (!memoire_suffit(octets)) {
        throw std::bad_alloc();
    }
    // A second part takes a thread and an image of its own.
    if (parts == 0) {
        bool grande = lignes.size() >= LIGNES_EQUIPE;
        parts = grande && memoire_suffit(octets + octets_lanczos(0, m.largeur, 1) +
                                         static_cast<std::uint64_t>(MEMOIRE_FIL))
                    ? coeurs()
                    : 1;
    }
    NoyauLanczos k = noyau_reduit(reduire(m, lignes), parts);
    u64 exclues = fausses(m, lignes, k);
    for (int d = 0; d < k.nombre && static_cast<int>(resultat.size()) < maximum; ++d) {
        if ((exclues >> d) & 1) {
            continue;
        }
        std::vector<std::uint32_t> rangs;
        for (std::size_t j = 0; j < lignes.size(); ++j) {
            if ((k.mots[j] >> d) & 1) {
                rangs.push_back(lignes[j]);
            }
        }
        resultat.push_back(std::move(rangs));
    }
    return resultat;
}
