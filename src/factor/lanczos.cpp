// Block Lanczos over GF(2). With B the transpose of the matrix (one column
// of B per row) and A = B^T B, it solves A X = A Y for a random block Y of
// 64 vectors: X + Y then lies in the kernel of A, or nearly, and the kernel
// of B is drawn from X + Y and the last block of the iteration by a small
// elimination on 128 columns.
//
// A block of N vectors is N words, word r holding row r of all 64 vectors;
// a 64 x 64 matrix is 64 words, word i its row i.

#include "factor/lanczos.hpp"

#include "base/equipe.hpp"

#include <array>
#include <bit>
#include <random>

namespace {

using u64 = std::uint64_t;
using Carre = std::array<u64, 64>;
using Bloc = std::vector<u64>;

constexpr u64 TOUS = ~u64{0};

// Every sum of rows of a 64 x 64 matrix, by byte of the selecting word:
// a block times the matrix in 8 lookups a word.
struct Combinaisons {
    std::array<std::array<u64, 256>, 8> t;

    explicit Combinaisons(const Carre& m) {
        for (int k = 0; k < 8; ++k) {
            t[k][0] = 0;
            for (unsigned x = 1; x < 256; ++x) {
                t[k][x] = t[k][x & (x - 1)] ^ m[8 * k + std::countr_zero(x)];
            }
        }
    }
    u64 operator()(u64 v) const {
        u64 s = 0;
        for (int k = 0; k < 8; ++k) {
            s ^= t[k][(v >> (8 * k)) & 0xFF];
        }
        return s;
    }
};

Carre produit(const Carre& a, const Carre& b) {
    Carre p{};
    for (int i = 0; i < 64; ++i) {
        for (u64 x = a[i]; x != 0; x &= x - 1) {
            p[i] ^= b[std::countr_zero(x)];
        }
    }
    return p;
}

Carre somme(Carre a, const Carre& b) {
    for (int i = 0; i < 64; ++i) {
        a[i] ^= b[i];
    }
    return a;
}

// M S S^T: the columns outside S cleared.
Carre colonnes(Carre a, u64 s) {
    for (u64& x : a) {
        x &= s;
    }
    return a;
}

Carre identite() {
    Carre a{};
    for (int i = 0; i < 64; ++i) {
        a[i] = u64{1} << i;
    }
    return a;
}

bool nul(const Carre& a) {
    for (u64 x : a) {
        if (x != 0) {
            return false;
        }
    }
    return true;
}

// The products by B and B^T over the matrix by rows, on the parts of a
// team, each with its share of the entries: B V by each part into an image
// of its own, these images summed, then B^T of the sum row by row.
class Produit {
  public:
    Produit(const MatriceCreuse& m, int parts)
        : m_(m), equipe_(parts > 0 ? parts : coeurs()),
          images_(static_cast<std::size_t>(equipe_.parts()), Bloc(m.largeur)),
          tranches_(tranches()) {}

    // B V, one word a column of the matrix.
    const Bloc& par_b(const Bloc& v) {
        equipe_.executer([&](int part) { repandre(v, part); });
        Bloc& image = images_[0];
        for (std::size_t p = 1; p < images_.size(); ++p) {
            for (std::size_t c = 0; c < image.size(); ++c) {
                image[c] ^= images_[p][c];
            }
        }
        return image;
    }
    // A V = B^T (B V), into AV.
    void par_a(const Bloc& v, Bloc& av) {
        par_b(v);
        equipe_.executer([&](int part) { rassembler(av, part); });
    }

    // V^T W for two blocks: the rows of W summed by byte of V's words, by
    // each part over its rows, then the sums of each byte value spread over
    // its bits.
    Carre scalaire(const Bloc& v, const Bloc& w) {
        par_lignes([&](std::uint32_t debut, std::uint32_t fin, int part) {
            Octets& t = octets_[static_cast<std::size_t>(part)];
            t = Octets{};
            for (std::uint32_t r = debut; r < fin; ++r) {
                for (int k = 0; k < 8; ++k) {
                    t[k][(v[r] >> (8 * k)) & 0xFF] ^= w[r];
                }
            }
        });
        Carre p{};
        for (const Octets& t : octets_) {
            for (int k = 0; k < 8; ++k) {
                for (unsigned x = 1; x < 256; ++x) {
                    for (int b = 0; b < 8; ++b) {
                        if ((x >> b) & 1) {
                            p[8 * k + b] ^= t[k][x];
                        }
                    }
                }
            }
        }
        return p;
    }

    // F(DEBUT, FIN, PART) on each part's rows.
    template <class F> void par_lignes(const F& f) {
        equipe_.executer([&](int part) { f(tranches_[part], tranches_[part + 1], part); });
    }

  private:
    void repandre(const Bloc& v, int part) {
        Bloc& image = images_[static_cast<std::size_t>(part)];
        std::fill(image.begin(), image.end(), 0);
        const std::uint32_t* c = m_.colonnes.data();
        for (std::uint32_t r = tranches_[part]; r < tranches_[part + 1]; ++r) {
            u64 x = v[r];
            for (std::uint32_t t = m_.debut[r]; t < m_.debut[r + 1]; ++t) {
                image[c[t]] ^= x;
            }
        }
    }
    void rassembler(Bloc& av, int part) const {
        const std::uint32_t* c = m_.colonnes.data();
        const u64* image = images_[0].data();
        for (std::uint32_t r = tranches_[part]; r < tranches_[part + 1]; ++r) {
            u64 s = 0;
            for (std::uint32_t t = m_.debut[r]; t < m_.debut[r + 1]; ++t) {
                s ^= image[c[t]];
            }
            av[r] = s;
        }
    }
    // The bounds of the parts' rows, each with its share of the entries.
    std::vector<std::uint32_t> tranches() const {
        const auto parts = static_cast<std::uint64_t>(equipe_.parts());
        std::vector<std::uint32_t> b{0};
        std::uint32_t r = 0;
        for (std::uint64_t p = 1; p < parts; ++p) {
            while (r < m_.lignes() && m_.debut[r] < m_.debut.back() * p / parts) {
                ++r;
            }
            b.push_back(r);
        }
        b.push_back(m_.lignes());
        return b;
    }

    const MatriceCreuse& m_;
    Equipe equipe_;
    std::vector<Bloc> images_; // B V, by part
    std::vector<std::uint32_t> tranches_;
    using Octets = std::array<std::array<u64, 256>, 8>;
    std::vector<Octets> octets_{static_cast<std::size_t>(equipe_.parts())};
};

// Montgomery's choice of S_i and of W_i^-1 from T = V_i^T A V_i: the
// columns outside S_{i-1} come first, so that every column left out of
// S_{i-1} enters S_i. An elimination on [T | I] whose right half ends as
// the inverse of T on the columns chosen, zero elsewhere.
void choisir(const Carre& t, u64 s_avant, Carre& inverse, u64& s) {
    Carre g = t;
    Carre d = identite();
    std::array<int, 64> ordre{};
    int n = 0;
    for (int passe = 0; passe < 2; ++passe) {
        for (int c = 0; c < 64; ++c) {
            if ((((s_avant >> c) & 1) != 0) == (passe == 1)) {
                ordre[n++] = c;
            }
        }
    }
    auto amener = [&](int j, const Carre& cote, int c) {
        for (int k = j; k < 64; ++k) {
            if ((cote[ordre[k]] >> c) & 1) {
                std::swap(g[ordre[k]], g[ordre[j]]);
                std::swap(d[ordre[k]], d[ordre[j]]);
                return true;
            }
        }
        return false;
    };
    auto eliminer = [&](int c, const Carre& cote) {
        for (int k = 0; k < 64; ++k) {
            if (k != c && ((cote[k] >> c) & 1)) {
                g[k] ^= g[c];
                d[k] ^= d[c];
            }
        }
    };
    s = 0;
    for (int j = 0; j < 64; ++j) {
        int c = ordre[j];
        if (amener(j, g, c)) {
            s |= u64{1} << c;
            eliminer(c, g);
        } else {
            amener(j, d, c);
            eliminer(c, d);
            g[c] = 0;
            d[c] = 0;
        }
    }
    inverse = d;
}

// The kernel of an R x 128 matrix (two words a row) in the 128 columns:
// each vector of it as two words (bits 0-63, then 64-127).
struct Mots2 {
    u64 a = 0, b = 0;
    bool bit(int c) const { return ((c < 64 ? a >> c : b >> (c - 64)) & 1) != 0; }
    void basculer(int c) { (c < 64 ? a : b) ^= u64{1} << (c & 63); }
    int premier() const { return a != 0 ? std::countr_zero(a) : 64 + std::countr_zero(b); }
    bool vide() const { return (a | b) == 0; }
    Mots2& operator^=(const Mots2& o) {
        a ^= o.a;
        b ^= o.b;
        return *this;
    }
};

// An echelon basis of rows, row pivot[c] having its lowest bit at c.
struct Echelon {
    std::array<Mots2, 128> pivot{};
    std::array<bool, 128> pris{};

    void inserer(Mots2 x) {
        while (!x.vide()) {
            int c = x.premier();
            if (!pris[c]) {
                pivot[c] = x;
                pris[c] = true;
                return;
            }
            x ^= pivot[c];
        }
    }
    // The kernel of the rows inserted, in the given number of columns.
    std::vector<Mots2> noyau(int largeur) {
        for (int c = largeur - 1; c >= 0; --c) {
            for (int d = 0; d < c && pris[c]; ++d) {
                if (pris[d] && pivot[d].bit(c)) {
                    pivot[d] ^= pivot[c];
                }
            }
        }
        std::vector<Mots2> k;
        for (int f = 0; f < largeur; ++f) {
            if (pris[f]) {
                continue;
            }
            Mots2 u;
            u.basculer(f);
            for (int c = 0; c < f; ++c) {
                if (pris[c] && pivot[c].bit(f)) {
                    u.basculer(c);
                }
            }
            k.push_back(u);
        }
        return k;
    }
};

bool parite(const Mots2& x, const Mots2& u) {
    return (std::popcount(x.a & u.a) + std::popcount(x.b & u.b)) % 2 == 1;
}

// From Z = [X + Y | V_m]: the combinations of Z's 128 columns that B sends
// to zero, then among the vectors they give, an independent set of up to 64.
NoyauLanczos extraire(Produit& p, const Bloc& xy, const Bloc& vm) {
    const std::size_t n = xy.size();
    Bloc image_xy = p.par_b(xy);
    const Bloc& image_vm = p.par_b(vm);
    Echelon bz;
    for (std::size_t c = 0; c < image_xy.size(); ++c) {
        bz.inserer({image_xy[c], image_vm[c]});
    }
    std::vector<Mots2> u = bz.noyau(128);
    // K = Z U, then its independent columns: the pivots of its rows.
    std::vector<Mots2> k(n);
    Echelon lignes;
    for (std::size_t r = 0; r < n; ++r) {
        Mots2 z{xy[r], vm[r]};
        for (std::size_t j = 0; j < u.size(); ++j) {
            if (parite(z, u[j])) {
                k[r].basculer(static_cast<int>(j));
            }
        }
        lignes.inserer(k[r]);
    }
    std::vector<int> gardees;
    for (int c = 0; c < 128 && gardees.size() < 64; ++c) {
        if (lignes.pris[c]) {
            gardees.push_back(c);
        }
    }
    NoyauLanczos resultat;
    resultat.nombre = static_cast<int>(gardees.size());
    resultat.mots.assign(n, 0);
    for (std::size_t r = 0; r < n; ++r) {
        for (std::size_t j = 0; j < gardees.size(); ++j) {
            if (k[r].bit(gardees[j])) {
                resultat.mots[r] |= u64{1} << j;
            }
        }
    }
    return resultat;
}

// The iteration: V_0 = A Y, then
// V_{i+1} = A V_i S_i S_i^T + V_i D_{i+1} + V_{i-1} E_{i+1} + V_{i-2} F_{i+1}
// until V_m^T A V_m = 0, with X = sum of V_i W_i^-1 V_i^T V_0.
class Iteration {
  public:
    Iteration(const MatriceCreuse& m, std::uint64_t graine, int parts)
        : n_(m.lignes()), p_(m, parts), y_(n_), v0_(n_), x_(n_, 0), v_(n_), v1_(n_, 0), v2_(n_, 0),
          av_(n_) {
        std::mt19937_64 alea(graine);
        for (u64& w : y_) {
            w = alea();
        }
        p_.par_a(y_, v0_);
        v_ = v0_;
    }

    NoyauLanczos resoudre() {
        // A block of Krylov's space adds some 63 dimensions; a few more
        // steps than the dimension allows means the iteration broke down.
        const std::size_t limite = n_ / 60 + 20;
        for (std::size_t i = 0; i < limite; ++i) {
            p_.par_a(v_, av_);
            Carre vav = p_.scalaire(v_, av_);
            if (nul(vav)) {
                for (std::size_t r = 0; r < n_; ++r) {
                    x_[r] ^= y_[r];
                }
                return extraire(p_, x_, v_);
            }
            Carre vaav = p_.scalaire(av_, av_);
            Carre inverse{};
            u64 s = 0;
            choisir(vav, s1_, inverse, s);
            if ((s | s1_) != TOUS) {
                return {};
            }
            pas(vav, vaav, inverse, s);
        }
        return {};
    }

  private:
    void pas(const Carre& vav, const Carre& vaav, const Carre& inverse, u64 s) {
        const Carre un = identite();
        Combinaisons d(somme(un, produit(inverse, somme(colonnes(vaav, s), vav))));
        Combinaisons e(produit(inv1_, colonnes(vav, s)));
        Combinaisons f(colonnes(produit(produit(inv2_, somme(un, produit(vav1_, inv1_))),
                                        somme(colonnes(vaav1_, s1_), vav1_)),
                                s));
        Combinaisons g(produit(inverse, p_.scalaire(v_, v0_)));
        // V_{i+1} takes the place of V_{i-2}, row by row.
        p_.par_lignes([&](std::uint32_t debut, std::uint32_t fin, int) {
            for (std::uint32_t r = debut; r < fin; ++r) {
                u64 vr = v_[r];
                x_[r] ^= g(vr);
                v2_[r] = (av_[r] & s) ^ d(vr) ^ e(v1_[r]) ^ f(v2_[r]);
            }
        });
        std::swap(v2_, v1_); // v1_ = V_{i+1}, v2_ = V_{i-1}
        std::swap(v1_, v_);  // v_ = V_{i+1}, v1_ = V_i
        inv2_ = inv1_;
        inv1_ = inverse;
        vav1_ = vav;
        vaav1_ = vaav;
        s1_ = s;
    }

    std::size_t n_;
    Produit p_;
    Bloc y_, v0_, x_, v_, v1_, v2_, av_;
    Carre inv1_{}, inv2_{}, vav1_{}, vaav1_{};
    u64 s1_ = TOUS;
};

} // namespace

NoyauLanczos lanczos(const MatriceCreuse& m, std::uint64_t graine, int parts) {
    if (m.lignes() == 0) {
        return {};
    }
    Iteration it(m, graine, parts);
    return it.resoudre();
}

std::uint64_t octets_lanczos(std::uint64_t lignes, std::uint64_t colonnes, int parts) {
    // Seven blocks of a word a row and an image under B a part, then the
    // extraction's three words a row and a second image.
    return (lignes * 10 + colonnes * static_cast<std::uint64_t>(parts + 1)) * sizeof(u64);
}
