#include "base/enfant.hpp"

#include "base/interruption.hpp"
#include "base/progression.hpp"

#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <fcntl.h>
#include <new>
#include <poll.h>
#include <sys/mman.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

// ThreadSanitizer cannot follow a fork while other threads run (the fill of
// the prime table) when the child starts threads of its own (PARI's ECM
// does): built with it, the work runs in place.
#if defined(__SANITIZE_THREAD__)
constexpr bool ENFANT_POSSIBLE = false;
#else
constexpr bool ENFANT_POSSIBLE = true;
#endif

namespace {

// How far the child has gone, in a page it shares with the parent.
struct Avancement {
    std::atomic<const char*> libelle{nullptr}; // a literal: the same address in both
    std::atomic<long> fait{0};
    std::atomic<long> total{0};
};
static_assert(std::atomic<long>::is_always_lock_free);

Avancement* avancement_enfant = nullptr; // in the child only

// The shared page, unmapped however the parent leaves.
class Partage {
  public:
    Partage() {
        void* p = ::mmap(nullptr, sizeof(Avancement), PROT_READ | PROT_WRITE,
                         MAP_SHARED | MAP_ANONYMOUS, -1, 0);
        a_ = p == MAP_FAILED ? nullptr : new (p) Avancement;
    }
    Partage(const Partage&) = delete;
    Partage& operator=(const Partage&) = delete;
    ~Partage() {
        if (a_ != nullptr) {
            ::munmap(a_, sizeof(Avancement));
        }
    }
    Avancement* get() const { return a_; }

  private:
    Avancement* a_;
};

// The progress line's text: the task's name, or what the child said of its
// work.
class Libelle {
  public:
    explicit Libelle(const char* nom) { std::snprintf(texte_, sizeof texte_, "%s", nom); }
    const char* texte() const { return texte_; }
    // The child's figures, if it gave any, into the text; in FAIT and TOTAL.
    bool lire(const Avancement* a, double& fait, double& total) {
        const char* libelle = a == nullptr ? nullptr : a->libelle.load();
        if (libelle == nullptr) {
            return false;
        }
        long f = a->fait.load();
        long t = a->total.load();
        std::snprintf(texte_, sizeof texte_, "%s %ld / %ld", libelle, f, t);
        fait = static_cast<double>(f);
        total = static_cast<double>(t);
        return true;
    }

  private:
    char texte_[160];
};

// The child running a library call: killed and reaped however the parent
// leaves the wait.
class Enfant {
  public:
    Enfant(pid_t pid, int fd) : pid_(pid), fd_(fd) {}
    Enfant(const Enfant&) = delete;
    Enfant& operator=(const Enfant&) = delete;
    ~Enfant() {
        if (pid_ > 0) {
            ::kill(pid_, SIGKILL);
            attendre_fin();
        }
        ::close(fd_);
    }
    int fd() const { return fd_; }
    // Reaps the child and returns its wait status.
    int attendre_fin() {
        int statut = 0;
        while (::waitpid(pid_, &statut, 0) < 0 && errno == EINTR) {
        }
        pid_ = 0;
        return statut;
    }

  private:
    pid_t pid_;
    int fd_;
};

[[noreturn]] void travail_enfant(int fd, pid_t parent,
                                 const std::function<std::string()>& travail) {
    // The child dies with the program, even when the program was killed
    // before this line ran (it then already has another parent).
    if (::prctl(PR_SET_PDEATHSIG, SIGKILL) != 0 || ::getppid() != parent) {
        ::_exit(1);
    }
    std::signal(SIGINT, SIG_DFL);
    std::string r;
    try {
        r = travail();
    } catch (...) { // memory run out: the parent says so
        ::_exit(1);
    }
    std::size_t fait = 0;
    while (fait < r.size()) {
        ssize_t w = ::write(fd, r.data() + fait, r.size() - fait);
        if (w < 0 && errno == EINTR) {
            continue;
        }
        if (w <= 0) {
            ::_exit(1);
        }
        fait += static_cast<std::size_t>(w);
    }
    ::_exit(0); // no exit handlers, no buffers written: the parent owns them
}

// The child ended without its result, killed by a signal the program did not
// send (the out-of-memory killer, a user) or failing: the work is not done
// again here, where it would fail the same way or outlast Ctrl-C.
[[noreturn]] void abandonner(int statut) {
    if (WIFSIGNALED(statut) && WTERMSIG(statut) == SIGINT) {
        interrompre(); // Ctrl-C reached the child first
    }
    throw TravailAbandonne{};
}

} // namespace

std::string hors_processus(const char* nom, const std::function<std::string()>& travail) {
    verifier_interruption();
    int tube[2];
    if (!ENFANT_POSSIBLE || !interruption_installee() || ::pipe2(tube, O_CLOEXEC) != 0) {
        return travail();
    }
    pid_t parent = ::getpid();
    Partage partage;
    // Another thread may be running (the filling of the prime table): the
    // child gets only this one. It stays safe because the work it runs takes
    // no lock that thread could hold: it never touches the table nor
    // liste.txt, and the C library's allocator is made ready for the child
    // by fork itself.
    pid_t pid = ::fork();
    if (pid == 0) {
        ::close(tube[0]);
        avancement_enfant = partage.get();
        travail_enfant(tube[1], parent, travail);
    }
    ::close(tube[1]);
    if (pid < 0) {
        ::close(tube[0]);
        return travail();
    }
    Enfant enfant(pid, tube[0]);
    Libelle libelle(nom);
    Tache tache(libelle.texte());
    std::string r;
    char bloc[4096];
    for (;;) {
        if (!attendre_lisible(enfant.fd(), 200)) {
            interrompre(); // the child is killed on the way out
        }
        double fait = 0;
        double total = 0;
        if (libelle.lire(partage.get(), fait, total)) {
            tache.point(fait, total, -1);
        } else {
            tache.point();
        }
        pollfd p{enfant.fd(), POLLIN, 0};
        if (::poll(&p, 1, 0) <= 0) {
            continue;
        }
        ssize_t lu = ::read(enfant.fd(), bloc, sizeof bloc);
        if (lu < 0 && errno == EINTR) {
            continue;
        }
        if (lu <= 0) {
            break;
        }
        r.append(bloc, static_cast<std::size_t>(lu));
    }
    int statut = enfant.attendre_fin();
    if (!WIFEXITED(statut) || WEXITSTATUS(statut) != 0) {
        verifier_interruption();
        abandonner(statut);
    }
    return r;
}

void signaler_avancement(const char* libelle, long fait, long total) {
    if (avancement_enfant != nullptr) {
        avancement_enfant->fait.store(fait);
        avancement_enfant->total.store(total);
        avancement_enfant->libelle.store(libelle);
    }
}
