#include "base/tablepremiers.hpp"

#include <algorithm>
#include <new>
#include <sys/mman.h>

namespace {
constexpr std::size_t CAPACITE_INITIALE = 1 << 16; // entries: one 512 KiB mapping
}

TablePremiers::~TablePremiers() {
    if (p_ != nullptr) {
        ::munmap(p_, cap_ * sizeof *p_);
    }
}

void TablePremiers::agrandir() {
    std::size_t cap = std::max(cap_ * 2, CAPACITE_INITIALE);
    void* q = p_ == nullptr ? ::mmap(nullptr, cap * sizeof *p_, PROT_READ | PROT_WRITE,
                                     MAP_PRIVATE | MAP_ANONYMOUS | MAP_NORESERVE, -1, 0)
                            : ::mremap(p_, cap_ * sizeof *p_, cap * sizeof *p_, MREMAP_MAYMOVE);
    if (q == MAP_FAILED) {
        throw std::bad_alloc();
    }
    p_ = static_cast<std::int64_t*>(q);
    cap_ = cap;
    // Large pages: a full table takes 600 faults instead of 300,000.
    ::madvise(p_, cap_ * sizeof *p_, MADV_HUGEPAGE);
}

void TablePremiers::assign(std::size_t n, std::int64_t v) {
    n_ = 0;
    for (std::size_t r = 0; r < n; ++r) {
        push_back(v);
    }
}

bool operator==(const TablePremiers& t, const std::vector<std::int64_t>& v) {
    return std::equal(t.begin(), t.end(), v.begin(), v.end());
}
