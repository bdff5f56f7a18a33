// The relations of every part, gathered under one lock: the full ones, and
// the partial ones paired by their large prime, each pair one line of the
// matrix; the a already drawn, so that no part sieves one twice; the
// matrix of the lines' exponents mod 2.

#include "factor/qs/qs.hpp"

#include <algorithm>

namespace qs {

void Lot::vider() {
    facteurs.clear();
    membres.clear();
    releves.clear();
    polynomes = verifiees = fausses = 0;
}

bool Collecte::ajouter(Lot& lot) {
    std::lock_guard verrou(m_);
    auto base_f = static_cast<u32>(tout_.facteurs.size());
    auto base_y = static_cast<u32>(tout_.membres.size());
    tout_.facteurs.insert(tout_.facteurs.end(), lot.facteurs.begin(), lot.facteurs.end());
    tout_.membres.insert(tout_.membres.end(), lot.membres.begin(), lot.membres.end());
    for (Releve r : lot.releves) {
        r.debut_f += base_f;
        r.debut_y += base_y;
        auto id = static_cast<u32>(tout_.releves.size());
        tout_.releves.push_back(r);
        if (r.grand == 1) {
            lignes_.emplace_back(id, AUCUNE);
        } else {
            ++partielles_;
            auto [it, neuve] = premiere_.try_emplace(r.grand, id);
            if (!neuve) {
                lignes_.emplace_back(it->second, id);
            }
        }
    }
    tout_.polynomes += lot.polynomes;
    tout_.verifiees += lot.verifiees;
    tout_.fausses += lot.fausses;
    lot.vider();
    trouvees_.store(static_cast<long>(lignes_.size()), std::memory_order_relaxed);
    return trouvees() >= requises_;
}

bool Collecte::nouveau_a(const u32* q, int s) {
    u64 h = 1469598103934665603ULL;
    for (int j = 0; j < s; ++j) {
        h = (h ^ q[j]) * 1099511628211ULL;
    }
    std::lock_guard verrou(m_);
    return a_vus_.insert(h).second;
}

MatriceCreuse matrice(const Contexte& c, const Collecte& col) {
    const Lot& t = col.tout();
    MatriceCreuse m;
    m.largeur = c.taille;
    std::vector<u32> f;
    for (auto [premier, second] : col.lignes()) {
        f.clear();
        for (u32 id : {premier, second}) {
            if (id == Collecte::AUCUNE) {
                continue;
            }
            const Releve& r = t.releves[id];
            f.insert(f.end(), t.facteurs.begin() + r.debut_f,
                     t.facteurs.begin() + r.debut_f + r.nb_f);
        }
        std::sort(f.begin(), f.end());
        for (std::size_t e = 0; e < f.size();) {
            std::size_t fin = e;
            while (fin < f.size() && f[fin] == f[e]) {
                ++fin;
            }
            if ((fin - e) % 2 == 1) {
                m.colonnes.push_back(f[e]);
            }
            e = fin;
        }
        m.fermer_ligne();
    }
    return m;
}

} // namespace qs
