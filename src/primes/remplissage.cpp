#include "primes/remplissage.hpp"

#include "base/progression.hpp"
#include "primes/compte.hpp"
#include "primes/primes.hpp"
#include "state/table.hpp"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <new>
#include <primesieve.hpp>
#include <pthread.h>
#include <sched.h>
#include <thread>
#include <vector>

namespace {

// The fill's tuning, measured on the project's 2-core machine with
// bench/chargement.cpp:
// - a growth of up to ICI ranks, the fill being idle, is made at once by the
//   main thread: 65,536 ranks take about 0.3 ms, what waking a filler costs;
// - a filler publishes its ranks every TRONCON of them (0.3 ms of work), so
//   that a reader waiting for the first ranks of a long growth gets them at
//   once, for a lock taken a few thousand times a second;
// - a long growth is cut into pieces of VALEURS_PAR_MORCEAU values or more,
//   at most MORCEAUX_MAX of them, which the fillers take in turn: 8 pieces
//   for the full table keep both cores busy to the end (the two halves of
//   the same values differ by 25% in time), for 7 counts of primes (0.5 ms
//   each);
// - the check of liste.txt reports every VERIFIES values.
constexpr std::int64_t ICI = 1 << 16;
constexpr std::int64_t TRONCON = 1 << 16;
constexpr std::uint64_t VALEURS_PAR_MORCEAU = std::uint64_t{1} << 28;
constexpr std::uint64_t MORCEAUX_MAX = 8;
constexpr std::int64_t VERIFIES = 1 << 16;
constexpr int REMPLISSEURS = 2;

// The primes in order from a starting value, handed out by the sieve's
// buffer rather than one call at a time.
class Crible {
  public:
    // The primes after APRES; BORNE: at or above the last one wanted.
    void partir_de(std::uint64_t apres, std::uint64_t borne) {
        it_.jump_to(apres + 1, borne);
        k_ = 0;
        dernier_ = apres;
    }
    // Entries of ranks DE to A: the next primes.
    void placer(std::int64_t de, std::int64_t a) {
        auto r = static_cast<std::size_t>(de);
        const auto fin = static_cast<std::size_t>(a);
        while (r <= fin) {
            if (k_ >= it_.size_) {
                it_.generate_next_primes();
                k_ = 0;
            }
            std::size_t n = std::min(it_.size_ - k_, fin - r + 1);
            const std::uint64_t* p = it_.primes_ + k_;
            for (std::size_t j = 0; j < n; ++j) {
                Nprem.placer(r + j, static_cast<std::int64_t>(p[j]));
            }
            r += n;
            k_ += n;
        }
        dernier_ = it_.primes_[k_ - 1];
    }
    std::uint64_t dernier() const { return dernier_; }

  private:
    primesieve::iterator it_;
    std::size_t k_ = 0;
    std::uint64_t dernier_ = 0;
};

// Ranks DE to A of a growth: the primes after APRES, up to BORNE.
struct Morceau {
    std::int64_t de = 0;
    std::int64_t a = 0;
    std::uint64_t apres = 0;
    std::uint64_t borne = 0;
    std::int64_t ecrit = 0; // last rank written: de - 1 before any
    bool pris = false;      // a filler has it
};

// The pieces of the growth from rank DE (primes after APRES) to rank A
// (prime BORNE), cut where the values are: the rank at each cut is a count
// of primes.
std::vector<Morceau> decouper(std::int64_t de, std::int64_t a, std::uint64_t apres,
                              std::uint64_t borne) {
    std::uint64_t largeur = borne - apres;
    std::uint64_t n = std::clamp<std::uint64_t>(largeur / VALEURS_PAR_MORCEAU, 1, MORCEAUX_MAX);
    if (a - de < 2 * ICI) {
        n = 1;
    }
    std::vector<Morceau> morceaux;
    std::int64_t rang = de - 1;
    std::uint64_t valeur = apres;
    for (std::uint64_t j = 1; j <= n; ++j) {
        std::uint64_t x = j == n ? borne : apres + largeur / n * j;
        std::int64_t r = j == n ? a : pi(static_cast<std::int64_t>(x));
        if (r < 0) { // no memory for the count: the rest in one piece
            continue;
        }
        if (r > rang) {
            morceaux.push_back({rang + 1, r, valeur, x, rang, false});
            rang = r;
            valeur = x;
        }
    }
    return morceaux;
}

void priorite_basse() {
    sched_param p{};
    p.sched_priority = 0;
    ::pthread_setschedparam(::pthread_self(), SCHED_IDLE, &p);
}

class Remplissage {
  public:
    Remplissage() = default;
    Remplissage(const Remplissage&) = delete;
    Remplissage& operator=(const Remplissage&) = delete;
    ~Remplissage() { arreter(); }

    void viser(std::int64_t cible, std::int64_t premier);
    std::int64_t rang();
    std::int64_t dernier_premier();
    void attendre(std::int64_t jusqu_a);
    void suivant();
    void oublier();

  private:
    using Verrou = std::unique_lock<std::mutex>;

    // The main thread's side.
    void reprendre(Verrou& l);
    void remplir_ici(std::int64_t de, std::int64_t a, std::uint64_t borne, Verrou& l);
    void synchroniser();
    void demarrer();
    void remplir_en_attendant(Verrou& l);
    void arreter();

    // The fillers' side.
    void boucle_remplisseur();
    Morceau* prochain();
    bool remplir(Morceau& m, bool ici);
    void publier(Verrou& l);
    void boucle_verificateur();
    static void verifier(std::int64_t de, std::int64_t a);

    // Seen by the main thread only.
    std::int64_t cible_ = 0;
    std::int64_t premier_ = 0; // the prime of rank cible_
    bool oublie_ = true;       // the table was set back: all is np again
    Crible crible_ici_;        // the main thread's sieve for short growths

    // Shared, under m_ (publie_ is also read without it).
    std::mutex m_;
    std::condition_variable travail_;     // the fillers wait for pieces
    std::condition_variable publication_; // readers wait for ranks
    std::deque<Morceau> morceaux_;        // in order of rank; the first is being published
    std::atomic<std::int64_t> publie_{0}; // ranks filled without a gap
    std::int64_t limite_fichier_ = 0;     // the last rank liste.txt is checked to
    int actifs_ = 0;                      // fillers inside a piece
    bool echec_ = false;                  // a filler ran out of memory
    bool arret_ = false;
    std::atomic<bool> abandon_{false}; // the pieces under way are dropped
    std::vector<std::thread> remplisseurs_;
    std::thread verificateur_;
    bool demarre_ = false;
};

// Back in step after the table was set back, or after a filler ran out of
// memory: the pieces left are dropped, and the target is what is published.
void Remplissage::reprendre(Verrou& l) {
    if (oublie_) {
        oublie_ = false;
        cible_ = np;
        premier_ = Nprem[static_cast<std::size_t>(np)];
        publie_.store(np, std::memory_order_relaxed);
    }
    if (echec_) {
        travail_.wait(l, [this] { return actifs_ == 0; });
        morceaux_.clear();
        abandon_ = false;
        echec_ = false;
        cible_ = publie_.load(std::memory_order_relaxed);
        premier_ = Nprem[static_cast<std::size_t>(cible_)];
    }
}

void Remplissage::synchroniser() {
    np = std::max(np, publie_.load(std::memory_order_acquire));
    Nprem.fixer_taille(static_cast<std::size_t>(np) + 1);
}

std::int64_t Remplissage::rang() {
    Verrou l(m_);
    reprendre(l);
    return cible_;
}

std::int64_t Remplissage::dernier_premier() {
    Verrou l(m_);
    reprendre(l);
    return premier_;
}

// Ranks DE to A (whose prime is at most BORNE) by the main thread, the
// fillers having nothing to do.
void Remplissage::remplir_ici(std::int64_t de, std::int64_t a, std::uint64_t borne, Verrou& l) {
    auto avant = static_cast<std::uint64_t>(Nprem[static_cast<std::size_t>(de - 1)]);
    if (crible_ici_.dernier() != avant) {
        crible_ici_.partir_de(avant, borne);
    }
    crible_ici_.placer(de, a);
    morceaux_.push_back({de, a, avant, 0, a, false});
    publier(l);
}

void Remplissage::viser(std::int64_t cible, std::int64_t premier) {
    Verrou l(m_);
    reprendre(l);
    demarrer();
    if (cible <= cible_) {
        return;
    }
    Nprem.reserver(static_cast<std::size_t>(cible) + 1);
    limite_fichier_ = rang_fichier;
    const std::int64_t de = cible_ + 1;
    const auto apres = static_cast<std::uint64_t>(premier_);
    cible_ = cible;
    premier_ = premier;
    if (morceaux_.empty() && cible - de < ICI) {
        remplir_ici(de, cible, static_cast<std::uint64_t>(premier), l);
        synchroniser();
        return;
    }
    l.unlock(); // the counts that cut a long growth take a few milliseconds
    std::vector<Morceau> morceaux = decouper(de, cible, apres, static_cast<std::uint64_t>(premier));
    l.lock();
    morceaux_.insert(morceaux_.end(), morceaux.begin(), morceaux.end());
    travail_.notify_all();
}

// The fillers and the check start with the first growth. Where a thread
// cannot start, its work is done without it: the main thread fills while it
// waits, and liste.txt is left unchecked.
void Remplissage::demarrer() {
    if (demarre_) {
        return;
    }
    demarre_ = true;
    try {
        remplisseurs_.reserve(REMPLISSEURS);
        for (int k = 0; k < REMPLISSEURS; ++k) {
            remplisseurs_.emplace_back([this] { boucle_remplisseur(); });
        }
        verificateur_ = std::thread([this] { boucle_verificateur(); });
    } catch (...) { // std::system_error, std::bad_alloc
    }
}

// Waits, Ctrl-C looked at and the progress line drawn every 50 ms, until
// rank JUSQU_A (at most the target) is published.
void Remplissage::attendre(std::int64_t jusqu_a) {
    Verrou l(m_);
    reprendre(l);
    const std::int64_t but = std::min(cible_, jusqu_a);
    if (publie_.load(std::memory_order_acquire) < but) {
        Tache tache("Nombres premiers charges/calcules", static_cast<double>(but - np));
        const std::int64_t depart = np;
        while (publie_.load(std::memory_order_acquire) < but && !echec_) {
            if (remplisseurs_.empty()) {
                remplir_en_attendant(l);
            } else {
                publication_.wait_for(l, std::chrono::milliseconds(50));
            }
            l.unlock();
            tache.point(static_cast<double>(publie_.load(std::memory_order_relaxed) - depart));
            l.lock();
        }
        if (echec_) {
            reprendre(l);
            if (jusqu_a != INT64_MAX && publie_.load(std::memory_order_relaxed) < jusqu_a) {
                synchroniser();
                throw std::bad_alloc();
            }
        }
    }
    synchroniser();
}

// Without fillers: the next piece, a stretch at a time, Ctrl-C looked at
// between two.
void Remplissage::remplir_en_attendant(Verrou& l) {
    Morceau* m = prochain();
    if (m == nullptr) {
        return;
    }
    m->pris = true;
    ++actifs_;
    l.unlock();
    bool rempli = false;
    bool manque = false;
    try {
        rempli = remplir(*m, true);
    } catch (const std::bad_alloc&) {
        manque = true;
    }
    l.lock();
    --actifs_;
    if (!rempli) {
        m->pris = false; // taken up again from where it stopped
        echec_ = manque;
    }
    if (!manque) {
        verifier_interruption();
    }
}

// One more prime, after all the others.
void Remplissage::suivant() {
    attendre(INT64_MAX);
    Verrou l(m_);
    Nprem.reserver(static_cast<std::size_t>(cible_) + 2);
    limite_fichier_ = rang_fichier;
    ++cible_;
    remplir_ici(cible_, cible_, UINT64_MAX, l);
    premier_ = static_cast<std::int64_t>(crible_ici_.dernier());
    synchroniser();
}

void Remplissage::oublier() {
    {
        Verrou l(m_);
        abandon_ = true;
        travail_.wait(l, [this] { return actifs_ == 0; });
        morceaux_.clear();
        abandon_ = false;
        echec_ = false;
        oublie_ = true;
    }
    monFlux.suspendre();
}

void Remplissage::arreter() {
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

// The first piece no filler has taken and that is not written yet.
Morceau* Remplissage::prochain() {
    for (Morceau& m : morceaux_) {
        if (!m.pris && m.ecrit < m.a) {
            return &m;
        }
    }
    return nullptr;
}

void Remplissage::boucle_remplisseur() {
    Verrou l(m_);
    for (;;) {
        travail_.wait(l, [this] { return arret_ || (!abandon_ && prochain() != nullptr); });
        if (arret_) {
            return;
        }
        Morceau& m = *prochain();
        m.pris = true;
        ++actifs_;
        l.unlock();
        bool manque = false;
        try {
            remplir(m, false);
        } catch (...) { // std::bad_alloc from the sieve
            manque = true;
        }
        l.lock();
        --actifs_;
        if (manque) {
            echec_ = true;
            abandon_ = true;
            publication_.notify_all();
        }
        travail_.notify_all();
    }
}

// Writes the piece a stretch at a time, publishing each, from where it
// stands; false when dropped before its end, or on Ctrl-C when filled ICI,
// on the main thread. The piece may be gone once its last stretch is
// published.
bool Remplissage::remplir(Morceau& m, bool ici) {
    const std::int64_t fin = m.a;
    std::int64_t r = m.ecrit + 1;
    Crible crible;
    crible.partir_de(r > m.de ? static_cast<std::uint64_t>(Nprem[static_cast<std::size_t>(r - 1)])
                              : m.apres,
                     m.borne);
    while (r <= fin) {
        if (abandon_.load(std::memory_order_relaxed) || (ici && interruption_demandee != 0)) {
            return false;
        }
        const std::int64_t bout = std::min(fin, r + TRONCON - 1);
        crible.placer(r, bout);
        Verrou l(m_);
        m.ecrit = bout;
        publier(l);
        r = bout + 1;
    }
    return true;
}

// The count of ranks filled without a gap moves on to the end of the first
// pieces written, and into the first one still being written.
void Remplissage::publier(Verrou&) {
    std::int64_t p = publie_.load(std::memory_order_relaxed);
    while (!morceaux_.empty()) {
        const Morceau& premier = morceaux_.front();
        p = std::max(p, premier.ecrit);
        if (premier.ecrit < premier.a) {
            break;
        }
        morceaux_.pop_front();
    }
    publie_.store(p, std::memory_order_release);
    publication_.notify_all();
    if (verificateur_.joinable()) {
        monFlux.demander(std::min(p, limite_fichier_));
    }
}

void Remplissage::boucle_verificateur() {
    priorite_basse();
    for (;;) {
        std::int64_t de = 0;
        std::int64_t a = 0;
        monFlux.attendre_demande(de, a);
        if (de > a) {
            return;
        }
        try {
            verifier(de, a);
        } catch (...) { // std::bad_alloc for the reader's buffer: read no further
            monFlux.lecteur().fermer();
            monFlux.fait(de - 1);
        }
    }
}

// The values of liste.txt for ranks DE to A against the table, a stretch at
// a time: at the first value that is not the prime of its rank (or no value
// at all), the file is read no further. Lines of the usual form are checked
// without being read.
void Remplissage::verifier(std::int64_t de, std::int64_t a) {
    FluxListe& f = monFlux.lecteur();
    std::int64_t r = de;
    while (r <= a && !f.epuise()) {
        const std::int64_t bout = std::min(a, r + VERIFIES - 1);
        while (r <= bout) {
            r += static_cast<std::int64_t>(f.passer_lignes(Nprem, static_cast<std::size_t>(r),
                                                           static_cast<std::size_t>(bout - r + 1)));
            std::int64_t v = 0;
            if (r <= bout && (!f.lire(v) || v != Nprem[static_cast<std::size_t>(r++)])) {
                f.fermer();
                break;
            }
        }
        a = monFlux.fait(r - 1);
    }
    if (f.epuise()) {
        monFlux.fait(r - 1);
    }
}

Remplissage& remplissage() {
    static Remplissage r; // built after the table, so stopped before it is destroyed
    return r;
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
    remplissage().suivant();
    i = 1;
    return 1;
}
