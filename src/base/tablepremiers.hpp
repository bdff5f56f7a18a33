#pragma once
// Storage of the prime table: entries indexed by rank, in 32 bits for the
// primes below 2^32 (ranks up to RANG_32) and in 64 bits beyond, so that the
// 150,000,000 primes of liste.txt take 600 MB, not 1.2 GB.
//
// The entries live in blocks of BLOC entries that never move once made. One
// thread makes room ahead (reserver); other threads may then write entries
// in that room (placer) while the entries below them are read: what a
// writer must publish to a reader it publishes itself.
//
// Making room may throw std::bad_alloc; the table then holds what it held.
// A sequence that is not made of primes (push_back of any increasing values)
// switches to 64 bits at its first value that does not fit in 32.

#include <array>
#include <cstddef>
#include <cstdint>
#include <iterator>
#include <vector>

class TablePremiers {
  public:
    class const_iterator;

    // The rank of the last prime below 2^32.
    static constexpr std::size_t RANG_32 = 203'280'221;
    // Bytes a table of N entries takes (entries 0 to N - 1 of primes).
    static std::uint64_t octets(std::uint64_t n);

    TablePremiers(std::size_t n, std::int64_t v) { assign(n, v); }
    TablePremiers(const TablePremiers&) = delete;
    TablePremiers& operator=(const TablePremiers&) = delete;
    ~TablePremiers();

    std::int64_t operator[](std::size_t r) const {
        if (r < bascule_) {
            return bas_[r >> DECALAGE][r & MASQUE];
        }
        r -= bascule_;
        return haut_[r >> DECALAGE][r & MASQUE];
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

    // For fillers: sets entry R (in room already made), a prime. Entries
    // below the size are never rewritten.
    void placer(std::size_t r, std::int64_t v) {
        if (r < bascule_) {
            bas_[r >> DECALAGE][r & MASQUE] = static_cast<std::uint32_t>(v);
        } else {
            r -= bascule_;
            haut_[r >> DECALAGE][r & MASQUE] = v;
        }
    }
    // The same for entries R to R + N - 1, the N primes at P.
    void placer(std::size_t r, const std::uint64_t* p, std::size_t n);
    // The size, once entries up to N - 1 are all set.
    void fixer_taille(std::size_t n) { n_ = n; }

    friend bool operator==(const TablePremiers& t, const std::vector<std::int64_t>& v);

  private:
    static constexpr int DECALAGE = 21;
    static constexpr std::size_t BLOC = std::size_t{1} << DECALAGE;
    static constexpr std::size_t MASQUE = BLOC - 1;
    static constexpr std::size_t BLOCS_32 = (RANG_32 + BLOC) / BLOC;
    static constexpr std::size_t BLOCS_64 = std::size_t{1} << 15;

    template <class T, std::size_t N>
    static void faire_blocs(std::array<T*, N>& blocs, std::size_t entrees);

    std::array<std::uint32_t*, BLOCS_32> bas_{}; // entries 0 to bascule_ - 1
    std::array<std::int64_t*, BLOCS_64> haut_{}; // entries from bascule_ on
    std::size_t bascule_ = RANG_32 + 1;
    std::size_t reserve_ = 0; // entries that have room
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
