#pragma once
// Storage of the prime table: a contiguous array of 64-bit entries that grows
// at the end without ever copying or clearing what it holds. Its pages come
// straight from the system and are moved, not copied, when it grows, so
// loading 150,000,000 ranks costs no more than touching 1.2 GB once.

#include <cstddef>
#include <cstdint>
#include <vector>

class TablePremiers {
  public:
    using value_type = std::int64_t;
    using iterator = std::int64_t*;
    using const_iterator = const std::int64_t*;

    TablePremiers(std::size_t n, std::int64_t v) { assign(n, v); }
    TablePremiers(const TablePremiers&) = delete;
    TablePremiers& operator=(const TablePremiers&) = delete;
    ~TablePremiers();

    std::int64_t& operator[](std::size_t r) { return p_[r]; }
    const std::int64_t& operator[](std::size_t r) const { return p_[r]; }
    std::size_t size() const { return n_; }
    std::int64_t* begin() { return p_; }
    std::int64_t* end() { return p_ + n_; }
    const std::int64_t* begin() const { return p_; }
    const std::int64_t* end() const { return p_ + n_; }
    const std::int64_t* data() const { return p_; }
    std::int64_t back() const { return p_[n_ - 1]; }

    // Room for one more entry, so that the next push_back cannot fail.
    // Throws std::bad_alloc, holding what it held, when memory runs out.
    void reserver_un() {
        if (n_ == cap_) {
            agrandir();
        }
    }
    void push_back(std::int64_t v) {
        reserver_un();
        p_[n_++] = v;
    }
    void assign(std::size_t n, std::int64_t v);

    friend bool operator==(const TablePremiers& t, const std::vector<std::int64_t>& v);

  private:
    void agrandir();

    std::int64_t* p_ = nullptr;
    std::size_t n_ = 0;
    std::size_t cap_ = 0;
};
