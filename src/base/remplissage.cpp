#include "base/remplissage.hpp"

#include "base/interruption.hpp"
#include "base/progression.hpp"
#include "base/reglages.hpp"

#include <algorithm>
#include <new>
#include <utility>

Remplissage::Remplissage(TablePremiers& table, Compteur compter, int remplisseurs)
    : table_(table), compter_(std::move(compter)), parts_(std::max(0, remplisseurs)),
      cible_(static_cast<std::int64_t>(table.size()) - 1), premier_(table.back()), publie_(cible_) {
}

Remplissage::~Remplissage() {
    {
        std::lock_guard l(m_);
        arret_ = true;
    }
    travail_.notify_all();
    for (std::thread& t : remplisseurs_) {
        t.join();
    }
}

void Remplissage::viser(std::int64_t cible, std::int64_t premier) {
    if (cible <= cible_) {
        return;
    }
    table_.reserver(static_cast<std::size_t>(cible) + 1);
    Verrou l(m_);
    const std::int64_t de = cible_ + 1;
    const auto apres = static_cast<std::uint64_t>(premier_);
    const auto borne = static_cast<std::uint64_t>(premier);
    if (morceaux_.empty() && cible - de < REMPLIR_ICI) {
        if (ici_.dernier() == apres) {
            ici_.prolonger(borne);
        } else {
            ici_.partir_de(apres, borne);
        }
        bool fini = false;
        ici_.placer(table_, de, cible - de + 1, fini);
        publie_.store(cible, std::memory_order_release);
    } else {
        couper(de, apres, borne);
        demarrer();
        travail_.notify_all();
    }
    cible_ = cible;
    premier_ = premier;
}

// Pieces of (APRES, BORNE], the first from rank DE: each takes a share of
// the values left, one more share than there are fillers, and at least
// VALEURS_MORCEAU_MIN of them. The pieces shrink towards the end, so that
// every core stays busy up to it.
void Remplissage::couper(std::int64_t de, std::uint64_t apres, std::uint64_t borne) {
    const std::size_t avant = morceaux_.size();
    const auto parts = static_cast<std::uint64_t>(std::max(parts_, 2)) + 1;
    try {
        for (std::uint64_t x = apres; x < borne;) {
            const std::uint64_t largeur = std::max((borne - x) / parts, VALEURS_MORCEAU_MIN);
            const std::uint64_t y = borne - x <= largeur ? borne : x + largeur;
            morceaux_.push_back({x, y, x == apres ? de : 0, x == apres ? de - 1 : 0, 0});
            x = y;
        }
    } catch (...) { // std::bad_alloc: the growth is not handed over
        morceaux_.resize(avant);
        throw;
    }
}

// The fillers start with the first long growth; those that could not start
// are tried again at the next one.
void Remplissage::demarrer() {
    try {
        remplisseurs_.reserve(static_cast<std::size_t>(parts_));
        while (remplisseurs_.size() < static_cast<std::size_t>(parts_)) {
            remplisseurs_.emplace_back([this] {
                Verrou l(m_);
                while (!arret_) {
                    if (!travailler(l)) {
                        travail_.wait(l);
                    }
                }
            });
        }
    } catch (...) { // std::system_error, std::bad_alloc: fewer fillers, or none
    }
}

// Under m_: takes the next piece and writes it; false when there is none.
bool Remplissage::travailler(Verrou& l) {
    if (echec_ || pris_ == morceaux_.size()) {
        return false;
    }
    Morceau& m = morceaux_[pris_++];
    ++occupes_;
    l.unlock();
    std::exception_ptr e;
    try {
        ecrire(m);
    } catch (...) { // std::bad_alloc from the sieve or the count
        e = std::current_exception();
    }
    l.lock();
    if (e && !echec_) {
        echec_ = e;
    }
    --occupes_;
    if (echec_) {
        lecteur_.notify_one();
    }
    return true;
}

// Writes the piece a stretch at a time, each one published; stops early
// at the end of the fill or after a failure. The piece may be gone once its
// last stretch is published.
void Remplissage::ecrire(Morceau& m) {
    std::int64_t r = m.de;
    if (r == 0) {
        const std::int64_t n = compter_(static_cast<std::int64_t>(m.apres));
        if (n < 0) {
            throw std::bad_alloc();
        }
        r = n + 1;
    }
    const std::int64_t de = r;
    Crible crible;
    crible.partir_de(m.apres, m.borne);
    for (bool fini = false; !fini;) {
        r = crible.placer(table_, r, TRONCON_REMPLI, fini);
        std::lock_guard l(m_);
        m.de = de;
        m.ecrit = r - 1;
        m.a = fini ? r - 1 : 0;
        publier();
        if (arret_ || echec_) {
            return;
        }
    }
}

// Under m_: the count of ranks filled without a gap moves past the pieces
// written, into the first one still being written; the first piece starts
// right after the ranks published before it, once it knows its first rank.
void Remplissage::publier() {
    std::int64_t p = publie_.load(std::memory_order_relaxed);
    while (!morceaux_.empty() && morceaux_.front().de != 0) {
        p = std::max(p, morceaux_.front().ecrit);
        if (morceaux_.front().a == 0) {
            break;
        }
        morceaux_.pop_front();
        --pris_;
    }
    publie_.store(p, std::memory_order_release);
    if (p >= attendu_) { // the reader alone is woken, once its rank is in
        lecteur_.notify_one();
    }
}

void Remplissage::attendre(std::int64_t r) {
    verifier_interruption(); // also when nothing is left to wait for
    Verrou l(m_);
    const std::int64_t but = std::min(r, cible_);
    const std::int64_t depart = publie_.load(std::memory_order_relaxed);
    Tache tache("Nombres premiers charges/calcules", static_cast<double>(but - depart));
    attendu_ = but;
    while (publie_.load(std::memory_order_acquire) < but) {
        if (echec_) { // once the pieces being written are left
            lecteur_.wait(l, [this] { return occupes_ == 0; });
            morceaux_.clear();
            pris_ = 0;
            cible_ = publie_.load(std::memory_order_relaxed);
            premier_ = table_[static_cast<std::size_t>(cible_)];
            std::exception_ptr e = std::exchange(echec_, nullptr);
            if (r != TOUT && r > cible_) {
                std::rethrow_exception(e);
            }
            return;
        }
        if (!remplisseurs_.empty() || !travailler(l)) {
            lecteur_.wait_for(l, ATTENTE_LECTEUR);
        }
        l.unlock();
        tache.point(static_cast<double>(publie_.load(std::memory_order_relaxed) - depart));
        l.lock();
    }
}
