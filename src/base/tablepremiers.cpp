#include "base/tablepremiers.hpp"

#include <algorithm>
#include <cstdint>
#include <new>
#include <sys/mman.h>

namespace {

constexpr std::size_t GRANDE_PAGE = std::size_t{2} << 20;

// OCTETS of fresh memory, aligned on a large page so that the system can
// back it with large pages: a full table then takes 300 faults, not 150,000.
// Its pages come from the system when first written.
void* carte(std::size_t octets) {
    std::size_t large = octets + GRANDE_PAGE;
    void* p = ::mmap(nullptr, large, PROT_READ | PROT_WRITE,
                     MAP_PRIVATE | MAP_ANONYMOUS | MAP_NORESERVE, -1, 0);
    if (p == MAP_FAILED) {
        throw std::bad_alloc();
    }
    auto debut = reinterpret_cast<std::uintptr_t>(p);
    auto aligne = (debut + GRANDE_PAGE - 1) & ~(GRANDE_PAGE - 1);
    if (aligne > debut) {
        ::munmap(p, aligne - debut);
    }
    if (std::size_t fin = aligne + octets; fin < debut + large) {
        ::munmap(reinterpret_cast<void*>(fin), debut + large - fin);
    }
    ::madvise(reinterpret_cast<void*>(aligne), octets, MADV_HUGEPAGE);
    return reinterpret_cast<void*>(aligne);
}

template <class T, std::size_t N> void liberer(std::array<T*, N>& blocs, std::size_t octets) {
    for (T*& b : blocs) {
        if (b != nullptr) {
            ::munmap(b, octets);
            b = nullptr;
        }
    }
}

} // namespace

std::uint64_t TablePremiers::octets(std::uint64_t n) {
    constexpr std::uint64_t N32 = RANG_32 + 1;
    return 4 * std::min(n, N32) + 8 * (n > N32 ? n - N32 : 0);
}

TablePremiers::~TablePremiers() {
    liberer(bas_, BLOC * sizeof(std::uint32_t));
    liberer(haut_, BLOC * sizeof(std::int64_t));
}

// Blocks for the first ENTREES entries of a part.
template <class T, std::size_t N>
void TablePremiers::faire_blocs(std::array<T*, N>& blocs, std::size_t entrees) {
    std::size_t nombre = (entrees + BLOC - 1) / BLOC;
    if (nombre > N) {
        throw std::bad_alloc();
    }
    for (std::size_t k = 0; k < nombre; ++k) {
        if (blocs[k] == nullptr) {
            blocs[k] = static_cast<T*>(carte(BLOC * sizeof(T)));
        }
    }
}

void TablePremiers::reserver(std::size_t n) {
    if (n <= reserve_) {
        return;
    }
    faire_blocs(bas_, std::min(n, bascule_));
    if (n > bascule_) {
        faire_blocs(haut_, n - bascule_);
    }
    reserve_ = n;
}

void TablePremiers::push_back(std::int64_t v) {
    if (n_<bascule_&& static_cast<std::uint64_t>(v)> UINT32_MAX) {
        bascule_ = n_; // not a prime table: 64 bits from here on
        reserve_ = std::min(reserve_, n_);
    }
    reserver(n_ + 1);
    placer(n_, v);
    ++n_;
}

// A block at a time, in a loop the compiler turns into vector moves.
void TablePremiers::placer(std::size_t r, const std::uint64_t* p, std::size_t n) {
    while (n > 0) {
        std::size_t place = BLOC - ((r < bascule_ ? r : r - bascule_) & MASQUE);
        std::size_t m = std::min(n, r < bascule_ ? std::min(place, bascule_ - r) : place);
        if (r < bascule_) {
            std::uint32_t* d = bas_[r >> DECALAGE] + (r & MASQUE);
            for (std::size_t j = 0; j < m; ++j) {
                d[j] = static_cast<std::uint32_t>(p[j]);
            }
        } else {
            std::size_t h = r - bascule_;
            std::int64_t* d = haut_[h >> DECALAGE] + (h & MASQUE);
            for (std::size_t j = 0; j < m; ++j) {
                d[j] = static_cast<std::int64_t>(p[j]);
            }
        }
        r += m;
        p += m;
        n -= m;
    }
}

void TablePremiers::assign(std::size_t n, std::int64_t v) {
    n_ = 0;
    bascule_ = RANG_32 + 1;
    reserve_ = 0;
    for (std::size_t r = 0; r < n; ++r) {
        push_back(v);
    }
}

bool operator==(const TablePremiers& t, const std::vector<std::int64_t>& v) {
    return std::equal(t.begin(), t.end(), v.begin(), v.end());
}
