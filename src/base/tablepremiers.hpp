#pragma once
// Storage of the prime table: entries indexed by rank, in 32 bits while they
// fit and in 64 bits from the first one that does not (every prime of
// liste.txt fits in 32 bits, so the full file takes 600 MB, not 1.2 GB).
// Each part is one contiguous mapping that grows at its end without copying
// or clearing what it holds: its pages come straight from the system and are
// moved, not copied, when it grows.
//
// Growing may throw std::bad_alloc; the table then holds what it held.

#include <cstddef>
#include <cstdint>
#include <iterator>
#include <vector>

class TablePremiers {
  public:
    class const_iterator;

    TablePremiers(std::size_t n, std::int64_t v) { assign(n, v); }
    TablePremiers(const TablePremiers&) = delete;
    TablePremiers& operator=(const TablePremiers&) = delete;
    ~TablePremiers();

    std::int64_t operator[](std::size_t r) const {
        return r < bascule_ ? static_cast<std::int64_t>(bas_[r]) : haut_[r - bascule_];
    }
    std::size_t size() const { return n_; }
    std::int64_t back() const { return (*this)[n_ - 1]; }
    const_iterator begin() const;
    const_iterator end() const;

    // Room for N entries in all, so that pushing up to N cannot fail.
    void reserver(std::size_t n);
    // Room for one more entry.
    void reserver_un() { reserver(n_ + 1); }
    void push_back(std::int64_t v) {
        reserver_un();
        placer(n_, v);
        ++n_;
    }
    void assign(std::size_t n, std::int64_t v);

    // For a filler that writes ahead: sets entry R (size() <= R < reserved
    // room, entries in increasing order of R), then the size once entries up
    // to N - 1 are all set. Entries below the size are never rewritten.
    void placer(std::size_t r, std::int64_t v) {
        if (r < bascule_ && static_cast<std::uint64_t>(v) <= UINT32_MAX) {
            bas_[r] = static_cast<std::uint32_t>(v);
        } else {
            placer_haut(r, v);
        }
    }
    void fixer_taille(std::size_t n) { n_ = n; }
    // Entries from rank R on (R >= size()) are kept in 64 bits: the room made
    // from then on is taken there.
    void couper_a(std::size_t r);

    friend bool operator==(const TablePremiers& t, const std::vector<std::int64_t>& v);

  private:
    void placer_haut(std::size_t r, std::int64_t v);
    template <class T> static void etendre(T*& p, std::size_t& cap, std::size_t n);

    std::uint32_t* bas_ = nullptr; // entries 0 to bascule_ - 1
    std::int64_t* haut_ = nullptr; // entries from bascule_ on
    std::size_t bascule_ = SIZE_MAX;
    std::size_t cap_bas_ = 0;
    std::size_t cap_haut_ = 0;
    std::size_t reserve_ = 0; // entries that can be placed without growing
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
