#include "factor/moteur.hpp"

#include "base/enfant.hpp"
#include "factor/crible_qs.hpp"
#include "factor/pari.hpp"

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

// From about 45 digits up, a composite left once the small factors are
// found is split by our quadratic sieve, on every core: below, the
// library's own sieve is as fast.
constexpr long BITS_CRIBLE = 150;

// The sieve's split, its progress shown by the parent when this runs in a
// child process. Nothing thrown goes back through the library. Short of
// memory on every core, the sieve runs again on one, which takes less.
IssueScission scinder_par_crible(const std::vector<unsigned long>& composite,
                                 std::vector<unsigned long>& facteur) {
    struct Facteur {
        Facteur() { mpz_init(v); }
        ~Facteur() { mpz_clear(v); }
        Facteur(const Facteur&) = delete;
        Facteur& operator=(const Facteur&) = delete;
        mpz_t v;
    };
    mpz_t n; // reads the limbs in place
    mpz_roinit_n(n, composite.data(), static_cast<mp_size_t>(composite.size()));
    OptionsCrible options;
    options.avancement = [](long fait, long total) {
        signaler_avancement("Crible quadratique, relations", fait, total);
    };
    for (int parts : {0, 1}) {
        try {
            options.parts = parts;
            Facteur f;
            if (!crible_quadratique(f.v, n, options)) {
                return IssueScission::aucun;
            }
            facteur.assign(mpz_limbs_read(f.v), mpz_limbs_read(f.v) + mpz_size(f.v));
            return IssueScission::facteur;
        } catch (const std::bad_alloc&) {
        } catch (const std::system_error&) { // a thread of the search could not start
        } catch (...) {
            return IssueScission::aucun; // the library's own factorisation takes over
        }
    }
    return IssueScission::memoire;
}

std::string decimal_flint(const fmpz_t x) {
    char* p = fmpz_get_str(nullptr, 10, x);
    std::string s(p);
    flint_free(p);
    return s;
}

void trier(Decomposition& d) {
    std::sort(d.facteurs.begin(), d.facteurs.end(),
              [](const FacteurPremier& a, const FacteurPremier& b) { return a.valeur < b.valeur; });
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
    trier(d);
    return d;
}

Decomposition decomposer(const NTL::ZZ& n) {
    Decomposition d;
    std::vector<FacteurPari> f;
    if (!factoriser_pari(NTL::ZZ_limbs_get(n), n.size(), d.decimal_n, f, scinder_par_crible,
                         BITS_CRIBLE)) {
        return decomposer_flint(n);
    }
    for (FacteurPari& p : f) {
        FacteurPremier q;
        NTL::ZZ_limbs_set(q.valeur, p.limbes.data(), static_cast<long>(p.limbes.size()));
        q.decimal = std::move(p.decimal);
        q.exposant = p.exposant;
        d.facteurs.push_back(std::move(q));
    }
    trier(d);
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
