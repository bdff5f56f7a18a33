#include "base/equipe.hpp"

#include "base/interruption.hpp"
#include "base/reglages.hpp"

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <exception>
#include <mutex>
#include <thread>
#include <vector>

int coeurs() {
    return std::max(1, static_cast<int>(std::thread::hardware_concurrency()));
}

namespace {

// The parts still running on threads of their own, and the first exception
// any part threw.
class Suivi {
  public:
    void depart() {
        std::lock_guard l(m_);
        ++en_cours_;
    }
    void fin() {
        std::lock_guard l(m_);
        --en_cours_;
        cv_.notify_all();
    }
    void echec(std::exception_ptr e) {
        std::lock_guard l(m_);
        if (!premiere_) {
            premiere_ = std::move(e);
        }
    }
    // Waits for every part, Ctrl-C looked at every ATTENTE_EQUIPE; true if
    // pressed.
    bool attendre_tous(std::atomic<bool>& arret) {
        bool interrompu = false;
        std::unique_lock l(m_);
        while (en_cours_ > 0) {
            cv_.wait_for(l, ATTENTE_EQUIPE);
            if (interruption_demandee != 0) {
                interrompu = true;
                arret.store(true, std::memory_order_relaxed);
            }
        }
        return interrompu;
    }
    std::exception_ptr premiere() {
        std::lock_guard l(m_);
        return premiere_;
    }

  private:
    std::mutex m_;
    std::condition_variable cv_;
    int en_cours_ = 0;
    std::exception_ptr premiere_;
};

} // namespace

Equipe::Equipe() : parts_(coeurs()) {}

Equipe::Equipe(int parts) : parts_(std::max(1, parts)) {}

void Equipe::executer(const std::function<void(int part)>& travail) {
    arret_.store(false, std::memory_order_relaxed);
    Suivi suivi;
    auto garde = [&](int part) {
        try {
            travail(part);
        } catch (...) {
            suivi.echec(std::current_exception());
            arreter();
        }
    };
    // A thread, or none (0 if its thread did not start), for each part.
    std::vector<std::thread> fils;
    std::vector<char> lance;
    try {
        fils.resize(static_cast<std::size_t>(parts_));
        lance.assign(static_cast<std::size_t>(parts_), 0);
    } catch (const std::bad_alloc&) {
        for (int part = 0; part < parts_ && !arret(); ++part) {
            garde(part);
        }
    }
    for (int part = 1; part < static_cast<int>(fils.size()); ++part) {
        try {
            suivi.depart();
            fils[static_cast<std::size_t>(part)] = std::thread([&, part] {
                garde(part);
                suivi.fin();
            });
            lance[static_cast<std::size_t>(part)] = 1;
        } catch (...) { // std::system_error: no thread can start now
            suivi.fin();
        }
    }
    if (!fils.empty()) {
        garde(0);
    }
    for (int part = 1; part < static_cast<int>(lance.size()) && !arret(); ++part) {
        if (lance[static_cast<std::size_t>(part)] == 0) {
            garde(part);
        }
    }
    bool interrompu = suivi.attendre_tous(arret_);
    for (std::thread& f : fils) {
        if (f.joinable()) {
            f.join();
        }
    }
    if (std::exception_ptr e = suivi.premiere()) {
        std::rethrow_exception(e);
    }
    if (interrompu) {
        interrompre();
    }
}
