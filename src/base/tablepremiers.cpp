#include "base/tablepremiers.hpp"

#include <algorithm>
#include <new>
#include <sys/mman.h>

namespace {
constexpr std::size_t CAPACITE_INITIALE = 1 << 16; // entries
}

TablePremiers::~TablePremiers() {
    if (bas_ != nullptr) {
        ::munmap(bas_, cap_bas_ * sizeof *bas_);
    }
    if (haut_ != nullptr) {
        ::munmap(haut_, cap_haut_ * sizeof *haut_);
    }
}

// Grows the mapping P of CAP entries to hold N, at least doubling it.
template <class T> void TablePremiers::etendre(T*& p, std::size_t& cap, std::size_t n) {
    if (n <= cap) {
        return;
    }
    std::size_t nouvelle = std::max({n, cap * 2, CAPACITE_INITIALE});
    if (nouvelle > SIZE_MAX / sizeof(T)) {
        throw std::bad_alloc();
    }
    void* q = p == nullptr ? ::mmap(nullptr, nouvelle * sizeof(T), PROT_READ | PROT_WRITE,
                                    MAP_PRIVATE | MAP_ANONYMOUS | MAP_NORESERVE, -1, 0)
                           : ::mremap(p, cap * sizeof(T), nouvelle * sizeof(T), MREMAP_MAYMOVE);
    if (q == MAP_FAILED) {
        throw std::bad_alloc();
    }
    p = static_cast<T*>(q);
    cap = nouvelle;
    // Large pages: a full table takes 300 faults instead of 150,000.
    ::madvise(p, cap * sizeof(T), MADV_HUGEPAGE);
}

// Room for N entries: the 32-bit part holds every rank below the first
// entry that needs 64 bits; once that entry exists, further ranks go to the
// 64-bit part. Before it, the room is taken in 32 bits: a filler that finds
// a larger value moves the rest to the 64-bit part (placer_haut).
void TablePremiers::reserver(std::size_t n) {
    if (n <= reserve_) {
        return;
    }
    if (bascule_ == SIZE_MAX) {
        etendre(bas_, cap_bas_, n);
    } else {
        etendre(haut_, cap_haut_, n - bascule_);
    }
    reserve_ = n;
}

void TablePremiers::placer_haut(std::size_t r, std::int64_t v) {
    if (bascule_ == SIZE_MAX) {
        bascule_ = r; // the first entry that does not fit in 32 bits
        etendre(haut_, cap_haut_, reserve_ > r ? reserve_ - r : 1);
    }
    haut_[r - bascule_] = v;
}

void TablePremiers::couper_a(std::size_t r) {
    if (bascule_ == SIZE_MAX) {
        bascule_ = r;
        reserve_ = std::min(reserve_, r);
    }
}

void TablePremiers::assign(std::size_t n, std::int64_t v) {
    n_ = 0;
    if (bascule_ != SIZE_MAX) {
        bascule_ = SIZE_MAX;
        reserve_ = cap_bas_;
    }
    for (std::size_t r = 0; r < n; ++r) {
        push_back(v);
    }
}

bool operator==(const TablePremiers& t, const std::vector<std::int64_t>& v) {
    return std::equal(t.begin(), t.end(), v.begin(), v.end());
}
