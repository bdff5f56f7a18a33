#include "base/fluxliste.hpp"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <new>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr std::size_t TAILLE = 1 << 20;

} // namespace

// Only a regular file is read: a FIFO, a device or a socket counts as no
// file at all. O_NONBLOCK keeps the open of a FIFO from waiting for a writer.
void FluxListe::ouvrir(const char* nom) {
    fermer();
    fd_ = ::open(nom, O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    struct stat etat {};
    if (fd_ >= 0 && (::fstat(fd_, &etat) != 0 || !S_ISREG(etat.st_mode) ||
                     ::fcntl(fd_, F_SETFL, 0) != 0)) { // reads block again
        fermer();
    }
    fin_fichier_ = false;
    debut_ = fin_ = 0;
    lu_ = 0;
}

void FluxListe::fermer() {
    if (fd_ >= 0) {
        ::close(fd_);
        fd_ = -1;
    }
    buf_.reset();
    debut_ = fin_ = 0;
}

// Makes at least N bytes available after debut_, unless the file ends first.
// Returns false on a read error.
bool FluxListe::garantir(std::size_t n) {
    if (fin_ - debut_ >= n || fin_fichier_) {
        return true;
    }
    if (!buf_) {
        buf_ = std::make_unique_for_overwrite<char[]>(TAILLE + 1);
    }
    std::memmove(buf_.get(), buf_.get() + debut_, fin_ - debut_);
    fin_ -= debut_;
    debut_ = 0;
    while (fin_ < n && !fin_fichier_) {
        // pread: a reader that follows another keeps an offset of its own.
        ssize_t lu = ::pread(fd_, buf_.get() + fin_, TAILLE - fin_, static_cast<off_t>(lu_));
        if (lu < 0 && errno == EINTR) {
            continue;
        }
        if (lu < 0) {
            return false; // unreadable, or a directory
        }
        fin_fichier_ = lu == 0;
        fin_ += static_cast<std::size_t>(lu);
        lu_ += static_cast<std::uint64_t>(lu);
    }
    buf_[fin_] = '\0'; // ends a token that reaches the end of the file
    return true;
}

bool FluxListe::lent(std::int64_t& v) {
    if (fd_ < 0) {
        return false;
    }
    if (!jeton(v)) {
        fermer();
        return false;
    }
    return true;
}

// Moves past every byte for which PASSE holds, refilling as needed; returns
// false on a read error.
bool FluxListe::passer(bool (*passe)(char)) {
    for (;;) {
        while (debut_ < fin_ && passe(buf_[debut_])) {
            ++debut_;
        }
        if (debut_ < fin_ || fin_fichier_) {
            return true;
        }
        if (!garantir(AVANCE)) {
            return false;
        }
    }
}

bool FluxListe::jeton(std::int64_t& v) {
    if (!passer(blanc) || debut_ == fin_ || !garantir(AVANCE)) {
        return false;
    }
    bool negatif = buf_[debut_] == '-';
    if (buf_[debut_] == '-' || buf_[debut_] == '+') {
        ++debut_;
    }
    std::size_t avant_zeros = debut_;
    if (!passer([](char c) { return c == '0'; }) || !garantir(AVANCE)) {
        return false;
    }
    bool zero_vu = debut_ != avant_zeros;
    // After the leading zeros a value has at most 19 digits, all within reach.
    const char* p = buf_.get() + debut_;
    const char* const bout = buf_.get() + fin_;
    const char* chiffres = p;
    // Built downward so that -2^63 fits; the sign is applied at the end.
    std::int64_t x = 0;
    while (p < bout && *p >= '0' && *p <= '9') {
        int d = *p - '0';
        if (x < (INT64_MIN + d) / 10) {
            return false;
        }
        x = x * 10 - d;
        ++p;
    }
    if ((p == chiffres && !zero_vu) || (p < bout && !blanc(*p))) {
        return false;
    }
    if (!negatif) {
        if (x == INT64_MIN) {
            return false;
        }
        x = -x;
    }
    v = x;
    debut_ = static_cast<std::size_t>(p - buf_.get());
    return true;
}

void FichierListe::ouvrir(const char* nom) {
    std::lock_guard l(m_);
    lecteur_.ouvrir(nom);
    demande_ = verifie_ = PREMIER_RANG - 1;
}

// The check is done when it has reached the rank asked for, or when the
// reader is exhausted (a wrong value, the end of the file).
bool FichierListe::epuise() {
    std::unique_lock l(m_);
    cv_.wait(l, [this] { return !occupe_ && (verifie_ >= demande_ || lecteur_.epuise()); });
    return lecteur_.epuise();
}

std::uint64_t FichierListe::position() {
    epuise();
    std::lock_guard l(m_);
    return lecteur_.position();
}

void FichierListe::demander(std::int64_t r) {
    std::lock_guard l(m_);
    if (r > demande_) {
        demande_ = r;
        // A check under way learns the new rank when it reports; one that
        // waits is woken only when the file can still be read.
        if (!occupe_ && !lecteur_.epuise()) {
            cv_.notify_all();
        }
    }
}

void FichierListe::suspendre() {
    std::unique_lock l(m_);
    demande_ = verifie_;
    cv_.wait(l, [this] { return !occupe_; });
    demande_ = verifie_;
}

// Waits until there are ranks to check, DE to A; false: stop.
bool FichierListe::attendre_demande(std::int64_t& de, std::int64_t& a) {
    std::unique_lock l(m_);
    occupe_ = false;
    cv_.notify_all();
    cv_.wait(l, [this] { return arret_ || (demande_ > verifie_ && !lecteur_.epuise()); });
    occupe_ = !arret_;
    de = verifie_ + 1;
    a = demande_;
    return !arret_;
}

// Ranks up to R are checked; returns the last rank to check now.
std::int64_t FichierListe::fait(std::int64_t r) {
    std::lock_guard l(m_);
    verifie_ = r;
    cv_.notify_all();
    return arret_ ? r : demande_;
}

void FichierListe::verifier(const TablePremiers& table) {
    std::int64_t de = 0;
    std::int64_t a = 0;
    while (attendre_demande(de, a)) {
        try {
            while (de <= a && !lecteur_.epuise()) {
                de = verifier(table, de, std::min(a, de + TRONCON - 1));
                a = fait(de - 1);
            }
        } catch (const std::bad_alloc&) { // no buffer for the reader: read no further
            lecteur_.fermer();
        }
        fait(de - 1);
    }
}

// Ranks DE to A; returns the rank after the last one checked. Lines of the
// usual form are checked without being read.
std::int64_t FichierListe::verifier(const TablePremiers& table, std::int64_t de, std::int64_t a) {
    std::int64_t r = de;
    while (r <= a) {
        r += static_cast<std::int64_t>(lecteur_.passer_lignes(table, static_cast<std::size_t>(r),
                                                              static_cast<std::size_t>(a - r + 1)));
        std::int64_t v = 0;
        if (r <= a && (!lecteur_.lire(v) || v != table[static_cast<std::size_t>(r++)])) {
            lecteur_.fermer();
            break;
        }
    }
    return r;
}

void FichierListe::verifier_ici(const TablePremiers& table, std::int64_t r) {
    std::lock_guard l(m_);
    if (r > verifie_ && !lecteur_.epuise()) {
        try {
            verifie_ = verifier(table, verifie_ + 1, r) - 1;
        } catch (const std::bad_alloc&) {
            lecteur_.fermer();
        }
    }
}

void FichierListe::arreter() {
    std::lock_guard l(m_);
    arret_ = true;
    cv_.notify_all();
}
