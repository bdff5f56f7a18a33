#include "primes/remplissage.hpp"

#include "base/progression.hpp"
#include "primes/primes.hpp"
#include "state/table.hpp"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <primesieve.hpp>
#include <thread>
#include <vector>

namespace {

constexpr std::int64_t RANG_32 = 203'280'221; // the primes below 2^32
constexpr std::int64_t BLOC = 1 << 18;        // ranks the worker fills between two looks
constexpr std::int64_t ICI = 1 << 16;         // a growth this short is made at once, here
constexpr std::int64_t TRONCON = 1 << 12;     // ranks the sieve hands on to the check at a time
constexpr std::int64_t PART_TOUT = 1024;      // the unit of the shares of a block's values

// Entries of ranks DE to FIN: the next primes of CRIBLE.
void cribler(primesieve::iterator& crible, std::int64_t de, std::int64_t fin) {
    for (std::int64_t r = de; r <= fin; ++r) {
        Nprem.placer(static_cast<std::size_t>(r), static_cast<std::int64_t>(crible.next_prime()));
    }
}

// A second thread that sieves the ranks of a long block into the table while
// the thread that fills the block checks liste.txt behind it, then checks
// the block's last values itself. The ranks up
// to fait_ are written (its store releases them); between lancer and the
// return of attendre the sieve alone touches the iterator it was given and
// the entries not yet handed on. Started on first use, stopped with its
// owner.
class Cribleur {
  public:
    Cribleur() = default;
    Cribleur(const Cribleur&) = delete;
    Cribleur& operator=(const Cribleur&) = delete;
    ~Cribleur() {
        {
            std::lock_guard l(m_);
            arret_ = true;
        }
        cv_.notify_all();
        if (fil_.joinable()) {
            fil_.join();
        }
    }

    // Starts writing the primes of ranks DE to FIN, the next ones of CRIBLE;
    // ENSUITE is run on the same thread once they are all written.
    void lancer(primesieve::iterator& crible, std::int64_t de, std::int64_t fin,
                std::function<void()> ensuite) {
        fait_.store(de - 1, std::memory_order_relaxed);
        {
            std::lock_guard l(m_);
            crible_ = &crible;
            de_ = de;
            fin_ = fin;
            ensuite_ = std::move(ensuite);
            demande_ = true;
        }
        cv_.notify_all();
        if (!fil_.joinable()) {
            fil_ = std::thread([this] { boucle(); });
        }
    }
    // Waits until the ranks up to R are written.
    void attendre_rang(std::int64_t r) {
        for (std::int64_t f = fait_.load(std::memory_order_acquire); f < r;
             f = fait_.load(std::memory_order_acquire)) {
            fait_.wait(f, std::memory_order_acquire);
        }
    }
    // Waits for the end of the block.
    void attendre() {
        std::unique_lock l(m_);
        cv_.wait(l, [this] { return !demande_; });
    }

  private:
    void boucle() {
        std::unique_lock l(m_);
        for (;;) {
            cv_.wait(l, [this] { return arret_ || demande_; });
            if (arret_) {
                return;
            }
            l.unlock();
            cribler_le_bloc();
            ensuite_();
            l.lock();
            demande_ = false;
            cv_.notify_all();
        }
    }
    void cribler_le_bloc() {
        for (std::int64_t r = de_; r <= fin_;) {
            const std::int64_t bout = std::min(fin_, r + TRONCON - 1);
            cribler(*crible_, r, bout);
            r = bout + 1;
            fait_.store(bout, std::memory_order_release);
            fait_.notify_all();
        }
    }

    std::mutex m_;
    std::condition_variable cv_;
    std::thread fil_;
    bool arret_ = false;
    bool demande_ = false;
    primesieve::iterator* crible_ = nullptr;
    std::int64_t de_ = 0;
    std::int64_t fin_ = 0;
    std::function<void()> ensuite_;
    std::atomic<std::int64_t> fait_{0};
};

// The worker and what it shares with the main thread, all under m_.
class Remplisseur {
  public:
    Remplisseur() = default;
    Remplisseur(const Remplisseur&) = delete;
    Remplisseur& operator=(const Remplisseur&) = delete;
    ~Remplisseur() { arreter(); }

    void viser(std::int64_t cible, std::int64_t premier);
    // The main thread alone writes cible_, premier_ and oublie_: it reads
    // them without the lock.
    std::int64_t rang() const { return oublie_ ? np : std::max(np, cible_); }
    std::int64_t premier() const {
        return oublie_ || cible_ <= np ? Nprem[static_cast<std::size_t>(np)] : premier_;
    }
    void attendre(std::int64_t jusqu_a);
    void suivant();
    void oublier();

  private:
    using Verrou = std::unique_lock<std::mutex>;

    // The lock, the worker being between two blocks and kept there while it
    // is held: the main thread may then move the storage or read the file.
    class Pause {
      public:
        explicit Pause(Remplisseur& r) : r_(r), l_(r.m_) {
            r_.pause_ = true;
            r_.cv_.wait(l_, [this] { return !r_.occupe_; });
        }
        Pause(const Pause&) = delete;
        Pause& operator=(const Pause&) = delete;
        ~Pause() {
            r_.pause_ = false;
            r_.cv_.notify_all();
        }
        Verrou& verrou() { return l_; }

      private:
        Remplisseur& r_;
        Verrou l_;
    };

    void reprendre_si_oublie();
    void remplir(std::int64_t de, std::int64_t fin);
    void remplir_a_deux(std::int64_t de, std::int64_t fin, std::int64_t a);
    static std::uint64_t octets_du_texte(std::int64_t de, std::int64_t fin);
    using Horloge = std::chrono::steady_clock;
    void equilibrer(Horloge::duration d_ici, Horloge::duration d_crible);
    void verifier_fichier(std::int64_t de, std::int64_t a, bool en_cours);
    void synchroniser() {
        np = rempli_;
        Nprem.fixer_taille(static_cast<std::size_t>(np) + 1);
    }
    void boucle();
    void arreter();

    std::mutex m_;
    std::condition_variable cv_;
    std::thread fil_;
    bool arret_ = false;
    bool occupe_ = false;     // the worker fills a block, without the lock
    bool pause_ = false;      // the main thread holds the worker between two blocks
    bool oublie_ = true;      // the table was set back: rempli_ and cible_ are np again
    std::int64_t rempli_ = 0; // ranks whose entries are written (np <= rempli_ <= cible_)
    std::int64_t cible_ = 0;
    std::int64_t premier_ = 0;      // the prime of rank cible_
    std::int64_t rang_fichier_ = 0; // rang_fichier when the target was set
    primesieve::iterator crible_;   // the primes in order from the last one written
    std::uint64_t dernier_crible_ = 0;
    FluxListe suite_;                       // liste.txt further on, for a block's last values
    std::int64_t part_ = PART_TOUT * 3 / 4; // of a long block's values, checked by this thread
    Cribleur cribleur_;
};

void Remplisseur::reprendre_si_oublie() {
    if (oublie_) {
        oublie_ = false;
        rempli_ = cible_ = np;
        premier_ = Nprem[static_cast<std::size_t>(np)];
        dernier_crible_ = 0;
    }
}

// Entries of ranks DE to FIN: the true primes of those ranks, what liste.txt
// holds when it is sound and what trial division computes beyond it. The
// room is made. By the worker without the lock (occupe_ set), or by the
// main thread with the worker held.
void Remplisseur::remplir(std::int64_t de, std::int64_t fin) {
    const std::int64_t a = std::min(fin, rang_fichier_);
    auto dernier = static_cast<std::uint64_t>(Nprem[static_cast<std::size_t>(de - 1)]);
    if (dernier_crible_ != dernier) {
        crible_.jump_to(dernier + 1);
    }
    if (fin - de >= ICI && !monFlux.epuise()) {
        remplir_a_deux(de, fin, a);
    } else {
        cribler(crible_, de, fin);
        verifier_fichier(de, a, false);
    }
    dernier_crible_ = static_cast<std::uint64_t>(Nprem[static_cast<std::size_t>(fin)]);
}

// A long block on two cores. The sieve writes the block on the second
// thread, and this one checks the values of the first ranks, up to MI,
// behind it. The sieve thread then checks the values from MI to A where a
// sound file holds them: just after the text of the primes before MI, one
// per line. Once this thread has stopped exactly there, the reader moves on
// to where the other stopped; in any other case (a line of another form, a
// value off) the values from MI on are read here one after another, as if
// the block had not been split. MI moves from block to block so that both
// threads end together.
void Remplisseur::remplir_a_deux(std::int64_t de, std::int64_t fin, std::int64_t a) {
    const std::int64_t mi = a - de >= ICI ? de + (a - de + 1) * part_ / PART_TOUT : a + 1;
    const std::uint64_t depart = monFlux.position();
    std::uint64_t milieu = 0;
    bool suite_juste = false;
    Horloge::time_point fin_suite;
    if (mi <= a) {
        suite_.suivre(monFlux, depart);
    }
    const auto t0 = Horloge::now();
    cribleur_.lancer(crible_, de, fin, [&, this] {
        if (mi <= a) {
            milieu = depart + octets_du_texte(de, mi);
            suite_.sauter_a(milieu);
            auto n = static_cast<std::size_t>(a - mi + 1);
            suite_juste = suite_.passer_lignes(Nprem, static_cast<std::size_t>(mi), n) == n;
        }
        fin_suite = Horloge::now();
    });
    verifier_fichier(de, mi - 1, true);
    const auto fin_debut = Horloge::now();
    cribleur_.attendre();
    if (mi <= a && !monFlux.epuise()) {
        if (monFlux.position() == milieu && suite_juste) {
            monFlux.sauter_a(suite_.position());
        } else {
            verifier_fichier(mi, a, false);
        }
        equilibrer(fin_debut - t0, fin_suite - t0);
    }
    suite_.fermer();
}

// Bytes of the primes of ranks DE to FIN - 1 written one per line: a digit
// and a newline each, and one digit more for each power of ten they reach.
std::uint64_t Remplisseur::octets_du_texte(std::int64_t de, std::int64_t fin) {
    auto octets = static_cast<std::uint64_t>(fin - de) * 2;
    std::int64_t bas = de;
    std::int64_t puissance = 1;
    for (int chiffres = 1; chiffres < 19; ++chiffres) {
        puissance *= 10;
        // The first rank from BAS whose prime reaches PUISSANCE.
        std::int64_t haut = fin;
        while (bas < haut) {
            std::int64_t m = bas + (haut - bas) / 2;
            if (Nprem[static_cast<std::size_t>(m)] < puissance) {
                bas = m + 1;
            } else {
                haut = m;
            }
        }
        if (bas == fin) {
            break;
        }
        octets += static_cast<std::uint64_t>(fin - bas);
    }
    return octets;
}

// The share of the next block's values checked here grows when this thread
// ended first (after D_ICI, against D_CRIBLE for the other).
void Remplisseur::equilibrer(Horloge::duration d_ici, Horloge::duration d_crible) {
    const double ici = std::chrono::duration<double>(d_ici).count();
    const double crible = std::chrono::duration<double>(d_crible).count();
    if (ici + crible > 0) {
        part_ += static_cast<std::int64_t>(PART_TOUT / 4 * (crible - ici) / (crible + ici));
        part_ = std::clamp<std::int64_t>(part_, PART_TOUT / 4, PART_TOUT - 1);
    }
}

// The values of liste.txt for ranks DE to A against the primes of those
// ranks: at the first value that is not the prime of its rank (or no value
// at all), the file is read no further, and the ranks after it are
// computed. Lines of the usual form are checked without being read; with
// EN_COURS the sieve is still writing the entries, and each stretch is
// checked once written.
void Remplisseur::verifier_fichier(std::int64_t de, std::int64_t a, bool en_cours) {
    for (std::int64_t r = de; r <= a && !monFlux.epuise();) {
        const std::int64_t bout = std::min(a, r + TRONCON - 1);
        if (en_cours) {
            cribleur_.attendre_rang(bout);
        }
        while (r <= bout) {
            r += static_cast<std::int64_t>(monFlux.passer_lignes(
                Nprem, static_cast<std::size_t>(r), static_cast<std::size_t>(bout - r + 1)));
            std::int64_t v = 0;
            if (r <= bout && (!monFlux.lire(v) || v != Nprem[static_cast<std::size_t>(r++)])) {
                monFlux.fermer();
                return;
            }
        }
    }
}

void Remplisseur::boucle() {
    Verrou l(m_);
    for (;;) {
        cv_.wait(l, [this] { return arret_ || (!pause_ && rempli_ < std::min(cible_, RANG_32)); });
        if (arret_) {
            return;
        }
        std::int64_t de = rempli_ + 1;
        std::int64_t fin = std::min({cible_, RANG_32, rempli_ + BLOC});
        occupe_ = true;
        l.unlock();
        remplir(de, fin);
        l.lock();
        occupe_ = false;
        rempli_ = fin;
        cv_.notify_all();
    }
}

void Remplisseur::arreter() {
    {
        std::lock_guard l(m_);
        arret_ = true;
    }
    cv_.notify_all();
    if (fil_.joinable()) {
        fil_.join();
    }
}

void Remplisseur::viser(std::int64_t cible, std::int64_t premier) {
    Pause pause(*this);
    reprendre_si_oublie();
    if (cible <= cible_) {
        return;
    }
    Nprem.reserver(static_cast<std::size_t>(std::min(cible, RANG_32)) + 1);
    bool libre = rempli_ == cible_;
    cible_ = cible;
    premier_ = premier;
    rang_fichier_ = rang_fichier;
    if (libre && cible - rempli_ <= ICI && cible <= RANG_32) {
        remplir(rempli_ + 1, cible);
        rempli_ = cible;
        synchroniser();
        return;
    }
    if (!fil_.joinable()) {
        fil_ = std::thread([this] { boucle(); });
    }
}

// Past the primes below 2^32 the main thread fills the table itself, a block
// at a time, Ctrl-C looked at between two blocks.
void Remplisseur::attendre(std::int64_t jusqu_a) {
    Verrou l(m_);
    reprendre_si_oublie();
    const std::int64_t but = std::min(cible_, jusqu_a);
    if (rempli_ >= but) {
        synchroniser();
        return;
    }
    Tache tache("Nombres premiers charges/calcules", static_cast<double>(but - rempli_));
    const std::int64_t depart = rempli_;
    while (rempli_ < std::min(but, RANG_32)) {
        cv_.wait_for(l, std::chrono::milliseconds(50));
        synchroniser();
        l.unlock();
        tache.point(static_cast<double>(np - depart));
        l.lock();
    }
    l.unlock();
    while (np < but) {
        {
            Pause pause(*this);
            std::int64_t fin = std::min(but, rempli_ + BLOC);
            Nprem.couper_a(static_cast<std::size_t>(RANG_32) + 1);
            Nprem.reserver(static_cast<std::size_t>(fin) + 1);
            remplir(rempli_ + 1, fin);
            rempli_ = fin;
            synchroniser();
        }
        tache.point(static_cast<double>(np - depart));
    }
    l.lock();
    synchroniser();
}

void Remplisseur::suivant() {
    attendre(INT64_MAX);
    Pause pause(*this);
    if (rempli_ >= RANG_32) {
        Nprem.couper_a(static_cast<std::size_t>(RANG_32) + 1);
    }
    Nprem.reserver(static_cast<std::size_t>(rempli_) + 2);
    rang_fichier_ = rang_fichier;
    remplir(rempli_ + 1, rempli_ + 1);
    cible_ = ++rempli_;
    premier_ = Nprem[static_cast<std::size_t>(rempli_)];
    synchroniser();
}

// The filling under way is abandoned after its block.
void Remplisseur::oublier() {
    Pause pause(*this);
    cible_ = rempli_;
    oublie_ = true;
}

Remplisseur& remplisseur() {
    static Remplisseur r; // built after the table, so stopped before it is destroyed
    return r;
}

} // namespace

void viser_rang(std::int64_t cible, std::int64_t premier) {
    remplisseur().viser(cible, premier);
}

std::int64_t rang_vise() {
    return remplisseur().rang();
}

std::int64_t premier_vise() {
    return remplisseur().premier();
}

void attendre_table() {
    remplisseur().attendre(INT64_MAX);
}

void attendre_rang(std::int64_t r) {
    remplisseur().attendre(r);
}

void oublier_remplissage() {
    remplisseur().oublier();
}

int Suiv() {
    remplisseur().suivant();
    i = 1;
    return 1;
}
