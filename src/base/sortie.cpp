#include "base/sortie.hpp"

#include "base/progression.hpp"

#include <NTL/ZZ_limbs.h>
#include <cerrno>
#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <gmp.h>
#include <string>
#include <unistd.h>

Sortie& Sortie::operator<<(std::string_view s) {
    while (!s.empty()) {
        place(1);
        std::size_t part = std::min(s.size(), sizeof buf_ - n_);
        std::memcpy(buf_ + n_, s.data(), part);
        n_ += part;
        s.remove_prefix(part);
    }
    return *this;
}

Sortie& Sortie::operator<<(char c) {
    place(1);
    buf_[n_++] = c;
    return *this;
}

Sortie& Sortie::operator<<(long v) {
    place(24);
    n_ = static_cast<std::size_t>(std::to_chars(buf_ + n_, buf_ + sizeof buf_, v).ptr - buf_);
    return *this;
}

Sortie& Sortie::operator<<(unsigned long v) {
    place(24);
    n_ = static_cast<std::size_t>(std::to_chars(buf_ + n_, buf_ + sizeof buf_, v).ptr - buf_);
    return *this;
}

// A number beyond a machine word is converted by GMP, straight from its
// limbs (no copy), into a buffer kept from one number to the next; the time
// grows barely faster than the number of digits.
Sortie& Sortie::operator<<(const NTL::ZZ& v) {
    if (NTL::NumBits(v) < 63) {
        return *this << NTL::conv<long>(v);
    }
    static_assert(sizeof(NTL::ZZ_limb_t) == sizeof(mp_limb_t));
    static std::string chiffres;
    mpz_t vue;
    auto taille = static_cast<mp_size_t>(v.size());
    mpz_srcptr m = mpz_roinit_n(vue, reinterpret_cast<const mp_limb_t*>(NTL::ZZ_limbs_get(v)),
                                NTL::sign(v) < 0 ? -taille : taille);
    chiffres.resize(mpz_sizeinbase(m, 10) + 2); // room for a sign and the final zero
    mpz_get_str(chiffres.data(), 10, m);
    return *this << std::string_view(chiffres.data(), std::strlen(chiffres.data()));
}

void Sortie::flush() {
    if (n_ > 0) {
        avant_ecriture_sortie();
    }
    std::size_t fait = 0;
    while (fait < n_) {
        ssize_t w = ::write(STDOUT_FILENO, buf_ + fait, n_ - fait);
        if (w < 0 && errno == EINTR) {
            continue;
        }
        if (w <= 0) {
            n_ = 0;
            perdue_(w < 0 ? errno : EIO);
            return;
        }
        fait += static_cast<std::size_t>(w);
    }
    n_ = 0;
}

void dire_ecriture_impossible(const char* programme, int erreur) {
    const char* raison = "erreur d'ecriture";
    switch (erreur) {
    case ENOSPC:
        raison = "plus de place sur le disque";
        break;
    case EDQUOT:
        raison = "quota de disque atteint";
        break;
    case EFBIG:
        raison = "fichier trop grand";
        break;
    case EPIPE:
        raison = "plus personne ne la lit";
        break;
    case EIO:
        raison = "erreur d'entree-sortie";
        break;
    default:
        break;
    }
    std::string ligne =
        std::string(programme) + " : ecriture impossible sur la sortie standard : " + raison + "\n";
    [[maybe_unused]] ssize_t w = ::write(STDERR_FILENO, ligne.data(), ligne.size());
}

int afficher_textes(const char* programme, std::initializer_list<const char*> textes) {
    for (const char* t : textes) {
        std::fputs(t, stdout);
    }
    errno = 0;
    if (std::fflush(stdout) == 0 && std::ferror(stdout) == 0) {
        return 0;
    }
    dire_ecriture_impossible(programme, errno != 0 ? errno : EIO);
    return 2;
}
