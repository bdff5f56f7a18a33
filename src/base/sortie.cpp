#include "base/sortie.hpp"

#include "base/progression.hpp"

#include <cerrno>
#include <charconv>
#include <cstdlib>
#include <cstring>
#include <sstream>
#include <unistd.h>

Sortie& Sortie::operator<<(std::string_view s) {
    if (s.size() > sizeof buf_) {
        flush();
        if (capture_ != nullptr) {
            capture_->append(s);
            return *this;
        }
    }
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

Sortie& Sortie::operator<<(const NTL::ZZ& v) {
    if (NTL::NumBits(v) < 63) {
        return *this << NTL::conv<long>(v);
    }
    std::ostringstream texte;
    texte << v;
    return *this << std::string_view(texte.view());
}

void Sortie::flush() {
    if (capture_ != nullptr) {
        capture_->append(buf_, n_);
        n_ = 0;
        return;
    }
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
            perdue_();
            return;
        }
        fait += static_cast<std::size_t>(w);
    }
    n_ = 0;
}

void Sortie::capturer(std::string* dest) {
    flush();
    capture_ = dest;
}
