// The driver of the quadratic sieve: the factor base, the relations
// searched on every part of an Equipe until there are enough, the cycles of
// the partial ones built and each checked, the matrix's dependencies, and
// from them a factor.

#include "factor/crible_qs.hpp"

#include "base/memoire.hpp"
#include "factor/qs/qs.hpp"

#include <chrono>
#include <new>

namespace qs {

namespace {

// Entries of one block's bucket, at most: each root of a prime p hits a
// block at most BLOC / p + 1 times.
u32 capacite_seau(const Contexte& c) {
    u64 n = 16;
    for (u32 i = c.debut_grands; i < c.taille; ++i) {
        n += 2 * (BLOC / c.p[i] + 1);
    }
    return static_cast<u32>(n);
}

} // namespace

Chercheur::Chercheur(const Contexte& c, Collecte& col, u64 graine)
    : c_(c), col_(col), alea_(graine), delta_(static_cast<std::size_t>(c.s) * c.taille),
      r1_(c.taille), r2_(c.taille), pos1_(c.taille), pos2_(c.taille), dans_a_(c.taille, 0),
      touche_(c.debut_grands + 8, 0), crible_(c.longueur), capacite_(capacite_seau(c)),
      seaux_(static_cast<std::size_t>(capacite_) * c.blocs), remplis_(c.blocs), a_haut_(c.a_haut) {}

void Chercheur::chercher(Equipe& equipe, const std::function<void(long, long)>* avancement) {
    while (!equipe.arret()) {
        choisir_a();
        initialiser_b();
        u32 nombre = u32{1} << (c_.s - 1);
        for (u32 g = 0; g < nombre && !equipe.arret(); ++g) {
            if (g > 0) {
                changer_b(g);
            }
            cribler();
            ++lot_.polynomes;
            if ((g + 1) % POLYNOMES_PAR_LOT == 0 || g + 1 == nombre) {
                if (col_.ajouter(lot_)) {
                    equipe.arreter();
                }
                if (avancement != nullptr && *avancement) {
                    (*avancement)(col_.trouvees(), col_.requises());
                }
            }
        }
    }
}

namespace {

double secondes_depuis(std::chrono::steady_clock::time_point t) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - t).count();
}

} // namespace

} // namespace qs

bool crible_quadratique(mpz_t facteur, const mpz_t n, const OptionsCrible& options,
                        BilanCrible* bilan) {
    using namespace qs;
    Contexte c;
    preparer(c, n, options.parametres);
    if (c.diviseur != 0) {
        mpz_set_ui(facteur, c.diviseur);
        return mpz_cmp_ui(n, c.diviseur) > 0;
    }
    c.verifier = options.verifier;
    // A search whose matrix would not fit ends before it starts.
    if (!memoire_suffit(octets_elimination(c.taille + EXCEDENT, c.taille))) {
        throw std::bad_alloc();
    }
    Collecte col(static_cast<long>(c.taille + EXCEDENT));
    auto debut = std::chrono::steady_clock::now();
    Equipe equipe = options.parts > 0 ? Equipe(options.parts) : Equipe();
    equipe.executer([&](int part) {
        Chercheur chercheur(
            c, col, 0x9E3779B97F4A7C15ULL * static_cast<u64>(part + 1) + mpz_fdiv_ui(n, 1000003));
        chercheur.chercher(equipe, part == 0 ? &options.avancement : nullptr);
    });
    double crible = secondes_depuis(debut);
    debut = std::chrono::steady_clock::now();
    col.fermer();
    const Lot& t = col.tout();
    long cycles_faux = col.trier([&](const u32* ids, u32 nombre) {
        return (nombre == 1 && t.releves[ids[0]].grand == 1) || congruence_ligne(c, t, ids, nombre);
    });
    std::vector<std::vector<u32>> deps = dependances(matrice(c, col));
    bool trouve = false;
    long essais = 0;
    for (const std::vector<u32>& d : deps) {
        ++essais;
        if (racine(c, col, d, facteur)) {
            trouve = true;
            break;
        }
    }
    if (bilan != nullptr) {
        bilan->premiers = c.taille;
        bilan->relations = col.trouvees();
        bilan->partielles = col.partielles();
        bilan->doubles = col.doubles();
        bilan->cycles = col.cycles();
        bilan->cycles_faux = cycles_faux;
        bilan->polynomes = col.tout().polynomes;
        bilan->verifiees = col.tout().verifiees;
        bilan->fausses = col.tout().fausses;
        bilan->dependances = essais;
        bilan->secondes_crible = crible;
        bilan->secondes_algebre = secondes_depuis(debut);
    }
    return trouve;
}
