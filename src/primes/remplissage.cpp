#include "primes/remplissage.hpp"

#include "base/progression.hpp"
#include "primes/primes.hpp"
#include "state/table.hpp"

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <primesieve.hpp>
#include <thread>
#include <vector>

namespace {

constexpr std::int64_t RANG_32 = 203'280'221; // the primes below 2^32
constexpr std::int64_t BLOC = 1 << 18;        // ranks the worker fills between two looks
constexpr std::int64_t ICI = 1 << 16;         // a growth this short is made at once, here

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
    void verifier_fichier(std::int64_t de, std::int64_t a);
    std::size_t lire_fichier(std::vector<std::int64_t>& v);
    void comparer(std::int64_t de, std::size_t lus);
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
    std::vector<std::int64_t> lus_; // values of a block read from liste.txt
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
// A long block is read from liste.txt on a second thread while this one
// sieves: the two halves of the work take about as long, on two cores.
void Remplisseur::remplir(std::int64_t de, std::int64_t fin) {
    const std::int64_t a = std::min(fin, rang_fichier_);
    std::size_t lus = 0;
    std::thread lecteur;
    if (a - de >= ICI && !monFlux.epuise()) {
        lus_.resize(static_cast<std::size_t>(a - de + 1));
        lecteur = std::thread([this, &lus] { lus = lire_fichier(lus_); });
    }
    auto dernier = static_cast<std::uint64_t>(Nprem[static_cast<std::size_t>(de - 1)]);
    if (dernier_crible_ != dernier) {
        crible_.jump_to(dernier + 1);
    }
    std::uint64_t p = dernier;
    for (std::int64_t r = de; r <= fin; ++r) {
        p = crible_.next_prime();
        Nprem.placer(static_cast<std::size_t>(r), static_cast<std::int64_t>(p));
    }
    dernier_crible_ = p;
    if (lecteur.joinable()) {
        lecteur.join();
        comparer(de, lus);
    } else {
        verifier_fichier(de, a);
    }
}

// The values of liste.txt for the next ranks, as many as V holds or fewer
// when the file ends or fails first; returns how many were read.
std::size_t Remplisseur::lire_fichier(std::vector<std::int64_t>& v) {
    std::size_t n = 0;
    while (n < v.size() && monFlux.lire(v[n])) {
        ++n;
    }
    return n;
}

// The values read for ranks DE on against the primes of those ranks: at the
// first value that is not the prime of its rank (or no value at all), the
// file is read no further, and the ranks after it are computed.
void Remplisseur::comparer(std::int64_t de, std::size_t lus) {
    for (std::size_t t = 0; t < lus_.size(); ++t) {
        if (t >= lus || lus_[t] != Nprem[static_cast<std::size_t>(de) + t]) {
            monFlux.fermer();
            return;
        }
    }
}

void Remplisseur::verifier_fichier(std::int64_t de, std::int64_t a) {
    std::int64_t v = 0;
    for (std::int64_t r = de; r <= a && !monFlux.epuise(); ++r) {
        if (!monFlux.lire(v) || v != Nprem[static_cast<std::size_t>(r)]) {
            monFlux.fermer();
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
