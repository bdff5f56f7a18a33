#include "factor/moteur.hpp"

#include "base/interruption.hpp"
#include "factor/algebrique.hpp"
#include "factor/pari.hpp"
#include "factor/reglages.hpp"
#include "factor/routage.hpp"

#include <NTL/ZZ_limbs.h>
#include <algorithm>
#include <cstring>
#include <flint/NTL-interface.h>
#include <flint/fmpz.h>
#include <flint/fmpz_factor.h>
#include <gmp.h>
#include <new>
#include <system_error>
#include <type_traits>

static_assert(std::is_same_v<NTL::ZZ_limb_t, unsigned long>, "NTL limbs are machine words");
static_assert(std::is_same_v<mp_limb_t, unsigned long>, "GMP limbs are machine words");

namespace {

// The decimal text of a number of any size (GMP's conversion is
// subquadratic).
std::string decimal_gmp(const NTL::ZZ& v) {
    mpz_t x; // reads the limbs in place
    mpz_roinit_n(x, NTL::ZZ_limbs_get(v), v.size());
    std::string s(mpz_sizeinbase(x, 10) + 1, '\0');
    mpz_get_str(s.data(), 10, x);
    s.resize(std::strlen(s.c_str()));
    return s;
}

std::string decimal_flint(const fmpz_t x) {
    char* p = fmpz_get_str(nullptr, 10, x);
    std::string s(p);
    flint_free(p);
    return s;
}

// The primes in increasing order, each once: the exponents of a prime
// found in several pieces add up.
void fusionner(std::vector<FacteurPremier>& f) {
    std::sort(f.begin(), f.end(),
              [](const FacteurPremier& a, const FacteurPremier& b) { return a.valeur < b.valeur; });
    std::size_t n = 0;
    for (FacteurPremier& p : f) {
        if (n > 0 && f[n - 1].valeur == p.valeur) {
            f[n - 1].exposant += p.exposant;
        } else if (&f[n++] != &p) {
            f[n - 1] = std::move(p);
        }
    }
    f.resize(n);
}

// Byte stream of the decomposition: machine words and counted texts.
void mot(std::string& o, long v) {
    o.append(reinterpret_cast<const char*>(&v), sizeof v);
}

void texte(std::string& o, const std::string& s) {
    mot(o, static_cast<long>(s.size()));
    o += s;
}

void entier(std::string& o, const NTL::ZZ& v) {
    long n = v.size();
    mot(o, n);
    o.append(reinterpret_cast<const char*>(NTL::ZZ_limbs_get(v)),
             static_cast<std::size_t>(n) * sizeof(NTL::ZZ_limb_t));
}

class Lecteur {
  public:
    explicit Lecteur(const std::string& o) : o_(o) {}
    long mot() {
        long v = 0;
        copier(&v, sizeof v);
        return v;
    }
    std::string texte() {
        auto n = std::min(static_cast<std::size_t>(mot()), restant());
        std::string s(n, '\0');
        copier(s.data(), n);
        return s;
    }
    NTL::ZZ entier() {
        auto n = std::min(static_cast<std::size_t>(mot()), restant() / sizeof(NTL::ZZ_limb_t));
        std::vector<NTL::ZZ_limb_t> l(n);
        copier(l.data(), n * sizeof(NTL::ZZ_limb_t));
        NTL::ZZ v;
        NTL::ZZ_limbs_set(v, l.data(), static_cast<long>(n));
        return v;
    }

    std::size_t restant() const { return o_.size() - std::min(pos_, o_.size()); }

  private:
    void copier(void* dest, std::size_t n) {
        n = std::min(n, restant());
        std::memcpy(dest, o_.data() + pos_, n);
        pos_ += n;
    }
    const std::string& o_;
    std::size_t pos_ = 0;
};

} // namespace

Decomposition decomposer_flint(const NTL::ZZ& n) {
    fmpz_t x;
    fmpz_init(x);
    fmpz_set_ZZ(x, n);
    fmpz_factor_t f;
    fmpz_factor_init(f);
    fmpz_factor(f, x);
    Decomposition d;
    d.decimal_n = decimal_flint(x);
    for (slong t = 0; t < f->num; ++t) {
        FacteurPremier p;
        fmpz_get_ZZ(p.valeur, f->p + t);
        p.decimal = decimal_flint(f->p + t);
        p.exposant = static_cast<long>(f->exp[t]);
        d.facteurs.push_back(std::move(p));
    }
    fmpz_factor_clear(f);
    fmpz_clear(x);
    fusionner(d.facteurs);
    return d;
}

Decomposition decomposer(const NTL::ZZ& n) {
    const std::vector<NTL::ZZ> morceaux = morceaux_algebriques(n);
    Routage routage;
    Scission scinder = [&routage](const std::vector<unsigned long>& composite,
                                  std::vector<unsigned long>& facteur) {
        return routage.scinder(composite, facteur);
    };
    Decomposition d;
    for (const NTL::ZZ& m : morceaux) {
        std::string decimal;
        std::vector<FacteurPari> f;
        if (!factoriser_pari(NTL::ZZ_limbs_get(m), m.size(), decimal, f, scinder, BITS_CRIBLE)) {
            verifier_interruption();
            return decomposer_flint(n);
        }
        for (FacteurPari& p : f) {
            FacteurPremier q;
            NTL::ZZ_limbs_set(q.valeur, p.limbes.data(), static_cast<long>(p.limbes.size()));
            q.decimal = std::move(p.decimal);
            q.exposant = p.exposant;
            d.facteurs.push_back(std::move(q));
        }
        d.decimal_n = std::move(decimal);
    }
    if (morceaux.size() > 1) {
        d.decimal_n = decimal_gmp(n);
    }
    fusionner(d.facteurs);
    return d;
}

std::string en_octets(const Decomposition& d) {
    std::string o;
    texte(o, d.decimal_n);
    mot(o, static_cast<long>(d.facteurs.size()));
    for (const FacteurPremier& p : d.facteurs) {
        entier(o, p.valeur);
        texte(o, p.decimal);
        mot(o, p.exposant);
    }
    return o;
}

Decomposition depuis_octets(const std::string& octets) {
    Lecteur l(octets);
    Decomposition d;
    d.decimal_n = l.texte();
    // A factor takes three words at least.
    auto n = std::min(static_cast<std::size_t>(l.mot()), l.restant() / (3 * sizeof(long)));
    d.facteurs.resize(n);
    for (FacteurPremier& p : d.facteurs) {
        p.valeur = l.entier();
        p.decimal = l.texte();
        p.exposant = l.mot();
    }
    return d;
}
