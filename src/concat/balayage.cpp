#include "concat/balayage.hpp"

#include "concat/reglages.hpp"
#include "primes/arith64.hpp"

#include <algorithm>
#include <bit>
#include <charconv>

namespace {

// The last digits 1, 3, 7 and 9 as bits (d - 1) / 2: the "lanes" of a block.
constexpr unsigned TOUTES = 0x1B;

// The lanes of the last digits from DMIN to DMAX.
unsigned voies_entre(int dmin, int dmax) {
    unsigned v = 0;
    for (int d : {1, 3, 7, 9}) {
        if (d >= dmin && d <= dmax) {
            v |= 1u << (d / 2);
        }
    }
    return v;
}

int chiffres(std::uint64_t v) {
    int c = 1;
    for (; v >= 10; v /= 10) {
        ++c;
    }
    return c;
}

// Number of lanes in a set of lanes.
constexpr std::uint8_t VOIES[32] = {0, 1, 1, 2, 1, 2, 2, 3, 1, 2, 2, 3, 2, 3, 3, 4,
                                    1, 2, 2, 3, 2, 3, 3, 4, 2, 3, 3, 4, 3, 4, 4, 5};

} // namespace

Balayage::Balayage(const Impairs& table, bool premiers, bool liste, std::uint64_t crible,
                   std::uint64_t fin)
    : table_(table), premiers_(premiers), liste_(liste), limite_r_(table.borne() / 10),
      fin_crible_(std::min(fin, crible)), q_crible_(crible / 10),
      saut_(std::max(SAUT_MIN, 4 * isqrt64(fin_crible_))) {
    dix_[0] = 1;
    for (int i = 1; i < MAX; ++i) {
        dix_[i] = dix_[i - 1] * 10;
    }
}

// Q of N - 1 digits (none when N is 1).
void Balayage::placer(int n, std::uint64_t q) {
    n_ = n;
    q_ = q;
    for (int k = n - 1; k >= 1; --k, q /= 10) {
        chiffre_[k] = static_cast<int>(q % 10);
        texte_[k - 1] = static_cast<char>('0' + chiffre_[k]);
    }
    valeur_[0] = 0;
    compte_[0] = 1;
    valide_ = 0;
    zeros_ = 0;
    for (int k = n - 1; k > 1 && chiffre_[k] == 0; --k) {
        ++zeros_;
    }
}

// Q + 1, still of N - 1 digits: the digits after the one that changed are
// zeros, and the counts from that one on no longer hold.
void Balayage::avancer() {
    int p = n_ - 1;
    while (chiffre_[p] == 9) {
        chiffre_[p] = 0;
        texte_[p - 1] = '0';
        --p;
    }
    ++chiffre_[p];
    ++texte_[p - 1];
    valide_ = std::min(valide_, p - 1);
    zeros_ = n_ - 1 - p;
    ++q_;
}

void Balayage::completer() {
    for (int k = valide_ + 1; k < n_; ++k) {
        valeur_[k] = valeur_[k - 1] * 10 + static_cast<std::uint64_t>(chiffre_[k]);
        compte_[k] = compte_prefixe(k);
    }
    valide_ = std::max(valide_, n_ - 1);
}

// The splits of the first K digits of Q, from the shortest last piece up;
// only whether there is one, unless every count is wanted.
std::uint64_t Balayage::compte_prefixe(int k) const {
    std::uint64_t s = 0;
    for (int j = k - 1; j >= 0; --j) {
        if (compte_[j] != 0 && table_.premier(valeur_[k] - valeur_[j] * dix_[k - j])) {
            if (!liste_) {
                return 1;
            }
            s += compte_[j];
        }
    }
    return s;
}

// Primality, among VOIES, of 10R + d: from the table while it holds them,
// otherwise tested one by one.
unsigned Balayage::quatre_valeurs(std::uint64_t r, unsigned voies) const {
    if (r < limite_r_) {
        return table_.quatre(r) & voies;
    }
    unsigned b = 0;
    for (unsigned v = voies; v != 0; v &= v - 1) {
        auto voie = static_cast<unsigned>(std::countr_zero(v));
        if (Impairs::premier_au_dela(10 * r + 2 * voie + 1)) {
            b |= 1u << voie;
        }
    }
    return b;
}

// Primality, among VOIES, of the pieces that follow the first J digits
// (J >= 1) and end at the last digit of 10Q + d: 10R + d, R the digits of Q
// after the first J.
unsigned Balayage::quatre(int j, unsigned voies) const {
    return quatre_valeurs(q_ - valeur_[j] * dix_[n_ - 1 - j], voies);
}

// Primality, among VOIES, of the numbers 10Q + d themselves.
unsigned Balayage::quatre_N(unsigned voies) {
    if (voies == 0) {
        return 0;
    }
    if (q_ < limite_r_ || q_ >= q_crible_) {
        return quatre_valeurs(q_, voies);
    }
    const std::uint64_t base = 10 * q_;
    if (base != base_crible_) {
        if (prochain_ == 0 || (prochain_ < base && base - prochain_ > saut_)) {
            crible_it_.jump_to(base, fin_crible_);
            prochain_ = crible_it_.next_prime();
        }
        while (prochain_ < base) {
            prochain_ = crible_it_.next_prime();
        }
        masque_crible_ = 0;
        for (; prochain_ < base + 10; prochain_ = crible_it_.next_prime()) {
            masque_crible_ |= 1u << ((prochain_ - base) >> 1); // base is above 10: lanes only
        }
        base_crible_ = base; // kept for a block cut between two stretches
    }
    return masque_crible_ & voies;
}

// The splits of the first N - 1 digits after which a piece ending in 2 or 5
// is that digit alone after zeros: the only prime among those pieces.
std::uint64_t Balayage::apres_zeros() const {
    std::uint64_t s = 0;
    for (int j = n_ - 1 - zeros_; j < n_; ++j) {
        s += compte_[j];
    }
    return s;
}

// The lanes among VOIES whose number has a split with more than one piece,
// each piece looked at only while it can still add a lane.
unsigned Balayage::en_plusieurs(unsigned voies) {
    completer();
    unsigned trouve = 0;
    for (int j = n_ - 1; j >= 1 && trouve != voies; --j) {
        if (compte_[j] != 0) {
            trouve |= quatre(j, voies & ~trouve);
        }
    }
    return trouve;
}

// Count only: the numbers 10Q + d, d among VOIES (and DEUX_CINQ of 2 and 5),
// that qualify. Under choice 3 a number needs to be prime and to split in
// more than one piece; its primality is looked at first when it costs
// little, last when it is a test.
void Balayage::bloc_nombres(unsigned voies, int deux_cinq, Tranche& t) {
    unsigned retenues = 0;
    if (premiers_) {
        bool rapide = q_ < limite_r_ || q_ < q_crible_;
        if (rapide) {
            voies = quatre_N(voies);
        }
        retenues = voies == 0 ? 0 : en_plusieurs(voies);
        if (!rapide) {
            retenues = quatre_N(retenues);
        }
    } else {
        retenues = en_plusieurs(voies);
        if (retenues != voies) {
            retenues |= quatre_N(voies & ~retenues);
        }
        if (deux_cinq > 0 && apres_zeros() != 0) {
            t.nombre += static_cast<std::uint64_t>(deux_cinq);
        }
    }
    t.nombre += VOIES[retenues];
}

// Full list: the numbers 10Q + d, DMIN <= d <= DMAX, that qualify, with
// their exact counts.
void Balayage::bloc_liste(unsigned voies, int dmin, int dmax, Tranche& t) {
    bool rapide = q_ < limite_r_ || q_ < q_crible_;
    unsigned premiers_N = 0;
    if (premiers_ && rapide) {
        voies = quatre_N(voies);
        premiers_N = voies;
        if (voies == 0) {
            return;
        }
    }
    completer();
    std::uint64_t compte[5] = {};
    for (int j = n_ - 1; j >= 1; --j) {
        if (compte_[j] != 0) {
            for (unsigned b = quatre(j, voies); b != 0; b &= b - 1) {
                compte[std::countr_zero(b)] += compte_[j];
            }
        }
    }
    unsigned avec = 0; // lanes with a split ending in a shorter piece
    for (unsigned v = voies; v != 0; v &= v - 1) {
        auto voie = static_cast<unsigned>(std::countr_zero(v));
        avec |= compte[voie] != 0 ? 1u << voie : 0u;
    }
    unsigned retenues = 0;
    if (premiers_) {
        retenues = avec & (rapide ? premiers_N : quatre_N(avec));
        for (unsigned v = retenues; v != 0; v &= v - 1) {
            ++compte[std::countr_zero(v)]; // N itself
        }
    } else {
        unsigned p = quatre_N(voies);
        for (unsigned v = p; v != 0; v &= v - 1) {
            ++compte[std::countr_zero(v)];
        }
        retenues = avec | p;
    }
    std::uint64_t zeros = premiers_ ? 0 : apres_zeros();
    for (int d = dmin; d <= dmax; ++d) {
        if (d % 2 == 1 && d != 5) {
            if ((retenues >> (d / 2) & 1) != 0) {
                ecrire(d, compte[d / 2], t);
            }
        } else if ((d == 2 || d == 5) && zeros != 0) {
            ecrire(d, zeros, t);
        }
    }
}

// "N[count]  " for N = 10Q + d.
void Balayage::ecrire(int d, std::uint64_t compte, Tranche& t) const {
    char texte[2 * MAX + 8];
    auto longueur = static_cast<std::size_t>(n_ - 1);
    std::copy_n(texte_, longueur, texte);
    char* p = texte + longueur;
    *p++ = static_cast<char>('0' + d);
    *p++ = '[';
    p = std::to_chars(p, texte + sizeof texte, compte).ptr;
    *p++ = ']';
    *p++ = ' ';
    *p++ = ' ';
    t.nombre += 1;
    t.texte.append(texte, static_cast<std::size_t>(p - texte));
}

bool Balayage::parcourir(std::uint64_t lo, std::uint64_t hi, Tranche& t,
                         const std::function<bool(std::uint64_t)>& veille) {
    const std::uint64_t depart = lo;
    std::uint32_t prefixes = 0;
    for (;;) {
        int n = chiffres(lo);
        std::uint64_t haut = std::min(hi, dix_[n] - 1);
        const std::uint64_t q0 = lo / 10, q1 = haut / 10;
        placer(n, q0);
        for (;;) {
            int dmin = q_ == q0 ? static_cast<int>(lo % 10) : 0;
            int dmax = q_ == q1 ? static_cast<int>(haut % 10) : 9;
            unsigned voies = dmin == 0 && dmax == 9 ? TOUTES : voies_entre(dmin, dmax);
            if (liste_) {
                bloc_liste(voies, dmin, dmax, t);
            } else {
                int deux_cinq = (dmin <= 2 && dmax >= 2 ? 1 : 0) + (dmin <= 5 && dmax >= 5 ? 1 : 0);
                bloc_nombres(voies, deux_cinq, t);
            }
            if (q_ == q1) {
                break;
            }
            avancer();
            if (++prefixes % VEILLE == 0 && !veille(10 * q_ - depart)) {
                return false;
            }
        }
        if (haut == hi) {
            return true;
        }
        lo = haut + 1;
    }
}
