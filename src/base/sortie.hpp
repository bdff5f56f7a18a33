#pragma once
// Standard output of the dialogue: one buffer, written out only when the
// program is about to wait for a line (or when it is full), never per item.

#include <NTL/ZZ.h>
#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <string_view>

// Writes on standard error the line that says why PROGRAMME could not write
// its standard output (ERREUR, an errno value).
void dire_ecriture_impossible(const char* programme, int erreur);

// Writes TEXTES on standard output, for --help or --version; returns the
// exit status: 0, or 2 once the line above is written when they cannot be.
int afficher_textes(const char* programme, std::initializer_list<const char*> textes);

class Sortie {
  public:
    // PERDUE is called with the error when standard output can no longer be
    // written (a full disk, nobody reading it any more); it must not return.
    explicit Sortie(void (*perdue)(int erreur)) : perdue_(perdue) {}
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

    // Writes the buffer to standard output. The progress line, if one is
    // shown, is erased first.
    void flush();

  private:
    void place(std::size_t n) {
        if (n > sizeof buf_ - n_) {
            flush();
        }
    }

    void (*perdue_)(int erreur);
    char buf_[1 << 16];
    std::size_t n_ = 0;
};
