#include "base/tablepremiers.hpp"

#include <algorithm>
#include <cstdint>
#include <new>
#include <sys/mman.h>

namespace {

constexpr std::size_t GRANDE_PAGE = std::size_t{2} << 20;

// OCTETS of fresh memory, aligned on a large page so that the system can
// back it with large pages: a full table then takes hundreds of faults, not
// 80,000. Its pages come from the system when first written.
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
    if (std::uintptr_t fin = aligne + octets; fin < debut + large) {
        ::munmap(reinterpret_cast<void*>(fin), debut + large - fin);
    }
    ::madvise(reinterpret_cast<void*>(aligne), octets, MADV_HUGEPAGE);
    return reinterpret_cast<void*>(aligne);
}

} // namespace

std::uint64_t TablePremiers::octets(std::uint64_t n) {
    return 2 * n + 4 * ((n + SUITE - 1) / SUITE);
}

std::uint64_t TablePremiers::entrees(std::uint64_t octets) {
    return octets / (2 * SUITE + 4) * SUITE; // whole runs of SUITE ranks
}

namespace {

template <class T, std::size_t N> void liberer(std::array<T*, N>& blocs, std::size_t octets) {
    for (T* b : blocs) {
        if (b != nullptr) {
            ::munmap(b, octets);
        }
    }
}

// Blocks of ENTREES entries each for the first N entries.
template <class T, std::size_t N>
void faire_blocs(std::array<T*, N>& blocs, std::size_t entrees, std::size_t n) {
    std::size_t nombre = (n + entrees - 1) / entrees;
    if (nombre > N) {
        throw std::bad_alloc();
    }
    for (std::size_t k = 0; k < nombre; ++k) {
        if (blocs[k] == nullptr) {
            blocs[k] = static_cast<T*>(carte(entrees * sizeof(T)));
        }
    }
}

} // namespace

TablePremiers::~TablePremiers() {
    liberer(bas_, BLOC * sizeof(std::uint16_t));
    liberer(haut_, (MASQUE_HAUT + 1) * sizeof(std::uint32_t));
}

void TablePremiers::reserver(std::size_t n) {
    if (n <= reserve_) {
        return;
    }
    faire_blocs(bas_, BLOC, n);
    faire_blocs(haut_, MASQUE_HAUT + 1, (n + SUITE - 1) / SUITE);
    reserve_ = n;
}

void TablePremiers::placer(std::size_t r, const std::uint64_t* p, std::size_t n) {
    while (n > 0) {
        std::uint16_t* b = bas_[r >> DECALAGE];
        const std::size_t k = r & MASQUE;
        const std::size_t m = std::min(n, BLOC - k);
        for (std::size_t j = 0; j < m; ++j) {
            b[k + j] = static_cast<std::uint16_t>(p[j]);
        }
        for (std::size_t j = (SUITE - k % SUITE) % SUITE; j < m; j += SUITE) {
            const std::size_t t = r + j;
            haut_[t >> DECALAGE_HAUT][(t / SUITE) & MASQUE_HAUT] =
                static_cast<std::uint32_t>(p[j] >> 16);
        }
        r += m;
        p += m;
        n -= m;
    }
}

// Whether V can be entry R, the entries before it being set.
bool TablePremiers::loge(std::size_t r, std::int64_t v) const {
    if (v < 0 || v >= std::int64_t{1} << 48) {
        return false;
    }
    if (r % SUITE == 0) {
        return true;
    }
    std::int64_t premier = (*this)[r - r % SUITE];
    return v >= premier && v - premier < std::int64_t{1} << 16;
}

void TablePremiers::push_back(std::int64_t v) {
    if (!brut_ && !loge(n_, v)) {
        auto brut = std::make_unique<std::vector<std::int64_t>>(begin(), end());
        brut_ = std::move(brut);
    }
    if (brut_) {
        brut_->push_back(v);
    } else {
        reserver(n_ + 1);
        auto u = static_cast<std::uint64_t>(v);
        placer(n_, &u, 1);
    }
    ++n_;
}

void TablePremiers::assign(std::size_t n, std::int64_t v) {
    brut_.reset();
    n_ = 0;
    for (std::size_t r = 0; r < n; ++r) {
        push_back(v);
    }
}

bool operator==(const TablePremiers& t, const std::vector<std::int64_t>& v) {
    return std::equal(t.begin(), t.end(), v.begin(), v.end());
}
