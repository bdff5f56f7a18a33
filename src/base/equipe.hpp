#pragma once
// A computation that answers a request, split over the machine's cores:
// the one type that starts threads for such work (fork and join).
//
// Contract of executer(travail):
// - travail(part) runs once for each part from 0 to parts() - 1: part 0 on
//   the calling thread, the others on threads of their own. executer returns
//   once every part has ended; their writes are then visible to the caller.
// - A part whose thread cannot be started runs on the calling thread, after
//   part 0: the work is the same, only slower.
// - No exception leaves a thread. What a part throws is caught where it is
//   thrown; arret() then becomes true, and once every part has ended the
//   first exception is thrown again on the calling thread.
// - Only the calling thread looks at Ctrl-C (a Tache lives on part 0 only).
//   While it waits for the other parts, Ctrl-C makes arret() true and
//   executer throws Interruption once they have ended.
// - Every part other than 0 looks at arret() often (every millisecond or
//   so) and returns when it is true.

#include <atomic>
#include <functional>

// The machine's cores, at least 1.
int coeurs();

class Equipe {
  public:
    // One part per core; PARTS when given (at least 1).
    Equipe();
    explicit Equipe(int parts);
    Equipe(const Equipe&) = delete;
    Equipe& operator=(const Equipe&) = delete;

    int parts() const { return parts_; }
    bool arret() const { return arret_.load(std::memory_order_relaxed); }
    // Asks every part to stop soon (a part that has found what all seek).
    void arreter() { arret_.store(true, std::memory_order_relaxed); }

    void executer(const std::function<void(int part)>& travail);

  private:
    int parts_;
    std::atomic<bool> arret_{false};
};
