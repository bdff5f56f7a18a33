#include "session.hpp"

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

namespace {
using Horloge = std::chrono::steady_clock;

Horloge::time_point dans(double secondes) {
    return Horloge::now() +
           std::chrono::duration_cast<Horloge::duration>(std::chrono::duration<double>(secondes));
}

double restant(Horloge::time_point limite) {
    return std::chrono::duration<double>(limite - Horloge::now()).count();
}
} // namespace

Session::Session(const char* programme, bool sortie_a_part) {
    int tube[2] = {-1, -1};
    if (sortie_a_part && ::pipe(tube) != 0) {
        std::abort();
    }
    winsize w{};
    w.ws_row = 40;
    w.ws_col = 120;
    pid_ = ::forkpty(&maitre_, nullptr, nullptr, &w);
    if (pid_ < 0) {
        std::abort();
    }
    if (pid_ == 0) {
        if (sortie_a_part) {
            ::dup2(tube[1], STDOUT_FILENO);
            ::close(tube[0]);
            ::close(tube[1]);
        }
        ::setenv("TERM", "xterm", 1);
        ::execl(programme, programme, static_cast<char*>(nullptr));
        ::_exit(127);
    }
    if (sortie_a_part) {
        ::close(tube[1]);
        tube_ = tube[0];
    }
}

Session::~Session() {
    if (pid_ > 0) {
        ::kill(pid_, SIGKILL);
        ::waitpid(pid_, nullptr, 0);
    }
    ::close(maitre_);
    if (esclave_ >= 0) {
        ::close(esclave_);
    }
    if (tube_ >= 0) {
        ::close(tube_);
    }
}

// Takes what the terminal and the pipe have to give, waiting at most
// SECONDES for something. False once both are closed (the program ended).
bool Session::lire(double secondes) {
    pollfd p[2] = {{maitre_, POLLIN, 0}, {tube_, POLLIN, 0}};
    nfds_t n = tube_ >= 0 ? 2 : 1;
    int r = ::poll(p, n, static_cast<int>(secondes * 1000) + 1);
    if (r <= 0) {
        return r == 0 || errno == EINTR;
    }
    bool ouvert = false;
    char bloc[65536];
    for (nfds_t t = 0; t < n; ++t) {
        if (p[t].revents == 0) {
            ouvert = true;
            continue;
        }
        ssize_t lu = ::read(p[t].fd, bloc, sizeof bloc);
        if (lu > 0) {
            (t == 0 ? ecran_ : sortie_).append(bloc, static_cast<std::size_t>(lu));
            ouvert = true;
        }
    }
    return ouvert;
}

std::size_t Session::attendre(const std::string& texte, std::size_t depuis, bool sur_sortie,
                              double secondes) {
    auto limite = dans(secondes);
    for (;;) {
        const std::string& s = sur_sortie ? sortie_ : ecran_;
        std::size_t p = s.find(texte, depuis);
        if (p != std::string::npos) {
            return p + texte.size();
        }
        if (restant(limite) <= 0 || !lire(std::min(restant(limite), 0.5))) {
            return std::string::npos;
        }
    }
}

// Long pastes: what the program shows meanwhile is taken as the keys go in,
// so that neither side waits for the other.
void Session::taper(const std::string& touches) {
    int drapeaux = ::fcntl(maitre_, F_GETFL);
    ::fcntl(maitre_, F_SETFL, drapeaux | O_NONBLOCK);
    std::size_t fait = 0;
    while (fait < touches.size()) {
        ssize_t w = ::write(maitre_, touches.data() + fait, touches.size() - fait);
        if (w > 0) {
            fait += static_cast<std::size_t>(w);
        } else if (w < 0 && errno != EAGAIN && errno != EINTR) {
            break;
        }
        if (fait < touches.size() && !lire(0.01)) {
            break;
        }
    }
    ::fcntl(maitre_, F_SETFL, drapeaux);
}

void Session::signaler(int signal) const {
    ::kill(pid_, signal);
}

void Session::garder_terminal() {
    esclave_ = ::open(::ptsname(maitre_), O_RDWR | O_NOCTTY);
}

bool Session::canonique() const {
    termios t{};
    return ::tcgetattr(esclave_ >= 0 ? esclave_ : maitre_, &t) == 0 && (t.c_lflag & ICANON) != 0 &&
           (t.c_lflag & ECHO) != 0;
}

int Session::fin(double secondes) {
    auto limite = dans(secondes);
    while (restant(limite) > 0) {
        int statut = 0;
        pid_t r = ::waitpid(pid_, &statut, WNOHANG);
        if (r == pid_) {
            pid_ = -1;
            return WIFEXITED(statut) ? WEXITSTATUS(statut) : -1;
        }
        lire(0.1); // keeps the terminal drained so the program can finish writing
    }
    return -1;
}
