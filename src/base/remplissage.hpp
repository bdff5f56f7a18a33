#pragma once
// A prime table filled in the background, up to the rank a request names.
//
// Contract of Remplissage, the one owner of the fill's threads:
// - The thread that builds it, and it alone, calls its members. viser makes
//   room in the table for the target, then hands the growth over and
//   returns. A growth of fewer than REMPLIR_ICI ranks, with nothing under
//   way, is written at once by that thread; a longer one is cut by value
//   into pieces, handed out in order from one list to the fillers, one per
//   core, started by the first long growth (those that could not start, by
//   the next).
// - A filler counts the ranks below its piece (the first piece of a growth
//   knows them), writes the piece's primes in the room made and, every
//   TRONCON_REMPLI ranks, moves publie(), the one count of ranks filled
//   without a gap (release). The caller reads the table up to that count
//   (acquire) and no further; attendre waits on it, woken by the filler
//   whose stretch reaches the rank waited for.
// - Ctrl-C during a wait throws Interruption; the fill goes on.
// - No exception leaves a filler: the first one thrown is kept, and no more
//   pieces are taken. The next wait that finds it, once the pieces being
//   written are left, brings the target down to the ranks published and
//   throws it if the rank waited for is beyond them (never for TOUT).
// - Where no filler could start, the waiting thread writes the pieces, a
//   piece at a time, Ctrl-C looked at between them.
// - The destructor stops each filler at the end of its stretch, joins it.

#include "base/comptage.hpp"
#include "base/crible.hpp"
#include "base/equipe.hpp"
#include "base/tablepremiers.hpp"

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <exception>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

class Remplissage {
  public:
    // The number of primes up to a value; -1 when it cannot be had.
    using Compteur = std::function<std::int64_t(std::int64_t)>;
    // For attendre: the whole target, whatever it comes to.
    static constexpr std::int64_t TOUT = INT64_MAX;

    // TABLE holds its ranks up to its last entry; the fill starts from there.
    explicit Remplissage(TablePremiers& table, Compteur compter = pi, int remplisseurs = coeurs());
    Remplissage(const Remplissage&) = delete;
    Remplissage& operator=(const Remplissage&) = delete;
    ~Remplissage();

    // The table is to reach rank CIBLE, whose prime is PREMIER (a target below
    // the current one changes nothing). May throw std::bad_alloc, nothing
    // changed.
    void viser(std::int64_t cible, std::int64_t premier);
    std::int64_t cible() const { return cible_; }
    std::int64_t premier() const { return premier_; }
    std::int64_t publie() const { return publie_.load(std::memory_order_acquire); }

    // Waits until rank R, or the target if it is lower, is published, the
    // progress line drawn after a second. Ctrl-C is looked at first.
    void attendre(std::int64_t r);

  private:
    // The primes above APRES up to BORNE, from rank DE (0 until counted).
    struct Morceau {
        std::uint64_t apres = 0;
        std::uint64_t borne = 0;
        std::int64_t de = 0;
        std::int64_t ecrit = 0; // ranks written up to this one
        std::int64_t a = 0;     // its last rank, once all are written
    };
    using Verrou = std::unique_lock<std::mutex>;

    void couper(std::int64_t de, std::uint64_t apres, std::uint64_t borne);
    void demarrer();
    bool travailler(Verrou& l);
    void ecrire(Morceau& m);
    void publier();

    TablePremiers& table_;
    const Compteur compter_;
    const int parts_;
    std::int64_t cible_;   // the caller's alone, as premier_
    std::int64_t premier_; // the prime of rank cible_
    Crible ici_;           // the caller's, for short growths

    std::mutex m_;                    // over what follows but publie_
    std::condition_variable travail_; // the fillers wait for pieces
    std::condition_variable lecteur_; // the reader waits for attendu_ or a failure
    std::int64_t attendu_ = 0;        // the rank the reader waits for
    std::deque<Morceau> morceaux_;    // not all published, in order of rank
    std::size_t pris_ = 0;            // the first pieces of morceaux_ are taken
    int occupes_ = 0;                 // threads writing a piece
    std::exception_ptr echec_;
    bool arret_ = false;
    std::atomic<std::int64_t> publie_;
    std::vector<std::thread> remplisseurs_;
};
