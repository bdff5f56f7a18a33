// Work split over the cores: every part runs once, what a part throws comes
// back to the caller after the others have stopped, and Ctrl-C during the
// wait for the other parts ends it.

#include "base/equipe.hpp"
#include "base/interruption.hpp"

#include <atomic>
#include <chrono>
#include <gtest/gtest.h>
#include <stdexcept>
#include <thread>
#include <vector>

namespace {

void attendre_arret(const Equipe& e) {
    while (!e.arret()) {
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
}

TEST(Equipe, EveryPartRunsOnceAndAThrowReachesTheCaller) {
    for (int parts : {1, 2, 5}) {
        Equipe e(parts);
        std::vector<std::atomic<int>> vus(static_cast<std::size_t>(parts));
        e.executer([&](int p) { ++vus[static_cast<std::size_t>(p)]; });
        for (auto& v : vus) {
            EXPECT_EQ(v.load(), 1) << parts << " parts";
        }
    }
    Equipe e(3);
    EXPECT_THROW(e.executer([&](int p) {
        if (p == 2) {
            throw std::runtime_error("part 2");
        }
        attendre_arret(e); // the others are told to stop
    }),
                 std::runtime_error);
    e.executer([](int) {}); // usable again: the stop is forgotten
    EXPECT_FALSE(e.arret());
}

TEST(Equipe, CtrlCWhileOtherPartsWork) {
    Equipe e(2);
    EXPECT_THROW(e.executer([&](int p) {
        if (p == 0) {
            interruption_demandee = 1;
        } else {
            attendre_arret(e);
        }
    }),
                 Interruption);
    interruption_demandee = 0;
}

} // namespace
