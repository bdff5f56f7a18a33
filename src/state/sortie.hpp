#pragma once
// Standard output of the dialogue: one buffer, written out only when the
// program is about to wait for a line (or when it is full), never per item.

#include <NTL/ZZ.h>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

class Sortie {
  public:
    Sortie() = default;
    Sortie(const Sortie&) = delete;
    Sortie& operator=(const Sortie&) = delete;
    ~Sortie() { flush(); }

    Sortie& operator<<(std::string_view s);
    Sortie& operator<<(const char* s) { return *this << std::string_view(s); }
    Sortie& operator<<(char c);
    Sortie& operator<<(long v);
    Sortie& operator<<(unsigned long v);
    Sortie& operator<<(int v) { return *this << static_cast<long>(v); }
    Sortie& operator<<(const NTL::ZZ& v);

    // Writes the buffer to standard output (or to the capture string).
    void flush();
    // Tests: everything written from now on goes to *dest instead of fd 1.
    void capturer(std::string* dest);

  private:
    void place(std::size_t n) {
        if (n > sizeof buf_ - n_) {
            flush();
        }
    }

    char buf_[1 << 16];
    std::size_t n_ = 0;
    std::string* capture_ = nullptr;
};

// Called before anything is written to standard output (the progress line on
// standard error is erased there); none when null.
extern void (*avant_sortie)();
