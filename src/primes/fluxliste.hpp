#pragma once
// Forward-only reader of liste.txt: white-space-separated decimal values read
// through a large buffer. Once a token is not a 64-bit value, or the file
// cannot be read, the reader is exhausted for good.

#include <cstddef>
#include <cstdint>
#include <memory>

class FluxListe {
  public:
    // Opens the file; nothing is reported when it cannot be opened.
    explicit FluxListe(const char *nom) { ouvrir(nom); }
    FluxListe(const FluxListe &) = delete;
    FluxListe &operator=(const FluxListe &) = delete;
    ~FluxListe() { fermer(); }

    // Closes the current file and opens NOM from its start.
    void ouvrir(const char *nom);
    void fermer();

    // Reads the next token into V. Returns false, and stays exhausted, at the
    // end of the file, on a read error or on a token that is not an optional
    // sign followed by decimal digits fitting in a signed 64-bit integer.
    bool lire(std::int64_t &v);
    bool epuise() const { return fd_ < 0; }

  private:
    bool garantir(std::size_t n);
    bool passer(bool (*passe)(char));
    bool jeton(std::int64_t &v);

    int fd_ = -1;
    bool fin_fichier_ = false;
    std::unique_ptr<char[]> buf_;
    std::size_t debut_ = 0;
    std::size_t fin_ = 0;
};
