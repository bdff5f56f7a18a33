// The relations of every part, gathered under one lock: the full ones, and
// the partial ones as the edges of the graph of their large primes, whose
// cycles are counted as they close (union-find) and built at the end, each
// one line of the matrix; the a already drawn, so that no part sieves one
// twice; the matrix of the lines' exponents mod 2.

#include "factor/qs/qs.hpp"

#include <algorithm>

namespace qs {

void Lot::vider() {
    facteurs.clear();
    membres.clear();
    releves.clear();
    polynomes = verifiees = fausses = 0;
}

u32 Collecte::sommet(u64 grand) {
    if (grand == 1) {
        return 0;
    }
    auto [it, neuf] = sommets_.try_emplace(grand, static_cast<u32>(parent_.size()));
    if (neuf) {
        parent_.push_back(it->second);
    }
    return it->second;
}

// The representative of V's component, the path halved on the way.
u32 Collecte::chef(u32 v) {
    while (parent_[v] != v) {
        parent_[v] = parent_[parent_[v]];
        v = parent_[v];
    }
    return v;
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
        if (r.grand == 1 && r.grand2 == 1) {
            pleines_.push_back(id);
            continue;
        }
        doubles_ += r.grand != 1 && r.grand2 != 1 ? 1 : 0;
        u32 u = sommet(r.grand);
        u32 v = sommet(r.grand2);
        aretes_.push_back(id);
        extremes_.emplace_back(u, v);
        u32 cu = chef(u);
        u32 cv = chef(v);
        if (cu == cv) {
            ++cycles_;
        } else {
            parent_[cu] = cv;
        }
    }
    tout_.polynomes += lot.polynomes;
    tout_.verifiees += lot.verifiees;
    tout_.fausses += lot.fausses;
    lot.vider();
    trouvees_.store(static_cast<long>(pleines_.size()) + cycles_, std::memory_order_relaxed);
    return trouvees() >= requises_;
}

void Collecte::fermer() {
    ids_.clear();
    debuts_.assign(1, 0);
    for (u32 id : pleines_) {
        ids_.push_back(id);
        debuts_.push_back(static_cast<u32>(ids_.size()));
    }
    // The edges at each vertex, then a spanning forest by breadth first:
    // each vertex's parent, the edge to it and the depth.
    const auto sommets = static_cast<u32>(parent_.size());
    const auto aretes = static_cast<u32>(aretes_.size());
    std::vector<u32> debut(sommets + 1, 0), voisines(2 * std::size_t{aretes});
    for (auto [u, v] : extremes_) {
        ++debut[u + 1];
        ++debut[v + 1];
    }
    for (u32 v = 0; v < sommets; ++v) {
        debut[v + 1] += debut[v];
    }
    std::vector<u32> place(debut.begin(), debut.end() - 1);
    for (u32 e = 0; e < aretes; ++e) {
        voisines[place[extremes_[e].first]++] = e;
        voisines[place[extremes_[e].second]++] = e;
    }
    constexpr u32 AUCUN = 0xFFFFFFFF;
    std::vector<u32> pere(sommets, AUCUN), arete_pere(sommets, AUCUN), profondeur(sommets, 0);
    std::vector<char> dans_arbre(aretes, 0);
    std::vector<u32> file;
    for (u32 r = 0; r < sommets; ++r) {
        if (pere[r] != AUCUN) {
            continue;
        }
        pere[r] = r;
        file.assign(1, r);
        for (std::size_t t = 0; t < file.size(); ++t) {
            u32 u = file[t];
            for (u32 k = debut[u]; k < debut[u + 1]; ++k) {
                u32 e = voisines[k];
                u32 w = extremes_[e].first == u ? extremes_[e].second : extremes_[e].first;
                if (pere[w] == AUCUN) {
                    pere[w] = u;
                    arete_pere[w] = e;
                    profondeur[w] = profondeur[u] + 1;
                    dans_arbre[e] = 1;
                    file.push_back(w);
                }
            }
        }
    }
    // Each edge outside the forest closes one cycle: itself and the paths
    // from its ends up to where they meet.
    for (u32 e = 0; e < aretes; ++e) {
        if (dans_arbre[e] != 0) {
            continue;
        }
        ids_.push_back(aretes_[e]);
        auto [u, v] = extremes_[e];
        while (u != v) {
            u32& bas = profondeur[u] >= profondeur[v] ? u : v;
            ids_.push_back(aretes_[arete_pere[bas]]);
            bas = pere[bas];
        }
        debuts_.push_back(static_cast<u32>(ids_.size()));
    }
}

long Collecte::trier(const std::function<bool(const u32* ids, u32 nombre)>& vraie) {
    std::vector<u32> ids, debuts(1, 0);
    for (u32 l = 0; l < lignes(); ++l) {
        if (vraie(ligne(l), longueur(l))) {
            ids.insert(ids.end(), ligne(l), ligne(l) + longueur(l));
            debuts.push_back(static_cast<u32>(ids.size()));
        }
    }
    long parties = static_cast<long>(lignes()) - static_cast<long>(debuts.size() - 1);
    ids_ = std::move(ids);
    debuts_ = std::move(debuts);
    return parties;
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
    for (u32 l = 0; l < col.lignes(); ++l) {
        f.clear();
        for (u32 e = 0; e < col.longueur(l); ++e) {
            const Releve& r = t.releves[col.ligne(l)[e]];
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
