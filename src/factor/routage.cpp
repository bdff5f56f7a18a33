#include "factor/routage.hpp"

#include "base/enfant.hpp"
#include "base/interruption.hpp"
#include "factor/crible_qs.hpp"
#include "factor/ecm.hpp"
#include "factor/entier.hpp"
#include "factor/reglages.hpp"

#include <algorithm>
#include <gmp.h>
#include <new>
#include <system_error>
#include <utility>

namespace {

std::vector<unsigned long> limbes(mpz_srcptr v) {
    return {mpz_limbs_read(v), mpz_limbs_read(v) + mpz_size(v)};
}

// Short of memory on every core, the sieve runs again on one, which takes
// less.
bool par_crible(mpz_ptr facteur, mpz_srcptr n) {
    OptionsCrible options;
    options.avancement = [](long fait, long total) {
        signaler_avancement("Decomposition en facteurs premiers : crible quadratique, relations",
                            fait, total);
    };
    try {
        return crible_quadratique(facteur, n, options);
    } catch (const std::bad_alloc&) {
    } catch (const std::system_error&) { // a thread of the search could not start
    }
    options.parts = 1;
    return crible_quadratique(facteur, n, options);
}

} // namespace

Voie voie(long bits) {
    if (bits < BITS_CRIBLE) {
        return Voie::Bibliotheque;
    }
    return bits <= BITS_CRIBLE_MAX ? Voie::EcmPuisCrible : Voie::Ecm;
}

IssueScission Routage::scinder(const std::vector<unsigned long>& composite,
                               std::vector<unsigned long>& facteur) {
    try {
        mpz_t n; // reads the limbs in place
        mpz_roinit_n(n, composite.data(), static_cast<mp_size_t>(composite.size()));
        auto bits = static_cast<long>(mpz_sizeinbase(n, 2));
        Voie v = voie(bits);
        OptionsEcm options;
        options.palier = palier_atteint(composite);
        options.avancement = [](const char* libelle, long courbes, long total) {
            signaler_avancement(libelle, courbes, total);
        };
        if (v == Voie::EcmPuisCrible) {
            options.secondes = PART_ECM * secondes_crible(bits);
            options.courbes_min = COURBES_AVANT_CRIBLE;
        }
        Entier f;
        BilanEcm bilan;
        bool trouve = courbes_elliptiques(f, n, options, &bilan);
        if (!trouve && v == Voie::EcmPuisCrible) {
            trouve = par_crible(f, n);
        }
        if (!trouve) {
            return IssueScission::aucun;
        }
        Entier cofacteur;
        mpz_divexact(cofacteur, n, f);
        retenir(limbes(cofacteur), bilan.palier);
        facteur = limbes(f);
        retenir(facteur, bilan.palier);
        return IssueScission::facteur;
    } catch (const std::bad_alloc&) {
        return IssueScission::memoire;
    } catch (const std::system_error&) { // no thread could start
        return IssueScission::memoire;
    } catch (...) {
        return IssueScission::aucun; // the library's own factorisation takes over, or Ctrl-C
    }
}

int Routage::palier_atteint(const std::vector<unsigned long>& nombre) const {
    auto p = std::find_if(faits_.begin(), faits_.end(),
                          [&](const Fait& f) { return f.nombre == nombre; });
    return p == faits_.end() ? 0 : p->palier;
}

void Routage::retenir(std::vector<unsigned long> nombre, int palier) {
    faits_.push_back({std::move(nombre), palier});
}
