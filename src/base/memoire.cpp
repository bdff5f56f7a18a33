#include "base/memoire.hpp"

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <string>
#include <sys/resource.h>
#include <unistd.h>

namespace {

constexpr std::uint64_t MARGE = std::uint64_t{64} << 20; // for the rest of the program

// A value of /proc/self/status in bytes ("VmSize:  1234 kB"), 0 if absent.
std::uint64_t etat_processus(const char* cle) {
    std::ifstream f("/proc/self/status");
    std::string mot;
    while (f >> mot) {
        if (mot == cle) {
            std::uint64_t ko = 0;
            f >> ko;
            return ko * 1024;
        }
    }
    return 0;
}

std::uint64_t lire_nombre(const char* chemin) {
    std::ifstream f(chemin);
    std::uint64_t v = 0;
    return f >> v ? v : UINT64_MAX; // "max", or no such file: no limit
}

std::uint64_t reste(std::uint64_t limite, std::uint64_t tenu) {
    return limite > tenu ? limite - tenu : 0;
}

std::uint64_t limite_rlimit(int ressource) {
    rlimit r{};
    return getrlimit(ressource, &r) == 0 && r.rlim_cur != RLIM_INFINITY ? r.rlim_cur : UINT64_MAX;
}

} // namespace

std::uint64_t memoire_libre() {
    long pages = sysconf(_SC_AVPHYS_PAGES);
    long taille = sysconf(_SC_PAGESIZE);
    std::uint64_t libre = pages > 0 && taille > 0 ? static_cast<std::uint64_t>(pages) *
                                                        static_cast<std::uint64_t>(taille)
                                                  : UINT64_MAX;
    if (std::uint64_t as = limite_rlimit(RLIMIT_AS); as != UINT64_MAX) {
        libre = std::min(libre, reste(as, etat_processus("VmSize:")));
    }
    if (std::uint64_t data = limite_rlimit(RLIMIT_DATA); data != UINT64_MAX) {
        libre = std::min(libre, reste(data, etat_processus("VmData:")));
    }
    if (std::uint64_t cg = lire_nombre("/sys/fs/cgroup/memory.max"); cg != UINT64_MAX) {
        libre = std::min(libre, reste(cg, lire_nombre("/sys/fs/cgroup/memory.current")));
    }
    return reste(libre - libre / 10, MARGE);
}
