#pragma once
// Storage of the prime table: entries indexed by rank, 2 bytes and a
// sixteenth each. An entry keeps the low 16 bits of its prime; each run of
// 32 ranks keeps the bits above them for its first prime. Within a run the
// primes span less than 2^16 (a gap between primes below 2^64 is at most
// 1550), so an entry's high bits are its run's, or one more when its low
// bits are below the first's. The 150,000,000 primes of liste.txt take
// 320 MB.
//
// The entries live in blocks that never move once made. One thread makes
// room ahead (reserver); other threads may then write entries in that room
// (placer) while the entries below them are read: what a writer must
// publish to a reader it publishes itself.
//
// Making room may throw std::bad_alloc; the table then holds what it held.
// A sequence that is not of primes (push_back of other values) is kept in
// plain 64-bit entries from its first value that does not fit the scheme.

#include <array>
#include <cstddef>
#include <cstdint>
#include <iterator>
#include <memory>
#include <vector>

class TablePremiers {
  public:
    class const_iterator;

    // Bytes a table of N entries takes, and entries that OCTETS bytes hold.
    static std::uint64_t octets(std::uint64_t n);
    static std::uint64_t entrees(std::uint64_t octets);

    TablePremiers(std::size_t n, std::int64_t v) { assign(n, v); }
    TablePremiers(const TablePremiers&) = delete;
    TablePremiers& operator=(const TablePremiers&) = delete;
    ~TablePremiers();

    std::int64_t operator[](std::size_t r) const {
        if (brut_) [[unlikely]] {
            return (*brut_)[r];
        }
        const std::uint16_t* b = bas_[r >> DECALAGE];
        const std::size_t k = r & MASQUE;
        const std::uint32_t bas = b[k];
        const std::uint64_t haut = haut_[r >> DECALAGE_HAUT][(r / SUITE) & MASQUE_HAUT] +
                                   (bas < b[k & ~(SUITE - 1)] ? 1 : 0);
        return static_cast<std::int64_t>(haut << 16 | bas);
    }
    std::size_t size() const { return n_; }
    std::int64_t back() const { return (*this)[n_ - 1]; }
    const_iterator begin() const;
    const_iterator end() const;

    // Room for N entries in all, so that placing or pushing up to N cannot
    // fail.
    void reserver(std::size_t n);
    void push_back(std::int64_t v);
    void assign(std::size_t n, std::int64_t v);

    // For fillers: entries R to R + N - 1 (in room already made) are the N
    // increasing primes at P. Entries below the size are never rewritten.
    void placer(std::size_t r, const std::uint64_t* p, std::size_t n);
    // The size, once entries up to N - 1 are all set.
    void fixer_taille(std::size_t n) { n_ = n; }

    friend bool operator==(const TablePremiers& t, const std::vector<std::int64_t>& v);

  private:
    static constexpr std::size_t SUITE = 32; // ranks sharing their high bits
    static constexpr int DECALAGE = 21;
    static constexpr std::size_t BLOC = std::size_t{1} << DECALAGE;
    static constexpr std::size_t MASQUE = BLOC - 1;
    static constexpr std::size_t BLOCS = std::size_t{1} << 14; // 34 billion ranks
    // The high bits of 2^24 ranks fill one large page of 2 MB.
    static constexpr int DECALAGE_HAUT = 24;
    static constexpr std::size_t MASQUE_HAUT = (std::size_t{1} << (DECALAGE_HAUT - 5)) - 1;
    static constexpr std::size_t BLOCS_HAUT = BLOCS >> (DECALAGE_HAUT - DECALAGE);
    static_assert(SUITE == 32);

    bool loge(std::size_t r, std::int64_t v) const;

    std::array<std::uint16_t*, BLOCS> bas_{};         // low bits, BLOC ranks a block
    std::array<std::uint32_t*, BLOCS_HAUT> haut_{};   // high bits, 2^24 ranks a block
    std::unique_ptr<std::vector<std::int64_t>> brut_; // the entries, when not primes
    std::size_t reserve_ = 0;                         // entries that have room
    std::size_t n_ = 0;
};

class TablePremiers::const_iterator {
  public:
    using iterator_category = std::random_access_iterator_tag;
    using value_type = std::int64_t;
    using difference_type = std::ptrdiff_t;
    using pointer = void;
    using reference = std::int64_t;

    const_iterator() = default;
    const_iterator(const TablePremiers* t, difference_type r) : t_(t), r_(r) {}
    std::int64_t operator*() const { return (*t_)[static_cast<std::size_t>(r_)]; }
    std::int64_t operator[](difference_type d) const { return *(*this + d); }
    const_iterator& operator++() { return ++r_, *this; }
    const_iterator& operator--() { return --r_, *this; }
    const_iterator operator++(int) { return {t_, r_++}; }
    const_iterator operator--(int) { return {t_, r_--}; }
    const_iterator& operator+=(difference_type d) { return r_ += d, *this; }
    const_iterator& operator-=(difference_type d) { return r_ -= d, *this; }
    friend const_iterator operator+(const_iterator i, difference_type d) { return i += d; }
    friend const_iterator operator+(difference_type d, const_iterator i) { return i += d; }
    friend const_iterator operator-(const_iterator i, difference_type d) { return i -= d; }
    friend difference_type operator-(const_iterator a, const_iterator b) { return a.r_ - b.r_; }
    friend bool operator==(const_iterator a, const_iterator b) { return a.r_ == b.r_; }
    friend auto operator<=>(const_iterator a, const_iterator b) { return a.r_ <=> b.r_; }

  private:
    const TablePremiers* t_ = nullptr;
    difference_type r_ = 0;
};

inline TablePremiers::const_iterator TablePremiers::begin() const {
    return {this, 0};
}
inline TablePremiers::const_iterator TablePremiers::end() const {
    return {this, static_cast<std::ptrdiff_t>(n_)};
}
