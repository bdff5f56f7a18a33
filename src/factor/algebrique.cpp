// The form is found modulo a prime of 61 bits first: for each pair (a, b)
// and sign, the few n for which a^n +- b^n lies between N and
// DIVISEUR_MAX N give c = (a^n +- b^n) / N modulo that prime, and only a c
// that comes out small is checked on the whole numbers.

#include "factor/algebrique.hpp"

#include "factor/reglages.hpp"

#include <NTL/ZZX.h>
#include <NTL/ZZXFactoring.h>
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <flint/ulong_extras.h>
#include <map>
#include <numeric>
#include <utility>

namespace {

using NTL::ZZ;
using NTL::ZZX;

// Residues modulo a prime of 61 bits, with FLINT's word arithmetic.
class Modulo {
  public:
    static constexpr ulong P = (ulong{1} << 61) - 1;

    ulong mul(ulong x, ulong y) const { return n_mulmod2_preinv(x, y, P, inverse_); }
    ulong puissance(ulong x, ulong e) const { return n_powmod2_ui_preinv(x, e, P, inverse_); }
    static ulong plus(ulong x, ulong y) { return x + y >= P ? x + y - P : x + y; }
    static ulong moins(ulong x, ulong y) { return x >= y ? x - y : x + P - y; }
    static ulong inverse(ulong x) { return n_invmod(x, P); }

  private:
    ulong inverse_ = n_preinvert_limb(P);
};

// log2(N), for N of any size.
double log2_grand(const ZZ& n) {
    long bits = NumBits(n);
    long decalage = bits > 53 ? bits - 53 : 0;
    return static_cast<double>(decalage) + std::log2(NTL::conv<double>(n >> decalage));
}

// a^n + SIGNE b^n, on the whole numbers.
ZZ valeur_forme(long a, long b, long n, bool plus) {
    ZZ x = NTL::power(ZZ(a), n);
    ZZ y = NTL::power(ZZ(b), n);
    return plus ? x + y : x - y;
}

// Whether c N = a^n + b^n or a^n - b^n for some n, c: the residues of
// a^n, b^n for each n that fits, against that of N.
bool essayer_base(const ZZ& n, ulong inverse_n, double log2_n, long a, long b, FormeAlgebrique& f) {
    static const Modulo mod;
    const double log2_a = std::log2(static_cast<double>(a));
    // N / 2 <= a^n and a^n - b^n >= a^(n-1) <= DIVISEUR_MAX N, with slack
    // for the rounding of the logarithms.
    auto premier = std::max(2L, static_cast<long>((log2_n - 1) / log2_a) - 1);
    auto dernier =
        static_cast<long>((log2_n + std::log2(static_cast<double>(DIVISEUR_MAX))) / log2_a) + 2;
    ulong pa = mod.puissance(static_cast<ulong>(a), static_cast<ulong>(premier));
    ulong pb = mod.puissance(static_cast<ulong>(b), static_cast<ulong>(premier));
    for (long e = premier; e <= dernier; ++e) {
        for (bool plus : {false, true}) {
            ulong c = mod.mul(plus ? Modulo::plus(pa, pb) : Modulo::moins(pa, pb), inverse_n);
            if (c >= 1 && c <= static_cast<ulong>(DIVISEUR_MAX) &&
                valeur_forme(a, b, e, plus) == n * static_cast<long>(c)) {
                f = {a, b, e, plus, static_cast<long>(c)};
                return true;
            }
        }
        pa = mod.mul(pa, static_cast<ulong>(a));
        pb = mod.mul(pb, static_cast<ulong>(b));
    }
    return false;
}

// The distinct primes of V > 0 (a word), by trial division.
std::vector<long> premiers_de(long v) {
    std::vector<long> p;
    for (long q = 2; q * q <= v; ++q) {
        if (v % q == 0) {
            p.push_back(q);
            while (v % q == 0) {
                v /= q;
            }
        }
    }
    if (v > 1) {
        p.push_back(v);
    }
    return p;
}

std::vector<long> diviseurs(long v) {
    std::vector<long> d;
    for (long q = 1; q * q <= v; ++q) {
        if (v % q == 0) {
            d.push_back(q);
        }
    }
    for (auto t = d.size(); t-- > 0;) {
        if (d[t] * d[t] != v) {
            d.push_back(v / d[t]);
        }
    }
    return d; // increasing
}

// The values Phi_d(a, b) of one form, by Moebius inversion of the
// a^e - b^e, each computed once.
class Cyclotomiques {
  public:
    explicit Cyclotomiques(const FormeAlgebrique& f) : f_(f) {}

    ZZ valeur(long d) {
        std::vector<long> q = premiers_de(d);
        ZZ numerateur(1);
        ZZ denominateur(1);
        for (unsigned long masque = 0; masque < (1UL << q.size()); ++masque) {
            long e = d;
            int signes = 0;
            for (std::size_t t = 0; t < q.size(); ++t) {
                if ((masque >> t & 1) != 0) {
                    e /= q[t];
                    ++signes;
                }
            }
            (signes % 2 == 0 ? numerateur : denominateur) *= difference(e);
        }
        return numerateur / denominateur;
    }

  private:
    const ZZ& difference(long e) {
        auto [p, nouveau] = differences_.try_emplace(e);
        if (nouveau) {
            p->second = valeur_forme(f_.a, f_.b, e, false);
        }
        return p->second;
    }

    const FormeAlgebrique& f_;
    std::map<long, ZZ> differences_;
};

ZZX cyclotomique(long n) {
    ZZX f;
    SetCoeff(f, n, 1);
    SetCoeff(f, 0, -1);
    for (long d : diviseurs(n)) {
        if (d < n) {
            f /= cyclotomique(d);
        }
    }
    return f;
}

// One of the two factors of Phi_D(m y^2) over the integers (D = m or 2m as
// Aurifeuille's identity asks), or 0 when it does not split in two.
ZZX facteur_aurifeuillien(long m, long d) {
    ZZX phi = cyclotomique(d);
    ZZX p;
    ZZ puissance(1);
    for (long t = 0; t <= deg(phi); ++t, puissance *= m) {
        SetCoeff(p, 2 * t, coeff(phi, t) * puissance);
    }
    ZZ contenu;
    NTL::vec_pair_ZZX_long facteurs;
    NTL::factor(contenu, facteurs, p);
    if (facteurs.length() != 2 || deg(facteurs[0].a) != deg(facteurs[1].a)) {
        return ZZX();
    }
    return facteurs[0].a;
}

ZZ evaluer(const ZZX& p, const ZZ& x) {
    ZZ v;
    for (long t = deg(p); t >= 0; --t) {
        v = v * x + coeff(p, t);
    }
    return v;
}

struct Morceau {
    long d; // index of its cyclotomic polynomial
    ZZ valeur;
};

// With b = 1 and a = m s^2 (m squarefree, > 1), Phi_d(a) for d = D k, k odd,
// D = m or 2m, divides Phi_D(a^k) = L(t) L(-t) with a^k = m t^2: its gcd
// with L(t) is one of its two Aurifeuillian halves.
void couper_aurifeuille(const FormeAlgebrique& f, std::vector<Morceau>& morceaux) {
    long m = 1;
    long s = 1;
    for (long q : premiers_de(f.a)) {
        long e = 0;
        for (long v = f.a; v % q == 0; v /= q) {
            ++e;
        }
        m *= e % 2 == 1 ? q : 1;
        for (long t = 0; t < e / 2; ++t) {
            s *= q;
        }
    }
    if (f.b != 1 || m == 1) {
        return;
    }
    const long indice = m % 4 == 1 ? m : 2 * m;
    ZZX l;
    std::size_t avant = morceaux.size();
    for (std::size_t t = 0; t < avant; ++t) {
        long d = morceaux[t].d;
        if (d % indice != 0 || (d / indice) % 2 == 0) {
            continue;
        }
        if (IsZero(l)) {
            l = facteur_aurifeuillien(m, indice);
            if (IsZero(l)) {
                return;
            }
        }
        long k = d / indice;
        ZZ x = NTL::power(ZZ(m), (k - 1) / 2) * NTL::power(ZZ(s), k);
        ZZ g = NTL::GCD(morceaux[t].valeur, abs(evaluer(l, x)));
        if (g > 1 && g < morceaux[t].valeur) {
            morceaux[t].valeur /= g;
            morceaux.push_back({d, g});
        }
    }
}

// Divides the primes of C, a divisor of their product, out of the pieces.
bool diviser(long c, std::vector<Morceau>& morceaux) {
    for (long q : premiers_de(c)) {
        for (; c % q == 0; c /= q) {
            auto p = std::find_if(morceaux.begin(), morceaux.end(),
                                  [q](const Morceau& x) { return divide(x.valeur, q); });
            if (p == morceaux.end()) {
                return false;
            }
            p->valeur /= q;
        }
    }
    return true;
}

} // namespace

bool forme_algebrique(const ZZ& n, FormeAlgebrique& f) {
    long bits = NumBits(n);
    if (bits < BITS_FORMES || bits > BITS_FORMES_MAX) {
        return false;
    }
    ulong reste = static_cast<ulong>(rem(n, static_cast<long>(Modulo::P)));
    if (reste == 0) {
        return false;
    }
    ulong inverse_n = Modulo::inverse(reste);
    double log2_n = log2_grand(n);
    for (long a = 2; a <= BASE_MAX; ++a) {
        for (long b = 1; b < a; ++b) {
            if (std::gcd(a, b) == 1 && essayer_base(n, inverse_n, log2_n, a, b, f)) {
                return true;
            }
        }
    }
    return false;
}

std::vector<ZZ> morceaux(const FormeAlgebrique& f) {
    Cyclotomiques phi(f);
    std::vector<Morceau> m;
    for (long d : diviseurs(f.plus ? 2 * f.n : f.n)) {
        if (!f.plus || f.n % d != 0) {
            m.push_back({d, phi.valeur(d)});
        }
    }
    couper_aurifeuille(f, m);
    std::vector<ZZ> r;
    if (diviser(f.c, m)) {
        for (Morceau& x : m) {
            if (x.valeur > 1) {
                r.push_back(std::move(x.valeur));
            }
        }
    }
    return r;
}

std::vector<ZZ> morceaux_algebriques(const ZZ& n) {
    FormeAlgebrique f;
    if (!forme_algebrique(n, f)) {
        return {n};
    }
    std::vector<ZZ> r = morceaux(f);
    ZZ produit(1);
    for (const ZZ& m : r) {
        produit *= m;
    }
    if (produit != n || r.empty()) {
        return {n}; // never seen: the identities hold
    }
    return r;
}
