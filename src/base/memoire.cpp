#include "base/memoire.hpp"

#include "base/reglages.hpp"

#include <algorithm>
#include <fstream>
#include <string>
#include <sys/resource.h>
#include <unistd.h>

namespace {

// A value in kB of a file of the form "Key:  1234 kB" (/proc/self/status,
// /proc/meminfo), in bytes; UINT64_MAX if absent.
std::uint64_t valeur_ko(const char* fichier, const char* cle) {
    std::ifstream f(fichier);
    std::string mot;
    while (f >> mot) {
        if (mot == cle) {
            std::uint64_t ko = 0;
            return f >> ko ? ko * 1024 : UINT64_MAX;
        }
    }
    return UINT64_MAX;
}

std::uint64_t lire_nombre(const char* chemin) {
    std::ifstream f(chemin);
    std::uint64_t v = 0;
    return f >> v ? v : UINT64_MAX; // "max", or no such file: no limit
}

// LIMITE less TENU (unknown: nothing held).
std::uint64_t reste(std::uint64_t limite, std::uint64_t tenu) {
    if (limite == UINT64_MAX) {
        return UINT64_MAX;
    }
    tenu = tenu == UINT64_MAX ? 0 : tenu;
    return limite > tenu ? limite - tenu : 0;
}

std::uint64_t limite_rlimit(int ressource) {
    rlimit r{};
    return getrlimit(ressource, &r) == 0 && r.rlim_cur != RLIM_INFINITY ? r.rlim_cur : UINT64_MAX;
}

// What the machine can still give without swapping: the page cache of a
// file read (liste.txt) counts as available.
std::uint64_t disponible() {
    if (std::uint64_t d = valeur_ko("/proc/meminfo", "MemAvailable:"); d != UINT64_MAX) {
        return d;
    }
    long pages = sysconf(_SC_AVPHYS_PAGES);
    long taille = sysconf(_SC_PAGESIZE);
    return pages > 0 && taille > 0
               ? static_cast<std::uint64_t>(pages) * static_cast<std::uint64_t>(taille)
               : UINT64_MAX;
}

} // namespace

std::uint64_t memoire_libre() {
    std::uint64_t libre = disponible();
    const char* etat = "/proc/self/status";
    libre = std::min(libre, reste(limite_rlimit(RLIMIT_AS), valeur_ko(etat, "VmSize:")));
    libre = std::min(libre, reste(limite_rlimit(RLIMIT_DATA), valeur_ko(etat, "VmData:")));
    libre = std::min(libre, reste(lire_nombre("/sys/fs/cgroup/memory.max"),
                                  lire_nombre("/sys/fs/cgroup/memory.current")));
    return libre;
}

bool memoire_suffit(std::uint64_t octets) {
    std::uint64_t libre = memoire_libre();
    return octets <= libre && octets / 8 + RESTE_DU_PROGRAMME <= libre - octets;
}

bool fils_de_bibliotheque_permis() {
    return memoire_libre() >= LIBRE_POUR_FILS;
}
