#pragma once
// Forward-only reader of liste.txt: white-space-separated decimal values read
// through a large buffer. Once a token is not a 64-bit value, or the file
// cannot be read, the reader is exhausted for good.

#include "base/tablepremiers.hpp"

#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <mutex>

class FluxListe {
  public:
    // Opens the file; nothing is reported when it cannot be opened.
    explicit FluxListe(const char* nom) { ouvrir(nom); }
    FluxListe() = default; // exhausted until ouvrir
    FluxListe(const FluxListe&) = delete;
    FluxListe& operator=(const FluxListe&) = delete;
    ~FluxListe() { fermer(); }

    // Closes the current file and opens NOM from its start.
    void ouvrir(const char* nom);
    void fermer();

    // The file's offset of the next byte to read: just after the last value.
    std::uint64_t position() const { return lu_ - (fin_ - debut_); }

    // Reads the next token into V. Returns false, and stays exhausted, at the
    // end of the file, on a read error or on a token that is not an optional
    // sign followed by decimal digits fitting in a signed 64-bit integer.
    bool lire(std::int64_t& v) { return (fin_ - debut_ >= 2 * AVANCE && rapide(v)) || lent(v); }
    bool epuise() const { return fd_ < 0; }

    // Moves past the values that are, from here, each a newline and then the
    // decimal text of ATTENDUS[DE], ATTENDUS[DE + 1], ... (at most N of them,
    // all above 0 and increasing), followed by a newline: what reading them
    // one by one would read, without the reading. Returns how many. Where the
    // text has another form, lire goes on from there.
    template <class Attendus>
    std::size_t passer_lignes(const Attendus& attendus, std::size_t de, std::size_t n);

    // Longest token that can still be a value ("-9223372036854775808"), plus
    // the byte after it, with room to spare.
    static constexpr std::size_t AVANCE = 32;

  private:
    static bool blanc(char c) {
        return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
    }
    bool rapide(std::int64_t& v);
    bool lent(std::int64_t& v);
    bool garantir(std::size_t n);
    bool tampon_plein() {
        return (fin_ - debut_ >= 2 * AVANCE || garantir(2 * AVANCE)) && fin_ - debut_ >= 2 * AVANCE;
    }
    bool passer(bool (*passe)(char));
    bool jeton(std::int64_t& v);

    int fd_ = -1;
    bool fin_fichier_ = false;
    std::uint64_t lu_ = 0; // the file's offset of buf_[fin_]
    std::unique_ptr<char[]> buf_;
    std::size_t debut_ = 0;
    std::size_t fin_ = 0;
};

// liste.txt as the program holds it: its values are checked against the
// prime table by one thread of its own (verifier), behind the table's fill,
// as far as the fill asks (demander). Any other thread may look at where the
// reading stands: epuise() and position() first wait until every value
// asked for is checked, or the file is done.
class FichierListe {
  public:
    explicit FichierListe(const char* nom) : lecteur_(nom) {}

    // Opens NOM from its start; no check may be under way (see suspendre).
    void ouvrir(const char* nom);
    bool epuise();
    std::uint64_t position();

    // The values up to rank R are to be checked (R only grows).
    void demander(std::int64_t r);
    // The check asked for is dropped once the stretch under way ends.
    void suspendre();
    // Where no checking thread runs: the values up to rank R, checked here.
    void verifier_ici(const TablePremiers& table, std::int64_t r);

    // The checking thread's work, until arreter: the values asked for
    // against TABLE (whose entries up to the rank asked for are set), a
    // stretch at a time. At the first value that is not the prime of its
    // rank (or no value at all) the file is read no further.
    void verifier(const TablePremiers& table);
    void arreter();

  private:
    static constexpr std::int64_t PREMIER_RANG = 3; // of the file's first value
    static constexpr std::int64_t TRONCON = 1 << 16;

    bool attendre_demande(std::int64_t& de, std::int64_t& a);
    std::int64_t verifier(const TablePremiers& table, std::int64_t de, std::int64_t a);
    std::int64_t fait(std::int64_t r);

    std::mutex m_;
    std::condition_variable cv_;
    FluxListe lecteur_;                       // the checking thread's while occupe_
    std::int64_t demande_ = PREMIER_RANG - 1; // ranks to check
    std::int64_t verifie_ = PREMIER_RANG - 1; // ranks checked
    bool occupe_ = false;                     // a stretch is being checked
    bool arret_ = false;
};

namespace fluxliste_detail {

// Bytes of W (the first byte of the text in the lowest one) that are not
// decimal digits, marked by their high bit.
inline std::uint64_t non_chiffres(std::uint64_t w) {
    constexpr std::uint64_t HAUT = 0xF0F0F0F0F0F0F0F0;
    constexpr std::uint64_t TRENTE = 0x3030303030303030;
    std::uint64_t z = ((w & HAUT) ^ TRENTE) | (((w + 0x0606060606060606) & HAUT) ^ TRENTE);
    return (z | ((z & 0x7F7F7F7F7F7F7F7F) + 0x7F7F7F7F7F7F7F7F)) & 0x8080808080808080;
}

// Value of the first N (1 to 8) bytes of W, all digits.
inline std::uint64_t valeur_chiffres(std::uint64_t w, int n) {
    std::uint64_t d = (w - 0x3030303030303030) << (8 * (8 - n));
    d = (d * 10 + (d >> 8)) & 0x00FF00FF00FF00FF;
    d = (d * 100 + (d >> 16)) & 0x0000FFFF0000FFFF;
    return (d * 10000 + (d >> 32)) & 0xFFFFFFFF;
}

// The eight decimal digits of X (below 10^8, leading zeros included) in
// ASCII, the first in the lowest byte: split in halves, quarters and digits
// in the lanes of one word.
inline std::uint64_t huit_chiffres(std::uint64_t x) {
    std::uint64_t y = x / 10000 | (x % 10000) << 32;            // abcd, efgh
    std::uint64_t z = ((y * 10486) >> 20) & 0x0000007F0000007F; // ab, ef
    z |= (y - z * 100) << 16;                                   // ab, cd, ef, gh
    std::uint64_t u = ((z * 103) >> 10) & 0x000F000F000F000F;   // a, c, e, g
    u |= (z - u * 10) << 8;
    return u | 0x3030303030303030;
}

// Whether the N bytes at P (1 to 15) then a newline are the decimal text of
// V, which has N digits. Sixteen bytes are readable at P. The text of V is
// built and compared, so that no byte needs to be checked for a digit.
inline bool ligne_de(const char* p, int n, std::uint64_t v) {
    if (p[n] != '\n') {
        return false;
    }
    std::uint64_t a = 0;
    std::memcpy(&a, p, 8);
    if (n < 8) {
        return (a & ((1ULL << (8 * n)) - 1)) == huit_chiffres(v) >> (8 * (8 - n));
    }
    const std::uint64_t haut = v / 100000000;
    const std::uint64_t bas = huit_chiffres(v % 100000000);
    if (n == 8) {
        return a == bas;
    }
    std::uint64_t b = 0;
    std::memcpy(&b, p + n - 8, 8);
    if (b != bas) {
        return false;
    }
    // The first N - 8 digits, in A's lowest bytes.
    const int m = n - 8;
    return (a & ((1ULL << (8 * m)) - 1)) == huit_chiffres(haut) >> (8 * (8 - m));
}

} // namespace fluxliste_detail

template <class Attendus>
std::size_t FluxListe::passer_lignes(const Attendus& attendus, std::size_t de, std::size_t n) {
    using namespace fluxliste_detail;
    std::size_t k = 0;
    int chiffres = 1; // of the values below SEUIL
    std::uint64_t seuil = 10;
    while (k < n && fd_ >= 0 && tampon_plein() && buf_[debut_] == '\n') {
        const char* p = buf_.get() + debut_;
        const char* const limite = buf_.get() + fin_ - AVANCE;
        for (; k < n && p < limite; ++k) {
            auto v = static_cast<std::uint64_t>(attendus[de + k]);
            while (v >= seuil && chiffres < 15) {
                ++chiffres;
                seuil *= 10;
            }
            if (v >= seuil || !ligne_de(p + 1, chiffres, v)) {
                debut_ = static_cast<std::size_t>(p - buf_.get());
                return k;
            }
            p += chiffres + 1;
        }
        debut_ = static_cast<std::size_t>(p - buf_.get());
    }
    return k;
}

// The common case, in the middle of the buffer: a short run of white space,
// then at most 16 plain digits without a leading zero, read eight at a time.
// Anything else is left to lent, which reads every form.
inline bool FluxListe::rapide(std::int64_t& v) {
    using namespace fluxliste_detail;
    const char* p = buf_.get() + debut_;
    const char* const limite = buf_.get() + fin_ - AVANCE;
    while (p < limite && blanc(*p)) {
        ++p;
    }
    if (p >= limite || *p < '1' || *p > '9') {
        return false;
    }
    std::uint64_t a = 0;
    std::uint64_t b = 0;
    std::memcpy(&a, p, 8);
    std::memcpy(&b, p + 8, 8);
    std::uint64_t na = non_chiffres(a);
    std::uint64_t x = 0;
    int n = 0;
    if (na != 0) {
        n = __builtin_ctzll(na) / 8;
        x = valeur_chiffres(a, n);
    } else {
        std::uint64_t nb = non_chiffres(b);
        if (nb == 0) {
            return false;
        }
        int m = __builtin_ctzll(nb) / 8;
        n = 8 + m;
        x = valeur_chiffres(a, 8);
        if (m > 0) {
            static constexpr std::uint64_t PUISSANCE[] = {1,     10,     100,     1000,
                                                          10000, 100000, 1000000, 10000000};
            x = x * PUISSANCE[m] + valeur_chiffres(b, m);
        }
    }
    p += n;
    if (!blanc(*p)) {
        return false;
    }
    v = static_cast<std::int64_t>(x);
    debut_ = static_cast<std::size_t>(p - buf_.get());
    return true;
}
