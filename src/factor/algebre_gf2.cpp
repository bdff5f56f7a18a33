// Filtering, then a dense elimination by M4RI: the matrix left once the
// rows with a lone column are gone is small enough to hold in bits.
//
// M4RI is loaded at its first use rather than with the program: its tables,
// built as it loads, would cost 2 ms at every start for a library only the
// factorisation of large numbers needs.

#include "factor/algebre_gf2.hpp"

#include "base/memoire.hpp"

#include <dlfcn.h>
#include <m4ri/m4ri.h>
#include <new>

namespace {

struct M4ri {
    decltype(&mzd_init) init = nullptr;
    decltype(&mzd_free) free = nullptr;
    decltype(&mzd_kernel_left_pluq) noyau = nullptr;
};

template <class F> void trouver(void* bibliotheque, const char* nom, F& f) {
    f = reinterpret_cast<F>(::dlsym(bibliotheque, nom));
}

// The library's routines, or nullptr where it cannot be loaded.
const M4ri* m4ri() {
    static const M4ri* routines = []() -> const M4ri* {
        void* b = ::dlopen(PREMIERS_M4RI, RTLD_NOW | RTLD_LOCAL);
        if (b == nullptr) {
            return nullptr;
        }
        static M4ri m;
        trouver(b, "mzd_init", m.init);
        trouver(b, "mzd_free", m.free);
        trouver(b, "mzd_kernel_left_pluq", m.noyau);
        return m.init && m.free && m.noyau ? &m : nullptr;
    }();
    return routines;
}

// Rows beyond the columns in use: enough for MAXIMUM dependencies and more.
constexpr std::uint32_t MARGE = 96;

// The rows kept, in increasing order; NUMERO receives the new index of each
// column in use (the others are left at NUMERO's fill) and the count of
// columns in use is returned in LARGEUR.
std::vector<std::uint32_t> filtrer(const MatriceCreuse& m, std::vector<std::uint32_t>& numero,
                                   std::uint32_t& largeur) {
    std::vector<std::uint32_t> poids(m.largeur, 0);
    for (std::uint32_t c : m.colonnes) {
        ++poids[c];
    }
    std::vector<char> gardee(m.lignes(), 1);
    auto seule = [&](std::uint32_t r) {
        for (std::uint32_t t = m.debut[r]; t < m.debut[r + 1]; ++t) {
            if (poids[m.colonnes[t]] == 1) {
                return true;
            }
        }
        return false;
    };
    // A row with a column of its own is in no dependency; dropping it may
    // leave another column alone.
    for (bool encore = true; encore;) {
        encore = false;
        for (std::uint32_t r = 0; r < m.lignes(); ++r) {
            if (gardee[r] != 0 && seule(r)) {
                gardee[r] = 0;
                encore = true;
                for (std::uint32_t t = m.debut[r]; t < m.debut[r + 1]; ++t) {
                    --poids[m.colonnes[t]];
                }
            }
        }
    }
    largeur = 0;
    numero.assign(m.largeur, 0);
    for (std::uint32_t c = 0; c < m.largeur; ++c) {
        if (poids[c] > 0) {
            numero[c] = largeur++;
        }
    }
    std::vector<std::uint32_t> lignes;
    for (std::uint32_t r = 0; r < m.lignes() && lignes.size() < largeur + MARGE; ++r) {
        if (gardee[r] != 0) {
            lignes.push_back(r);
        }
    }
    return lignes;
}

} // namespace

std::uint64_t octets_elimination(std::uint64_t lignes, std::uint64_t colonnes) {
    return lignes * colonnes / 8 * 2; // the matrix in bits, and as much again for PLUQ's work
}

void preparer_algebre() {
    m4ri();
}

std::vector<std::vector<std::uint32_t>> dependances(const MatriceCreuse& m, int maximum) {
    const M4ri* f = m4ri();
    std::vector<std::uint32_t> numero;
    std::uint32_t largeur = 0;
    std::vector<std::uint32_t> lignes = filtrer(m, numero, largeur);
    std::vector<std::vector<std::uint32_t>> resultat;
    if (lignes.empty() || f == nullptr) {
        return resultat;
    }
    // M4RI ends the process when it finds no memory: it is asked for the
    // matrix and its elimination's workspace only when they fit.
    if (!memoire_suffit(octets_elimination(lignes.size(), largeur))) {
        throw std::bad_alloc();
    }
    // A x = 0 with one column of A per row kept: x picks the rows.
    mzd_t* a =
        f->init(static_cast<rci_t>(largeur > 0 ? largeur : 1), static_cast<rci_t>(lignes.size()));
    for (std::size_t j = 0; j < lignes.size(); ++j) {
        std::uint32_t r = lignes[j];
        for (std::uint32_t t = m.debut[r]; t < m.debut[r + 1]; ++t) {
            mzd_write_bit(a, static_cast<rci_t>(numero[m.colonnes[t]]), static_cast<rci_t>(j), 1);
        }
    }
    mzd_t* x = f->noyau(a, 0);
    f->free(a);
    if (x == nullptr) {
        return resultat;
    }
    for (rci_t k = 0; k < x->ncols && k < maximum; ++k) {
        std::vector<std::uint32_t> d;
        for (rci_t j = 0; j < x->nrows; ++j) {
            if (mzd_read_bit(x, j, k) != 0) {
                d.push_back(lignes[static_cast<std::size_t>(j)]);
            }
        }
        if (!d.empty()) {
            resultat.push_back(std::move(d));
        }
    }
    f->free(x);
    return resultat;
}
