#include "base/interruption.hpp"

#include <cerrno>
#include <poll.h>

volatile std::sig_atomic_t interruption_demandee = 0;

namespace {

bool installee = false;

extern "C" void sur_sigint(int) {
    interruption_demandee = 1;
}

} // namespace

// SIGINT is blocked except inside ppoll, so that a Ctrl-C coming just before
// the wait is not missed.
bool attendre_lisible(int fd, int delai_ms) {
    sigset_t bloque, avant;
    sigemptyset(&bloque);
    sigaddset(&bloque, SIGINT);
    sigprocmask(SIG_BLOCK, &bloque, &avant);
    bool ok = true;
    for (;;) {
        if (interruption_demandee != 0) {
            ok = false;
            break;
        }
        pollfd p{fd, POLLIN, 0};
        timespec t{delai_ms / 1000, (delai_ms % 1000) * 1'000'000L};
        int r = ppoll(&p, 1, delai_ms < 0 ? nullptr : &t, &avant);
        if (r >= 0 || errno != EINTR) {
            break;
        }
    }
    sigprocmask(SIG_SETMASK, &avant, nullptr);
    return ok;
}

void installer_interruption() {
    struct sigaction sa {};
    sa.sa_handler = sur_sigint;
    sigemptyset(&sa.sa_mask);
    sa.sa_flags = 0; // no SA_RESTART: a wait at a question must end
    sigaction(SIGINT, &sa, nullptr);
    installee = true;
}

bool interruption_installee() {
    return installee;
}

void interrompre() {
    throw Interruption{};
}
