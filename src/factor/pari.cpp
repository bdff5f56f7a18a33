// PARI in library mode: initialised once, on first use, without its signal
// handlers and without taking over GMP's memory functions (NTL and FLINT use
// GMP too). Its stack starts small and grows as a computation needs, up to
// half the memory of the machine; an error is caught here and reported to
// the caller, a lack of memory (the stack at its limit, say) as
// std::bad_alloc. The library never writes to standard output or to the
// terminal: its messages are dropped.

#include "factor/pari.hpp"

#include "base/interruption.hpp"
#include "base/memoire.hpp"
#include "factor/preuve/preuve.hpp"
#include "factor/routage.hpp"

#include <algorithm>
#include <cstddef>
#include <new>
#include <pari/pari.h>
#include <sys/resource.h>
#include <unistd.h>

namespace {

constexpr std::size_t PILE = std::size_t{16} << 20; // usual stack: 16 MiB
constexpr ulong PREMIERS_PARI = 500000;             // PARI's own table of small primes

void rien_c(char) {}
void rien_s(const char*) {}
void rien() {}
PariOUT silence = {rien_c, rien_s, rien};

std::size_t pile_maximale() {
    long pages = sysconf(_SC_PHYS_PAGES);
    long taille = sysconf(_SC_PAGESIZE);
    std::size_t moitie = pages > 0 && taille > 0 ? static_cast<std::size_t>(pages) / 2 *
                                                       static_cast<std::size_t>(taille)
                                                 : std::size_t{1} << 30;
    // Under a limit on the address space, a quarter of it: the stack's
    // whole reach is mapped at once.
    rlimit limite{};
    if (getrlimit(RLIMIT_AS, &limite) == 0 && limite.rlim_cur != RLIM_INFINITY) {
        moitie = std::min<std::size_t>(moitie, limite.rlim_cur / 4);
    }
    return std::clamp(moitie, PILE, std::size_t{16} << 30);
}

ulong fils_pari = 1; // the threads of PARI's parallel engine when memory allows

} // namespace

void preparer_pari() {
    static bool fait = false;
    if (fait) {
        return;
    }
    // Short of memory for its usual stack, the library would start on a
    // smaller one and warn on standard error.
    if (!memoire_suffit(PILE)) {
        throw std::bad_alloc();
    }
    pari_init_opts(PILE, PREMIERS_PARI, INIT_DFTm | INIT_noINTGMPm);
    pariOut = &silence;
    pariErr = &silence;
    paristack_setsize(PILE, pile_maximale());
    fils_pari = pari_mt_nbthreads;
    fait = true;
}

namespace {

GEN entier(const unsigned long* limbes, long n) {
    GEN x = cgeti(n + 2);
    x[1] = evalsigne(1) | evallgefint(n + 2);
    GEN w = int_LSW(x);
    for (long t = 0; t < n; ++t, w = int_nextW(w)) {
        *w = limbes[t];
    }
    return x;
}

void limbes_de(GEN x, std::vector<unsigned long>& v) {
    long n = lgefint(x) - 2;
    v.resize(static_cast<std::size_t>(n));
    GEN w = int_LSW(x);
    for (long t = 0; t < n; ++t, w = int_nextW(w)) {
        v[static_cast<std::size_t>(t)] = static_cast<unsigned long>(*w);
    }
}

// Whether X is prime, proved by its form when it has one, else by the
// library's general proof (see preuve/preuve.hpp).
Verdict verdict(GEN x) {
    std::vector<unsigned long> v;
    limbes_de(x, v);
    mpz_t n; // reads the limbs in place
    mpz_roinit_n(n, v.data(), static_cast<mp_size_t>(v.size()));
    return prouver(n);
}

// Whether each factor of F is proved prime.
bool tous_prouves(GEN f) {
    GEN premiers = gel(f, 1);
    for (long t = 1; t < lg(premiers); ++t) {
        if (verdict(gel(premiers, t)) != Verdict::premier) {
            return false;
        }
    }
    return true;
}

// The factors of a composite: the small ones found by the library (trial
// division, rho), the rest by PARI or by SCINDER, as the route of their
// size says (routage.hpp); each prime with its exponent, in no order.
class Scindeur {
  public:
    explicit Scindeur(const Scission& scinder) : scinder_(scinder) {}

    GEN factoriser(GEN x) {
        premiers_ = cgetg(1, t_VEC);
        exposants_ = cgetg(1, t_VEC);
        GEN f = Z_factor_limit(x, DIVISION);
        for (long t = 1; t < lg(gel(f, 1)); ++t) {
            morceau(gcoeff(f, t, 1), itos(gcoeff(f, t, 2)));
        }
        return fusion();
    }

  private:
    static constexpr ulong DIVISION = 1UL << 20; // trial division bound

    void ajouter(GEN p, long e) {
        premiers_ = vec_append(premiers_, p);
        exposants_ = vec_append(exposants_, stoi(e));
    }

    void ajouter_tous(GEN f, long e) {
        for (long t = 1; t < lg(gel(f, 1)); ++t) {
            ajouter(gcoeff(f, t, 1), e * itos(gcoeff(f, t, 2)));
        }
    }

    // C^E, C a factor not yet known to be prime.
    void morceau(GEN c, long e) {
        GEN y = nullptr;
        long k = 0;
        if (BPSW_psp(c)) {
            ajouter(c, e);
        } else if ((k = Z_isanypower(c, &y)) > 1) {
            morceau(y, e * k);
        } else if (voie(expi(c) + 1) == Voie::Bibliotheque) {
            ajouter_tous(Z_factor(c), e);
        } else if (GEN v = Z_pollardbrent(c, 1, 1)) {
            morceau(gel(v, 1), e);
            morceau(diviiexact(c, gel(v, 1)), e);
        } else if (!scinder(c, e)) {
            if (interruption_demandee != 0) {
                pari_err(e_MISC, "Ctrl-C"); // back to factoriser_pari, at once
            }
            ajouter_tous(Z_factor(c), e);
        }
    }

    // A lack of memory is raised as the library's own error, once the
    // vectors here are gone: the error's jump leaves only frames that hold
    // no C++ object.
    bool scinder(GEN c, long e) {
        GEN g = facteur_scinde(c);
        if (g == nullptr) {
            return false;
        }
        if (g == gen_0) {
            pari_err(e_MEM);
        }
        morceau(g, e);
        morceau(diviiexact(c, g), e);
        return true;
    }

    // The factor SCINDER found, null when none, gen_0 when it lacked memory.
    GEN facteur_scinde(GEN c) {
        std::vector<unsigned long> v;
        limbes_de(c, v);
        std::vector<unsigned long> f;
        IssueScission issue = scinder_(v, f);
        if (issue == IssueScission::memoire) {
            return gen_0;
        }
        if (issue != IssueScission::facteur || f.empty()) {
            return nullptr;
        }
        GEN g = entier(f.data(), static_cast<long>(f.size()));
        return cmpii(g, gen_1) > 0 && cmpii(g, c) < 0 && dvdii(c, g) ? g : nullptr;
    }

    // The primes in increasing order, each once, as a factorisation matrix.
    GEN fusion() {
        GEN ordre = indexsort(premiers_);
        GEN p = cgetg(1, t_COL);
        GEN e = cgetg(1, t_COL);
        for (long t = 1; t < lg(ordre); ++t) {
            long i = ordre[t];
            long n = lg(p) - 1;
            if (n > 0 && equalii(gel(p, n), gel(premiers_, i))) {
                gel(e, n) = addii(gel(e, n), gel(exposants_, i));
            } else {
                p = vec_append(p, gel(premiers_, i));
                e = vec_append(e, gel(exposants_, i));
            }
        }
        return mkmat2(p, e);
    }

    const Scission& scinder_;
    GEN premiers_ = nullptr;
    GEN exposants_ = nullptr;
};

// [decimal text of N, its prime factors, their exponents, their decimal
// texts], on the PARI stack. The factors are found as probable primes, then
// proved; a factor that fails its proof (a pseudoprime, never seen) sends
// N back to the factorisation that proves as it goes.
GEN calcul(const unsigned long* limbes, long n, const Scission& scinder, long bits) {
    GEN x = entier(limbes, n);
    factor_proven = 0;
    // N goes first to its proof (a probable prime that fails it is
    // composite): the factorisation of a prime of 1000 digits runs for many
    // minutes before it ends, and of a prime of a known form far longer
    // than its proof.
    GEN f = nullptr;
    Verdict v = verdict(x);
    if (v != Verdict::compose) {
        f = mkmat2(mkcol(x), mkcol(gen_1));
    } else if (scinder && expi(x) + 1 >= bits) {
        f = Scindeur(scinder).factoriser(x);
    } else {
        f = Z_factor(x);
    }
    if (v == Verdict::inconnu || (v == Verdict::compose && !tous_prouves(f))) {
        factor_proven = 1;
        f = Z_factor(x);
    }
    GEN premiers = gel(f, 1);
    GEN textes = cgetg(lg(premiers), t_VEC);
    for (long t = 1; t < lg(premiers); ++t) {
        gel(textes, t) = strtoGENstr(itostr(gel(premiers, t)));
    }
    return mkvec4(strtoGENstr(itostr(x)), premiers, gel(f, 2), textes);
}

} // namespace

bool factoriser_pari(const unsigned long* limbes, long n, std::string& decimal_n,
                     std::vector<FacteurPari>& facteurs, const Scission& scinder,
                     long bits_scission) {
    preparer_pari();
    pari_mt_nbthreads = fils_de_bibliotheque_permis() ? fils_pari : 1;
    pari_sp av = avma;
    GEN volatile r = nullptr;
    volatile bool sans_memoire = false;
    pari_CATCH(CATCH_ALL) {
        long e = err_get_num(pari_err_last());
        sans_memoire = e == e_MEM || e == e_STACK || e == e_STACKTHREAD;
        r = nullptr;
    }
    pari_TRY {
        r = calcul(limbes, n, scinder, bits_scission);
    }
    pari_ENDCATCH;
    if (r == nullptr) {
        set_avma(av);
        if (sans_memoire) {
            throw std::bad_alloc();
        }
        return false;
    }
    decimal_n = GSTR(gel(r, 1));
    GEN premiers = gel(r, 2);
    GEN exposants = gel(r, 3);
    facteurs.assign(static_cast<std::size_t>(lg(premiers) - 1), FacteurPari{});
    for (long t = 1; t < lg(premiers); ++t) {
        FacteurPari& f = facteurs[static_cast<std::size_t>(t - 1)];
        GEN p = gel(premiers, t);
        limbes_de(p, f.limbes);
        f.decimal = GSTR(gel(gel(r, 4), t));
        f.exposant = itos(gel(exposants, t));
    }
    set_avma(av);
    return true;
}
