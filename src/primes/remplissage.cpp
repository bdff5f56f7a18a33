#include "primes/remplissage.hpp"

#include "base/equipe.hpp"
#include "base/progression.hpp"
#include "primes/arith64.hpp"
#include "primes/compte.hpp"
#include "primes/crible.hpp"
#include "primes/primes.hpp"
#include "state/table.hpp"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <new>
#include <pthread.h>
#include <sched.h>
#include <thread>
#include <vector>

namespace {

// The fill's tuning, measured on the project's 2-core machine:
// - a growth of up to ICI ranks, the fill being idle, is made at once by the
//   main thread: the first 65,536 ranks take 0.06 to 0.2 ms, less than
//   starting the fillers and handing the growth over;
// - a filler publishes its ranks every TRONCON of them (0.2 ms of work), so
//   that a reader waiting for the first ranks of a long growth gets them at
//   once, for a lock taken a few thousand times a second;
// - a long growth is cut where the values are, each piece a third of the
//   values left and at least VALEURS_MIN of them, which the fillers take in
//   turn: the pieces shrink towards the end, so that both cores stay busy
//   to it (the full table: 14 pieces, the last ones of 2 ms, for 13 counts
//   of primes of 0.5 ms each; with 8 equal pieces one core idled for 10 to
//   30 ms at the end), and a growth over more than VALEURS_MIN values gets
//   both cores.
constexpr std::int64_t ICI = 1 << 16;
constexpr std::int64_t TRONCON = 1 << 16;
constexpr std::uint64_t VALEURS_MIN = std::uint64_t{1} << 24;
constexpr int REMPLISSEURS = 2;

// Ranks DE to A of a growth, whose primes are at most BORNE.
struct Morceau {
    std::int64_t de = 0;
    std::int64_t a = 0;
    std::uint64_t borne = 0;
    std::int64_t ecrit = 0;    // last rank written: de - 1 before any
    std::uint64_t dernier = 0; // the primes after it are the piece's rest
    bool pris = false;         // being written
};

class Remplissage {
  public:
    Remplissage() = default;
    Remplissage(const Remplissage&) = delete;
    Remplissage& operator=(const Remplissage&) = delete;

    ~Remplissage() {
        {
            Verrou l(m_);
            arret_ = true;
            abandon_ = true;
        }
        travail_.notify_all();
        for (std::thread& t : remplisseurs_) {
            t.join();
        }
        monFlux.arreter();
        if (verificateur_.joinable()) {
            verificateur_.join();
        }
    }

    void viser(std::int64_t cible, std::int64_t premier) {
        Verrou l(m_);
        reprendre(l);
        if (cible <= cible_) {
            return;
        }
        Nprem.reserver(static_cast<std::size_t>(cible) + 1);
        limite_fichier_ = rang_fichier;
        const std::int64_t de = cible_ + 1;
        cible_ = cible;
        premier_ = premier;
        if (morceaux_.empty() && coupe_de_ == de && cible - de < ICI) {
            remplir_ici(de, cible, static_cast<std::uint64_t>(premier));
            return;
        }
        demarrer();
        travail_.notify_all(); // the growth is theirs to cut
    }

    std::int64_t rang() {
        Verrou l(m_);
        reprendre(l);
        return cible_;
    }

    std::int64_t dernier_premier() {
        Verrou l(m_);
        reprendre(l);
        return premier_;
    }

    // Waits until rank JUSQU_A (at most the target) is published, Ctrl-C looked
    // at first (also when nothing is left to wait for: the table may have
    // filled while the key was pressed) and the progress line drawn every
    // 50 ms.
    void attendre(std::int64_t jusqu_a) {
        verifier_interruption();
        Verrou l(m_);
        reprendre(l);
        const std::int64_t but = std::min(cible_, jusqu_a);
        Tache tache("Nombres premiers charges/calcules", static_cast<double>(but - np));
        const std::int64_t depart = np;
        attendu_ = but;
        while (publie_.load(std::memory_order_acquire) < but && !echec_) {
            if (remplisseurs_.empty()) {
                travailler(l, true);
            } else {
                publication_.wait_for(l, std::chrono::milliseconds(50));
            }
            l.unlock();
            tache.point(static_cast<double>(publie_.load(std::memory_order_relaxed) - depart));
            l.lock();
        }
        attendu_ = INT64_MAX;
        if (echec_) {
            reprendre(l);
            if (jusqu_a != INT64_MAX && cible_ < jusqu_a) {
                synchroniser();
                throw std::bad_alloc();
            }
        }
        synchroniser();
    }

    void oublier() {
        {
            Verrou l(m_);
            abandon_ = true;
            travail_.wait(l, [this] { return actifs_ == 0; });
            morceaux_.clear();
            rien_a_couper();
            abandon_ = false;
            echec_ = false;
            oublie_ = true;
        }
        monFlux.suspendre();
    }

  private:
    using Verrou = std::unique_lock<std::mutex>;

    // Under m_, from a thread counted in actifs_: the next piece of the growth
    // cut where the values are (a count of primes, half a millisecond, made
    // without the lock), or nullptr when it holds no prime or was dropped.
    Morceau* couper(Verrou& l) {
        const std::int64_t de = coupe_de_;
        const std::uint64_t apres = coupe_apres_;
        const std::int64_t cible = cible_;
        const auto borne = static_cast<std::uint64_t>(premier_);
        const std::uint64_t largeur = std::max((borne - apres) / 3, VALEURS_MIN);
        std::uint64_t x = borne - apres <= largeur ? borne : apres + largeur;
        coupe_ = true;
        l.unlock();
        std::int64_t r = x == borne ? cible : pi(static_cast<std::int64_t>(x));
        l.lock();
        coupe_ = false;
        if (abandon_ || coupe_de_ != de) { // set back meanwhile
            return nullptr;
        }
        if (r < 0) { // no memory for the count: the rest in one piece
            x = borne;
            r = cible;
        }
        coupe_de_ = std::max(de, r + 1);
        coupe_apres_ = x;
        if (r < de) {
            return nullptr;
        }
        morceaux_.push_back({de, r, x, de - 1, apres, false});
        return &morceaux_.back();
    }

    // Back in step after the table was set back, or after a filler ran out of
    // memory: the pieces left are dropped and the target is what is published.
    void reprendre(Verrou& l) {
        if (oublie_) {
            oublie_ = false;
            cible_ = np;
            premier_ = Nprem[static_cast<std::size_t>(np)];
            publie_.store(np, std::memory_order_relaxed);
            rien_a_couper();
        }
        if (echec_) {
            abandon_ = true;
            travail_.wait(l, [this] { return actifs_ == 0; });
            morceaux_.clear();
            abandon_ = false;
            echec_ = false;
            cible_ = publie_.load(std::memory_order_relaxed);
            premier_ = Nprem[static_cast<std::size_t>(cible_)];
            rien_a_couper();
        }
    }

    // The growth left to cut starts after the target: there is none.
    void rien_a_couper() {
        coupe_de_ = cible_ + 1;
        coupe_apres_ = static_cast<std::uint64_t>(premier_);
    }

    void synchroniser() {
        np = std::max(np, publie_.load(std::memory_order_acquire));
        Nprem.fixer_taille(static_cast<std::size_t>(np) + 1);
    }

    // The fillers and the check start with the first long growth; until then
    // the main thread fills the short ones and checks liste.txt behind them
    // itself. Where a thread cannot start, its work is done without it: the
    // main thread fills while it waits, and whoever publishes checks.
    void demarrer() {
        if (demarre_) {
            return;
        }
        demarre_ = true;
        try {
            remplisseurs_.reserve(REMPLISSEURS);
            for (int k = 0; k < REMPLISSEURS; ++k) {
                remplisseurs_.push_back(nouveau_fil([this] {
                    Verrou l(m_);
                    while (!arret_) {
                        travailler(l, false);
                    }
                }));
            }
            verificateur_ = nouveau_fil([] {
                sched_param p{};
                ::pthread_setschedparam(::pthread_self(), SCHED_IDLE, &p); // only on idle cores
                monFlux.verifier(Nprem);
            });
        } catch (...) { // std::system_error, std::bad_alloc
        }
    }

    // Ranks DE to A (prime at most BORNE) by the main thread, the fillers
    // having nothing to do.
    void remplir_ici(std::int64_t de, std::int64_t a, std::uint64_t borne) {
        auto avant = static_cast<std::uint64_t>(Nprem[static_cast<std::size_t>(de - 1)]);
        if (crible_ici_.dernier() != avant) {
            crible_ici_.partir_de(avant, borne);
        }
        crible_ici_.placer(de, a);
        rien_a_couper();
        morceaux_.push_back({de, a, borne, a, crible_ici_.dernier(), false});
        publier();
        synchroniser();
    }

    // Takes the next piece and writes it, or waits for one (a filler). ICI, on
    // the main thread: returns after the piece, or throws Interruption on Ctrl-C,
    // the piece being taken up again later from where it stopped.
    void travailler(Verrou& l, bool ici) {
        if (!ici) {
            travail_.wait(l, [this] { return arret_ || (!abandon_ && a_faire()); });
        }
        if (arret_ || !a_faire()) {
            return;
        }
        ++actifs_;
        Morceau* m = prochain();
        if (m == nullptr) {
            try {
                m = couper(l);
            } catch (const std::bad_alloc&) { // no room for the piece's place in the list
                echec_ = true;
                abandon_ = true;
                publication_.notify_all();
            }
            travail_.notify_all(); // the next cut is free
        }
        if (m == nullptr) {
            --actifs_;
            travail_.notify_all();
            return;
        }
        m->pris = true;
        l.unlock();
        bool fini = false;
        bool manque = false;
        try {
            fini = remplir(*m, ici);
        } catch (...) { // std::bad_alloc from the sieve
            manque = true;
        }
        l.lock();
        --actifs_;
        if (!fini) {
            m->pris = false;
        }
        if (manque) {
            echec_ = true;
            abandon_ = true; // what comes after the gap is lost anyway
            publication_.notify_all();
        }
        travail_.notify_all();
        if (ici && !echec_) {
            verifier_interruption();
        }
    }

    // Writes the piece a stretch at a time from where it stands, publishing
    // each; false when dropped before its end (or ICI on Ctrl-C). The piece may
    // be gone once its last stretch is published.
    bool remplir(Morceau& m, bool ici) {
        const std::int64_t fin = m.a;
        std::int64_t r = m.ecrit + 1;
        Crible crible;
        crible.partir_de(m.dernier, m.borne);
        while (r <= fin) {
            if (abandon_.load(std::memory_order_relaxed) || (ici && interruption_demandee != 0)) {
                return false;
            }
            const std::int64_t bout = std::min(fin, r + TRONCON - 1);
            crible.placer(r, bout);
            Verrou l(m_);
            m.ecrit = bout;
            m.dernier = crible.dernier();
            publier();
            r = bout + 1;
        }
        return true;
    }

    // Under m_: the count of ranks filled without a gap moves past the pieces
    // written, into the first one still being written.
    void publier() {
        std::int64_t p = publie_.load(std::memory_order_relaxed);
        while (!morceaux_.empty()) {
            p = std::max(p, morceaux_.front().ecrit);
            if (morceaux_.front().ecrit < morceaux_.front().a) {
                break;
            }
            morceaux_.pop_front();
        }
        publie_.store(p, std::memory_order_release);
        if (p >= attendu_) {
            publication_.notify_all();
        }
        if (verificateur_.joinable()) {
            monFlux.demander(std::min(p, limite_fichier_));
        } else {
            monFlux.verifier_ici(Nprem, std::min(p, limite_fichier_));
        }
    }

    // A piece to write, or a growth to cut that nobody cuts.
    bool a_faire() { return prochain() != nullptr || (!coupe_ && coupe_de_ <= cible_); }

    // The first piece nobody writes that is not written yet.
    Morceau* prochain() {
        for (Morceau& m : morceaux_) {
            if (!m.pris && m.ecrit < m.a) {
                return &m;
            }
        }
        return nullptr;
    }

    // The main thread's alone.
    bool oublie_ = true; // the table was set back: all is np again
    Crible crible_ici_;  // for short growths

    // Shared, under m_; publie_ is read without it too, and cible_ and
    // premier_ by the main thread, their one writer.
    std::mutex m_;
    std::int64_t cible_ = 0;
    std::int64_t premier_ = 0;            // the prime of rank cible_
    std::int64_t coupe_de_ = 1;           // the growth is cut into pieces up to this rank
    std::uint64_t coupe_apres_ = 0;       // the growth's values left to cut are above it
    bool coupe_ = false;                  // a thread cuts the next piece
    std::condition_variable travail_;     // the fillers wait for pieces
    std::condition_variable publication_; // the readers wait for ranks
    std::deque<Morceau> morceaux_;        // in order of rank, the first being published
    std::atomic<std::int64_t> publie_{0}; // ranks filled without a gap
    std::int64_t attendu_ = INT64_MAX;    // the rank a reader waits for
    std::int64_t limite_fichier_ = 0;     // liste.txt is checked up to this rank
    int actifs_ = 0;                      // threads writing a piece
    bool echec_ = false;                  // a filler ran out of memory
    bool arret_ = false;
    std::atomic<bool> abandon_{false}; // the pieces under way are dropped
    bool demarre_ = false;
    std::vector<std::thread> remplisseurs_;
    std::thread verificateur_;
};

Remplissage& remplissage() {
    static Remplissage r; // built after the table, so stopped before it is destroyed
    return r;
}

// The smallest prime above V.
std::int64_t premier_apres(std::int64_t v) {
    auto c = static_cast<std::uint64_t>(v) + 1;
    while (!premier64(c)) {
        ++c;
    }
    return static_cast<std::int64_t>(c);
}

} // namespace

void viser_rang(std::int64_t cible, std::int64_t premier) {
    remplissage().viser(cible, premier);
}

std::int64_t rang_vise() {
    return remplissage().rang();
}

std::int64_t premier_vise() {
    return remplissage().dernier_premier();
}

void attendre_table() {
    remplissage().attendre(INT64_MAX);
}

void attendre_rang(std::int64_t r) {
    remplissage().attendre(r);
}

void oublier_remplissage() {
    remplissage().oublier();
}

int Suiv() {
    attendre_table();
    viser_rang(np + 1, premier_apres(Nprem[static_cast<std::size_t>(np)]));
    attendre_table();
    i = 1;
    return 1;
}
