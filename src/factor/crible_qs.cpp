// The self-initialising quadratic sieve.
//
// Polynomials: for a = q_1 ... q_s (primes of the factor base) and b with
// b^2 = kN mod a, Q(x) = ((a x + b)^2 - kN) / a = a x^2 + 2 b x + c. The
// 2^(s-1) values of b for one a are the sums +-B_1 +- ... + B_s, visited in
// Gray code order: going from one b to the next adds or takes 2 B_v, and the
// roots of Q mod p move by 2 B_v / a mod p, one addition per prime.
//
// Sieve: x runs over [-M, M), in blocks of the L1 cache; logarithms in
// bytes, with a start value such that a byte past 127 marks a candidate.
// The smallest primes are not sieved (the threshold allows for them); the
// primes below the block length are sieved block by block, the larger ones
// go once per polynomial into one bucket per block, which the trial division
// reads back: a candidate is divided only by the primes whose roots hit it.

#include "factor/crible_qs.hpp"

#include "base/equipe.hpp"
#include "base/memoire.hpp"
#include "factor/algebre_gf2.hpp"

#include <algorithm>
#include <atomic>
#include <bit>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <mutex>
#include <new>
#include <random>
#include <unordered_map>
#include <unordered_set>
#include <utility>
#include <vector>

namespace {

using u32 = std::uint32_t;
using u64 = std::uint64_t;

constexpr u32 BITS_BLOC = 15;
constexpr u32 BLOC = u32{1} << BITS_BLOC; // bytes of sieve per block
constexpr u32 MASQUE_BLOC = BLOC - 1;
constexpr u32 EXCEDENT = 64;          // relations beyond the size of the factor base
constexpr u32 MAX_PREMIERS = 120000;  // bucket entries hold an index below 2^17
constexpr u32 POLYNOMES_PAR_LOT = 32; // between two hand-overs of relations
constexpr int MAX_Q = 20;             // primes in a, at most
constexpr u32 MAX_BLOCS = 64;         // blocks of the interval, at most
constexpr u32 PLUS_PETIT_CRIBLE = 40; // smaller primes are left to the threshold

// An mpz_t that frees itself.
class Entier {
  public:
    Entier() { mpz_init(v_); }
    ~Entier() { mpz_clear(v_); }
    Entier(const Entier&) = delete;
    Entier& operator=(const Entier&) = delete;
    operator mpz_ptr() { return v_; }
    operator mpz_srcptr() const { return v_; }
    mpz_srcptr operator->() const { return v_; } // for GMP's macros

  private:
    mpz_t v_;
};

// ---- Small modular arithmetic (moduli below 2^32) ----

u32 mulmod(u64 a, u64 b, u32 p) {
    return static_cast<u32>(a * b % p);
}

u32 puissance(u32 a, u64 e, u32 p) {
    u64 r = 1;
    u64 x = a % p;
    for (; e > 0; e >>= 1) {
        if ((e & 1) != 0) {
            r = r * x % p;
        }
        x = x * x % p;
    }
    return static_cast<u32>(r);
}

u32 inverse(u32 a, u32 p) {
    std::int64_t r0 = p, r1 = a % p, u0 = 0, u1 = 1;
    while (r1 != 0) {
        std::int64_t q = r0 / r1;
        std::int64_t r = r0 - q * r1;
        r0 = r1;
        r1 = r;
        std::int64_t u = u0 - q * u1;
        u0 = u1;
        u1 = u;
    }
    return static_cast<u32>(u0 < 0 ? u0 + p : u0);
}

// A square root of the quadratic residue A mod the odd prime P (Tonelli and
// Shanks).
u32 racine_mod(u32 a, u32 p) {
    a %= p;
    if (a == 0) {
        return 0;
    }
    u32 q = p - 1;
    int s = 0;
    while ((q & 1) == 0) {
        q >>= 1;
        ++s;
    }
    u32 z = 2;
    while (puissance(z, (p - 1) / 2, p) != p - 1) {
        ++z;
    }
    u32 c = puissance(z, q, p);
    u32 r = puissance(a, (q + 1) / 2, p);
    u32 t = puissance(a, q, p);
    int m = s;
    while (t != 1) {
        int i = 0;
        for (u32 u = t; u != 1; u = mulmod(u, u, p)) {
            ++i;
        }
        u32 b = c;
        for (int j = 0; j < m - i - 1; ++j) {
            b = mulmod(b, b, p);
        }
        r = mulmod(r, b, p);
        c = mulmod(b, b, p);
        t = mulmod(t, c, p);
        m = i;
    }
    return r;
}

std::vector<u32> premiers_jusqua(u32 borne) {
    std::vector<char> compose(borne + 1, 0);
    std::vector<u32> p;
    for (u32 i = 2; i <= borne; ++i) {
        if (compose[i] == 0) {
            p.push_back(i);
            for (u64 j = u64{i} * i; j <= borne; j += i) {
                compose[j] = 1;
            }
        }
    }
    return p;
}

// ---- Parameters by size ----

struct Parametres {
    double chiffres;
    double premiers; // size of the factor base
    double blocs;    // blocks of the sieve interval
    double multiple; // large prime bound, in largest primes of the base
    double marge;    // bits of the threshold left to the unsieved primes
};

// Each row measured on balanced semiprimes of its size.
constexpr Parametres TABLE[] = {
    {20, 80, 1, 20, 6},        {30, 200, 1, 30, 8},     {40, 600, 1, 40, 12},
    {45, 1000, 2, 40, 13},     {50, 1600, 2, 50, 14},   {55, 2800, 3, 50, 16},
    {60, 4500, 4, 60, 18},     {66, 10000, 4, 70, 18},  {72, 20000, 5, 80, 20},
    {78, 30000, 6, 90, 22},    {84, 42000, 8, 100, 24}, {90, 55000, 10, 100, 26},
    {100, 90000, 12, 100, 28},
};

Parametres parametres(double chiffres) {
    constexpr std::size_t n = sizeof TABLE / sizeof TABLE[0];
    if (chiffres <= TABLE[0].chiffres) {
        return TABLE[0];
    }
    for (std::size_t t = 1; t < n; ++t) {
        if (chiffres <= TABLE[t].chiffres) {
            const Parametres& u = TABLE[t - 1];
            const Parametres& v = TABLE[t];
            double f = (chiffres - u.chiffres) / (v.chiffres - u.chiffres);
            auto mix = [f](double x, double y) { return x + f * (y - x); };
            return {chiffres, mix(u.premiers, v.premiers), std::round(mix(u.blocs, v.blocs)),
                    mix(u.multiple, v.multiple), mix(u.marge, v.marge)};
        }
    }
    return TABLE[n - 1];
}

// ---- The multiplier k: kN with many small primes among its residues ----

int legendre(u32 a, u32 p) {
    a %= p;
    if (a == 0) {
        return 0;
    }
    return puissance(a, (p - 1) / 2, p) == 1 ? 1 : -1;
}

// Knuth and Schroeppel's estimate of the small primes' help, for each odd
// squarefree k, less the cost of a larger kN.
unsigned long multiplicateur(const mpz_t n) {
    static constexpr unsigned long CANDIDATS[] = {1,  3,  5,  7,  11, 13, 15, 17, 19, 21, 23,
                                                  29, 31, 33, 35, 37, 39, 41, 43, 47, 51, 53,
                                                  55, 57, 59, 61, 65, 67, 69, 71, 73};
    static const std::vector<u32> petits = premiers_jusqua(2000);
    unsigned long meilleur = 1;
    double score_max = -1e300;
    auto n8 = static_cast<u32>(mpz_fdiv_ui(n, 8));
    for (unsigned long k : CANDIDATS) {
        double score = -0.5 * std::log(static_cast<double>(k));
        u32 r8 = static_cast<u32>(k * n8 % 8);
        score += r8 == 1 ? 2 * std::log(2.0) : r8 == 5 ? std::log(2.0) : 0.5 * std::log(2.0);
        for (std::size_t t = 1; t < petits.size(); ++t) {
            u32 p = petits[t];
            double lp = std::log(static_cast<double>(p));
            if (k % p == 0) {
                score += lp / p;
            } else if (legendre(static_cast<u32>(k % p * mpz_fdiv_ui(n, p) % p), p) == 1) {
                score += 2 * lp / (p - 1);
            }
        }
        if (score > score_max) {
            score_max = score;
            meilleur = k;
        }
    }
    return meilleur;
}

// ---- What every part shares: N, the factor base, the sieve's shape ----

struct Contexte {
    Entier n, kn;
    unsigned long k = 1;
    Parametres par{};
    // The factor base: index 0 stands for -1, index 1 for 2, then the odd
    // primes p with kN a square mod p, each with a square root t of kN.
    std::vector<u32> p, t;
    std::vector<std::uint8_t> lg;
    // For the odd primes: p^-1 mod 2^32 and (2^32 - 1) / p, so that p | v
    // exactly when v p^-1 mod 2^32 <= (2^32 - 1) / p.
    std::vector<u32> inv, lim;
    u32 taille = 0;        // primes in the base
    u32 debut_crible = 0;  // first index sieved
    u32 debut_grands = 0;  // first index of a prime above the block length
    u32 debut_enormes = 0; // first index of a prime above the interval's length
    u32 blocs = 0, longueur = 0, demi = 0;
    u64 borne_grand = 0;       // large primes below it are kept
    std::uint8_t depart = 0;   // the bytes' start value
    int s = 0;                 // primes in a
    u32 a_bas = 0, a_haut = 0; // indices of the primes drawn for a
    double log_cible = 0;      // ln of the ideal a
    bool verifier = false;
    u32 diviseur = 0; // a prime below the base's end that divides N
};

// Builds the factor base; stops at a prime that divides N, left in diviseur.
void preparer(Contexte& c, const mpz_t n) {
    mpz_set(c.n, n);
    c.k = multiplicateur(n);
    mpz_mul_ui(c.kn, n, c.k);
    double chiffres = static_cast<double>(mpz_sizeinbase(n, 10));
    c.par = parametres(chiffres);
    c.taille = std::min(MAX_PREMIERS, static_cast<u32>(c.par.premiers));
    c.p = {1, 2};
    c.t = {0, 1};
    for (u32 borne = 1 << 16; c.p.size() < c.taille; borne *= 2) {
        c.p.resize(2);
        c.t.resize(2);
        for (u32 q : premiers_jusqua(borne)) {
            if (q == 2) {
                continue;
            }
            auto nm = static_cast<u32>(mpz_fdiv_ui(n, q));
            if (nm == 0) {
                c.diviseur = q;
                return;
            }
            auto r = static_cast<u32>(c.k % q * nm % q);
            if (r == 0 || legendre(r, q) == 1) {
                c.p.push_back(q);
                c.t.push_back(racine_mod(r, q));
                if (c.p.size() == c.taille) {
                    break;
                }
            }
        }
    }
    c.debut_crible = 2;
    while (c.debut_crible < c.taille && c.p[c.debut_crible] < PLUS_PETIT_CRIBLE) {
        ++c.debut_crible;
    }
    c.debut_grands = c.debut_crible;
    while (c.debut_grands < c.taille && c.p[c.debut_grands] < BLOC) {
        ++c.debut_grands;
    }
    c.blocs = static_cast<u32>(std::clamp(c.par.blocs, 1.0, double{MAX_BLOCS}));
    c.longueur = c.blocs * BLOC;
    c.demi = c.longueur / 2;
    c.debut_enormes = c.debut_grands;
    while (c.debut_enormes < c.taille && c.p[c.debut_enormes] < c.longueur) {
        ++c.debut_enormes;
    }
    double pmax = c.p.back();
    c.borne_grand = static_cast<u64>(std::min(pmax * pmax, pmax * c.par.multiple));
    // |Q(x)| reaches about M sqrt(kN / 2); a relation leaves at most a large
    // prime, and the unsieved primes' share, beyond the threshold.
    double log2_q = std::log2(static_cast<double>(c.demi)) +
                    0.5 * (static_cast<double>(mpz_sizeinbase(c.kn, 2)) - 1.5);
    double seuil = log2_q - std::log2(static_cast<double>(c.borne_grand)) - c.par.marge;
    double echelle = std::min(1.0, 100.0 / seuil);
    c.depart = static_cast<std::uint8_t>(128 - std::lround(seuil * echelle));
    c.inv.assign(c.taille, 0);
    c.lim.assign(c.taille, 0);
    for (u32 i = 2; i < c.taille; ++i) {
        u32 x = c.p[i]; // Newton's iteration: each step doubles the exact bits
        for (int e = 0; e < 5; ++e) {
            x *= 2 - c.p[i] * x;
        }
        c.inv[i] = x;
        c.lim[i] = 0xFFFFFFFFu / c.p[i];
    }
    c.lg.resize(c.taille);
    for (u32 i = 0; i < c.taille; ++i) {
        c.lg[i] = static_cast<std::uint8_t>(
            std::lround(std::log2(static_cast<double>(c.p[i])) * echelle));
    }
    // a near sqrt(2 kN) / M, from primes of a few thousand at most.
    c.log_cible =
        0.5 * (std::log(2.0) + static_cast<double>(mpz_sizeinbase(c.kn, 2)) * std::log(2.0)) -
        std::log(static_cast<double>(c.demi));
    double q_ideal = std::clamp(static_cast<double>(c.p[c.taille / 3]), 50.0, 2500.0);
    c.s = std::clamp(static_cast<int>(std::ceil(c.log_cible / std::log(q_ideal))), 2, MAX_Q);
    double q = std::exp(c.log_cible / c.s);
    c.a_bas = c.debut_crible;
    while (c.a_bas + 1 < c.taille && c.p[c.a_bas] < q / 1.6) {
        ++c.a_bas;
    }
    c.a_haut = c.a_bas;
    while (c.a_haut < c.taille && c.p[c.a_haut] < q * 1.6) {
        ++c.a_haut;
    }
    while (c.a_haut - c.a_bas < static_cast<u32>(3 * c.s) && c.a_haut < c.taille) {
        ++c.a_haut;
        if (c.a_bas > c.debut_crible) {
            --c.a_bas;
        }
    }
}

// ---- Relations, stored flat ----

struct Releve {
    u32 debut_f = 0, nb_f = 0; // factor base indices, with repetitions
    u32 debut_y = 0, nb_y = 0; // limbs of |Y|
    u64 grand = 1;             // the large prime, or 1
};

struct Lot {
    std::vector<u32> facteurs;
    std::vector<mp_limb_t> membres;
    std::vector<Releve> releves;
    long polynomes = 0, verifiees = 0, fausses = 0;

    void vider() {
        facteurs.clear();
        membres.clear();
        releves.clear();
        polynomes = verifiees = fausses = 0;
    }
};

// The relations of every part; pairs of partial relations with the same
// large prime count as one relation.
class Collecte {
  public:
    explicit Collecte(long requises) : requises_(requises) {}

    // Takes the relations of LOT, which is emptied; true once there are enough.
    bool ajouter(Lot& lot) {
        std::lock_guard verrou(m_);
        auto base_f = static_cast<u32>(tout_.facteurs.size());
        auto base_y = static_cast<u32>(tout_.membres.size());
        tout_.facteurs.insert(tout_.facteurs.end(), lot.facteurs.begin(), lot.facteurs.end());
        tout_.membres.insert(tout_.membres.end(), lot.membres.begin(), lot.membres.end());
        for (Releve r : lot.releves) {
            r.debut_f += base_f;
            r.debut_y += base_y;
            auto id = static_cast<u32>(tout_.releves.size());
            tout_.releves.push_back(r);
            if (r.grand == 1) {
                lignes_.emplace_back(id, AUCUNE);
            } else {
                ++partielles_;
                auto [it, neuve] = premiere_.try_emplace(r.grand, id);
                if (!neuve) {
                    lignes_.emplace_back(it->second, id);
                }
            }
        }
        tout_.polynomes += lot.polynomes;
        tout_.verifiees += lot.verifiees;
        tout_.fausses += lot.fausses;
        lot.vider();
        trouvees_.store(static_cast<long>(lignes_.size()), std::memory_order_relaxed);
        return trouvees() >= requises_;
    }

    // False when A (its primes' indices, sorted) was drawn before.
    bool nouveau_a(const u32* q, int s) {
        u64 h = 1469598103934665603ULL;
        for (int j = 0; j < s; ++j) {
            h = (h ^ q[j]) * 1099511628211ULL;
        }
        std::lock_guard verrou(m_);
        return a_vus_.insert(h).second;
    }

    long trouvees() const { return trouvees_.load(std::memory_order_relaxed); }
    long requises() const { return requises_; }

    static constexpr u32 AUCUNE = 0xFFFFFFFF;
    // Once the parts have ended: each relation of the matrix is one full
    // relation (second AUCUNE) or two partial ones.
    const std::vector<std::pair<u32, u32>>& lignes() const { return lignes_; }
    const Lot& tout() const { return tout_; }
    long partielles() const { return partielles_; }

  private:
    std::mutex m_;
    Lot tout_;
    std::vector<std::pair<u32, u32>> lignes_;
    std::unordered_map<u64, u32> premiere_; // large prime: its first relation
    std::unordered_set<u64> a_vus_;
    long partielles_ = 0;
    std::atomic<long> trouvees_{0};
    long requises_;
};

// ---- One part's search: its own polynomials, sieve and buckets ----

// Entries of one block's bucket, at most: each root of a prime p hits a
// block at most BLOC / p + 1 times.
u32 capacite_seau(const Contexte& c) {
    u64 n = 16;
    for (u32 i = c.debut_grands; i < c.taille; ++i) {
        n += 2 * (BLOC / c.p[i] + 1);
    }
    return static_cast<u32>(n);
}

class Chercheur {
  public:
    Chercheur(const Contexte& c, Collecte& col, u64 graine)
        : c_(c), col_(col), alea_(graine), delta_(static_cast<std::size_t>(c.s) * c.taille),
          r1_(c.taille), r2_(c.taille), pos1_(c.taille), pos2_(c.taille), dans_a_(c.taille, 0),
          touche_(c.debut_grands + 8, 0), crible_(c.longueur), capacite_(capacite_seau(c)),
          seaux_(static_cast<std::size_t>(capacite_) * c.blocs), remplis_(c.blocs),
          a_haut_(c.a_haut) {}

    // Polynomials until EQUIPE says stop; AVANCEMENT, if any, after each
    // hand-over of relations.
    void chercher(Equipe& equipe, const std::function<void(long, long)>* avancement) {
        while (!equipe.arret()) {
            choisir_a();
            initialiser_b();
            u32 nombre = u32{1} << (c_.s - 1);
            for (u32 g = 0; g < nombre && !equipe.arret(); ++g) {
                if (g > 0) {
                    changer_b(g);
                }
                cribler();
                ++lot_.polynomes;
                if ((g + 1) % POLYNOMES_PAR_LOT == 0 || g + 1 == nombre) {
                    if (col_.ajouter(lot_)) {
                        equipe.arreter();
                    }
                    if (avancement != nullptr && *avancement) {
                        (*avancement)(col_.trouvees(), col_.requises());
                    }
                }
            }
        }
    }

  private:
    // a: s - 1 primes drawn about the ideal size, the last one chosen so
    // that the product comes near the ideal a.
    void choisir_a() {
        for (int essai = 1;; ++essai) {
            // A small base may run out of fresh a: the range then widens.
            if (essai % 64 == 0 && a_haut_ < c_.debut_grands) {
                ++a_haut_;
            }
            std::uniform_int_distribution<u32> tirage(c_.a_bas, a_haut_ - 1);
            double reste = c_.log_cible;
            int n = 0;
            while (n < c_.s - 1) {
                u32 i = tirage(alea_);
                if (std::find(q_, q_ + n, i) != q_ + n || c_.t[i] == 0) {
                    continue;
                }
                q_[n++] = i;
                reste -= std::log(static_cast<double>(c_.p[i]));
            }
            double voulu = std::exp(reste);
            // The last prime too is sieved by block: its roots are none.
            auto fin = c_.p.begin() + c_.debut_grands;
            if (voulu < c_.p[c_.debut_crible] || voulu > *(fin - 1)) {
                continue;
            }
            auto it =
                std::lower_bound(c_.p.begin() + c_.debut_crible, fin, static_cast<u32>(voulu));
            auto i = static_cast<u32>(it - c_.p.begin());
            if (it == fin || std::find(q_, q_ + n, i) != q_ + n || c_.t[i] == 0) {
                continue;
            }
            q_[n++] = i;
            std::sort(q_, q_ + n);
            if (col_.nouveau_a(q_, n)) {
                break;
            }
        }
        mpz_set_ui(a_, 1);
        for (int j = 0; j < c_.s; ++j) {
            mpz_mul_ui(a_, a_, c_.p[q_[j]]);
        }
    }

    // B_j = (a / q_j) (t_j (a / q_j)^-1 mod q_j), b their sum, the roots
    // of Q mod each p and the steps 2 B_j / a mod p of the Gray code.
    void initialiser_b() {
        std::fill(dans_a_.begin(), dans_a_.end(), 0);
        mpz_set_ui(b_, 0);
        for (int j = 0; j < c_.s; ++j) {
            u32 q = c_.p[q_[j]];
            dans_a_[q_[j]] = 1;
            mpz_divexact_ui(tmp_, a_, q);
            u32 gamma = mulmod(c_.t[q_[j]], inverse(static_cast<u32>(mpz_fdiv_ui(tmp_, q)), q), q);
            if (gamma > q / 2) {
                gamma = q - gamma;
            }
            mpz_mul_ui(grand_b_[j], tmp_, gamma);
            mpz_add(b_, b_, grand_b_[j]);
        }
        coefficient_c();
        const u32 taille = c_.taille;
        for (u32 i = 2; i < taille; ++i) {
            u32 p = c_.p[i];
            if (dans_a_[i] != 0) {
                r1_[i] = r2_[i] = 0;
                for (int j = 0; j < c_.s - 1; ++j) {
                    delta_[static_cast<std::size_t>(j) * taille + i] = 0;
                }
                continue;
            }
            u32 ainv = inverse(static_cast<u32>(mpz_fdiv_ui(a_, p)), p);
            for (int j = 0; j < c_.s - 1; ++j) {
                u32 bj = static_cast<u32>(mpz_fdiv_ui(grand_b_[j], p));
                delta_[static_cast<std::size_t>(j) * taille + i] = mulmod(2 * u64{bj}, ainv, p);
            }
            u32 bm = static_cast<u32>(mpz_fdiv_ui(b_, p));
            u32 t = c_.t[i];
            u32 m = c_.demi % p;
            r1_[i] = static_cast<u32>((u64{mulmod(ainv, t + p - bm, p)} + m) % p);
            r2_[i] = static_cast<u32>((u64{mulmod(ainv, 2 * u64{p} - t - bm, p)} + m) % p);
        }
        remplir_seaux<0>(nullptr);
    }

    void coefficient_c() {
        mpz_mul(c_coef_, b_, b_);
        mpz_sub(c_coef_, c_coef_, c_.kn);
        mpz_divexact(c_coef_, c_coef_, a_);
        mpz_mul_2exp(deux_b_, b_, 1);
    }

    // The G-th b of the Gray code: B_v changes its sign.
    void changer_b(u32 g) {
        int v = std::countr_zero(g);
        bool negatif = ((g >> (v + 1)) & 1) == 0;
        if (negatif) {
            mpz_submul_ui(b_, grand_b_[v], 2);
        } else {
            mpz_addmul_ui(b_, grand_b_[v], 2);
        }
        coefficient_c();
        const u32* d = &delta_[static_cast<std::size_t>(v) * c_.taille];
        const u32* p = c_.p.data();
        u32* r1 = r1_.data();
        u32* r2 = r2_.data();
        // b less 2 B_v moves the roots up by 2 B_v / a, b more moves them down.
        const u32 fin = c_.debut_grands;
        if (negatif) {
            for (u32 i = 2; i < fin; ++i) {
                u32 x = r1[i] + d[i];
                r1[i] = x >= p[i] ? x - p[i] : x;
                u32 y = r2[i] + d[i];
                r2[i] = y >= p[i] ? y - p[i] : y;
            }
        } else {
            for (u32 i = 2; i < fin; ++i) {
                u32 e = p[i] - d[i];
                u32 x = r1[i] + e;
                r1[i] = x >= p[i] ? x - p[i] : x;
                u32 y = r2[i] + e;
                r2[i] = y >= p[i] ? y - p[i] : y;
            }
        }
        if (negatif) {
            remplir_seaux<1>(d);
        } else {
            remplir_seaux<-1>(d);
        }
    }

    // The large primes' hits, into the bucket of their block; their roots
    // first moved by SENS D (not at all when SENS is 0).
    template <int SENS> void remplir_seaux(const u32* d) {
        const u32 l = c_.longueur;
        const u32 blocs = c_.blocs;
        // fins[blocs]: where a root beyond the interval writes in vain.
        u32* fins[MAX_BLOCS + 1];
        u32 rebut = 0;
        for (u32 b = 0; b < blocs; ++b) {
            fins[b] = &seaux_[b * capacite_];
        }
        fins[blocs] = &rebut;
        const u32* premiers = c_.p.data();
        u32* r1 = r1_.data();
        u32* r2 = r2_.data();
        auto deplacer = [&](u32 i, u32& x, u32& y) {
            if constexpr (SENS != 0) {
                const u32 p = premiers[i];
                u32 e = SENS > 0 ? d[i] : p - d[i];
                x += e;
                x = x >= p ? x - p : x;
                y += e;
                y = y >= p ? y - p : y;
                r1[i] = x;
                r2[i] = y;
            }
        };
        u32 i = c_.debut_grands;
        for (; i < c_.debut_enormes; ++i) {
            const u32 p = premiers[i];
            u32 x = r1[i];
            u32 y = r2[i];
            deplacer(i, x, y);
            for (; x < l; x += p) {
                *fins[x >> BITS_BLOC]++ = (i << BITS_BLOC) | (x & MASQUE_BLOC);
            }
            for (; y < l; y += p) {
                *fins[y >> BITS_BLOC]++ = (i << BITS_BLOC) | (y & MASQUE_BLOC);
            }
        }
        // Beyond the interval's length, one hit at most and no branch.
        for (; i < c_.taille; ++i) {
            u32 x = r1[i];
            u32 y = r2[i];
            deplacer(i, x, y);
            u32 bx = std::min(x >> BITS_BLOC, blocs);
            *fins[bx] = (i << BITS_BLOC) | (x & MASQUE_BLOC);
            fins[bx] += bx < blocs ? 1 : 0;
            u32 by = std::min(y >> BITS_BLOC, blocs);
            *fins[by] = (i << BITS_BLOC) | (y & MASQUE_BLOC);
            fins[by] += by < blocs ? 1 : 0;
        }
        for (u32 b = 0; b < c_.blocs; ++b) {
            remplis_[b] = static_cast<u32>(fins[b] - &seaux_[b * capacite_]);
        }
    }

    void cribler() {
        for (u32 i = c_.debut_crible; i < c_.debut_grands; ++i) {
            pos1_[i] = r1_[i];
            pos2_[i] = r2_[i];
        }
        for (int j = 0; j < c_.s; ++j) {
            if (q_[j] < c_.debut_grands) {
                pos1_[q_[j]] = pos2_[q_[j]] = 0xFFFFFFFF; // no roots: a is 0 mod q
            }
        }
        for (u32 b = 0; b < c_.blocs; ++b) {
            cribler_bloc(b);
            examiner_bloc(b);
        }
    }

    // Every pointer is a local: a byte written to the sieve could otherwise
    // alias anything, and each would be read again after every write.
    void cribler_bloc(u32 b) {
        std::uint8_t* __restrict s = crible_.data();
        const u32* __restrict premiers = c_.p.data();
        const std::uint8_t* __restrict lgs = c_.lg.data();
        u32* __restrict pos1 = pos1_.data();
        u32* __restrict pos2 = pos2_.data();
        const u32 fin = (b + 1) * BLOC;
        const u32 debut = c_.debut_crible;
        const u32 grands = c_.debut_grands;
        std::memset(s + b * BLOC, c_.depart, BLOC);
        for (u32 i = debut; i < grands; ++i) {
            const u32 p = premiers[i];
            const std::uint8_t lg = lgs[i];
            u32 u = pos1[i];
            u32 w = pos2[i];
            if (u > w) {
                std::swap(u, w);
            }
            while (w < fin) {
                s[u] = static_cast<std::uint8_t>(s[u] + lg);
                s[w] = static_cast<std::uint8_t>(s[w] + lg);
                u += p;
                w += p;
            }
            if (u < fin) {
                s[u] = static_cast<std::uint8_t>(s[u] + lg);
                u += p;
            }
            pos1[i] = u;
            pos2[i] = w;
        }
        std::uint8_t* __restrict bloc = s + b * BLOC;
        const u32* __restrict seau = &seaux_[b * capacite_];
        const u32 n = remplis_[b];
        for (u32 e = 0; e < n; ++e) {
            u32 v = seau[e];
            bloc[v & MASQUE_BLOC] =
                static_cast<std::uint8_t>(bloc[v & MASQUE_BLOC] + lgs[v >> BITS_BLOC]);
        }
    }

    void examiner_bloc(u32 b) {
        const std::uint8_t* bloc = crible_.data() + b * BLOC;
        constexpr u64 HAUTS = 0x8080808080808080ULL;
        for (u32 o = 0; o < BLOC; o += 64) {
            u64 tous = 0;
            u64 mots[8];
            std::memcpy(mots, bloc + o, sizeof mots);
            for (u64 m : mots) {
                tous |= m;
            }
            if ((tous & HAUTS) == 0) {
                continue;
            }
            for (u32 j = 0; j < 64; ++j) {
                if ((bloc[o + j] & 0x80) != 0) {
                    candidat(b * BLOC + o + j, b);
                }
            }
        }
    }

    // Divides Q(x) by the prime of index I as often as it goes.
    void diviser(u32 i) {
        u32 p = c_.p[i];
        while (mpz_divisible_ui_p(qx_, p) != 0) {
            mpz_divexact_ui(qx_, qx_, p);
            trouves_.push_back(i);
        }
    }

    // Marks in touche_ the primes sieved by block whose roots hit POS (a's
    // primes too, harmlessly: they no longer divide).
    void reperer_diviseurs(u32 pos) {
        const u32* __restrict p = c_.p.data();
        const u32* __restrict inv = c_.inv.data();
        const u32* __restrict lim = c_.lim.data();
        const u32* __restrict r1 = r1_.data();
        const u32* __restrict r2 = r2_.data();
        std::uint8_t* __restrict t = touche_.data();
        const u32 fin = c_.debut_grands;
        for (u32 i = 2; i < fin; ++i) {
            u32 d1 = (pos + p[i] - r1[i]) * inv[i];
            u32 d2 = (pos + p[i] - r2[i]) * inv[i];
            t[i] = static_cast<std::uint8_t>((d1 <= lim[i]) | (d2 <= lim[i]));
        }
    }

    // Trial division of Q(x) at position POS of the interval, in block B.
    void candidat(u32 pos, u32 b) {
        long x = static_cast<long>(pos) - static_cast<long>(c_.demi);
        mpz_mul_si(qx_, a_, x);
        mpz_add(qx_, qx_, deux_b_);
        mpz_mul_si(qx_, qx_, x);
        mpz_add(qx_, qx_, c_coef_);
        trouves_.clear();
        int signe = mpz_sgn(qx_);
        if (signe == 0) {
            return;
        }
        if (signe < 0) {
            trouves_.push_back(0);
            mpz_neg(qx_, qx_);
        }
        mp_bitcnt_t z = mpz_scan1(qx_, 0);
        mpz_tdiv_q_2exp(qx_, qx_, z);
        trouves_.insert(trouves_.end(), z, 1);
        for (int j = 0; j < c_.s; ++j) {
            trouves_.push_back(q_[j]); // a's primes: a Q(x) is the square's residue
            diviser(q_[j]);
        }
        reperer_diviseurs(pos);
        for (u32 i = 2; i < c_.debut_grands; i += 8) {
            u64 m;
            std::memcpy(&m, &touche_[i], sizeof m);
            for (; m != 0; m &= m - 1) {
                diviser(i + static_cast<u32>(std::countr_zero(m)) / 8);
            }
        }
        const u32* seau = &seaux_[b * capacite_];
        const u32 ici = pos & MASQUE_BLOC;
        const u32 n = remplis_[b];
        for (u32 e = 0; e < n; ++e) {
            if ((seau[e] & MASQUE_BLOC) == ici) {
                diviser(seau[e] >> BITS_BLOC);
            }
        }
        u64 grand = 1;
        if (mpz_cmp_ui(qx_, 1) != 0) {
            if (mpz_sizeinbase(qx_, 2) > 64 || mpz_get_ui(qx_) >= c_.borne_grand) {
                return;
            }
            grand = mpz_get_ui(qx_);
        }
        mpz_mul_si(y_, a_, x);
        mpz_add(y_, y_, b_);
        mpz_abs(y_, y_);
        garder(grand);
    }

    void garder(u64 grand) {
        Releve r;
        r.debut_f = static_cast<u32>(lot_.facteurs.size());
        r.nb_f = static_cast<u32>(trouves_.size());
        lot_.facteurs.insert(lot_.facteurs.end(), trouves_.begin(), trouves_.end());
        r.debut_y = static_cast<u32>(lot_.membres.size());
        r.nb_y = static_cast<u32>(mpz_size(y_));
        lot_.membres.insert(lot_.membres.end(), mpz_limbs_read(y_), mpz_limbs_read(y_) + r.nb_y);
        r.grand = grand;
        lot_.releves.push_back(r);
        if (c_.verifier) {
            ++lot_.verifiees;
            if (!congruence_vraie(grand)) {
                ++lot_.fausses;
            }
        }
    }

    // Y^2 = (-1)^e0 2^e1 ... L mod N, for the relation just found.
    bool congruence_vraie(u64 grand) {
        Entier gauche, droite;
        mpz_powm_ui(gauche, y_, 2, c_.n);
        mpz_set_ui(droite, 1);
        for (u32 i : trouves_) {
            if (i == 0) {
                mpz_neg(droite, droite);
            } else {
                mpz_mul_ui(droite, droite, c_.p[i]);
            }
        }
        mpz_mul_ui(droite, droite, grand);
        mpz_mod(droite, droite, c_.n);
        return mpz_cmp(gauche, droite) == 0;
    }

    const Contexte& c_;
    Collecte& col_;
    std::mt19937_64 alea_;
    u32 q_[MAX_Q] = {};
    Entier a_, b_, c_coef_, deux_b_, tmp_, qx_, y_;
    Entier grand_b_[MAX_Q];
    std::vector<u32> delta_;       // (s - 1) rows: 2 B_j / a mod p
    std::vector<u32> r1_, r2_;     // roots of Q mod p, as positions of the interval
    std::vector<u32> pos1_, pos2_; // next hits of the primes sieved by block
    std::vector<std::uint8_t> dans_a_;
    std::vector<std::uint8_t> touche_; // primes hitting the candidate (8 spare bytes)
    std::vector<std::uint8_t> crible_;
    u32 capacite_;
    std::vector<u32> seaux_;
    std::vector<u32> remplis_;
    std::vector<u32> trouves_;
    Lot lot_;
    u32 a_haut_; // the end of the range a's primes are drawn from
};

// ---- From a dependency to a factor ----

// X = prod Y, Z = sqrt(prod a Q(x)) mod N from the exponents; gcd(X - Z, N).
bool racine(const Contexte& c, const Collecte& col, const std::vector<u32>& dependance,
            mpz_t facteur) {
    const Lot& t = col.tout();
    std::vector<u32> exposants(c.taille, 0);
    Entier x, z, y, u;
    mpz_set_ui(x, 1);
    mpz_set_ui(z, 1);
    auto prendre = [&](u32 id) {
        const Releve& r = t.releves[id];
        mpz_roinit_n(y, t.membres.data() + r.debut_y, static_cast<mp_size_t>(r.nb_y));
        mpz_mul(x, x, y);
        mpz_mod(x, x, c.n);
        for (u32 e = 0; e < r.nb_f; ++e) {
            ++exposants[t.facteurs[r.debut_f + e]];
        }
    };
    for (u32 ligne : dependance) {
        auto [premier, second] = col.lignes()[ligne];
        prendre(premier);
        if (second != Collecte::AUCUNE) {
            prendre(second);
            mpz_mul_ui(z, z, t.releves[premier].grand);
            mpz_mod(z, z, c.n);
        }
    }
    for (u32 i = 1; i < c.taille; ++i) {
        if (exposants[i] % 2 != 0) {
            return false;
        }
        if (exposants[i] > 0) {
            mpz_set_ui(u, c.p[i]);
            mpz_powm_ui(u, u, exposants[i] / 2, c.n);
            mpz_mul(z, z, u);
            mpz_mod(z, z, c.n);
        }
    }
    mpz_sub(u, x, z);
    mpz_gcd(facteur, u, c.n);
    return mpz_cmp_ui(facteur, 1) > 0 && mpz_cmp(facteur, c.n) < 0;
}

// The matrix of the exponents' parities, one row per relation.
MatriceCreuse matrice(const Contexte& c, const Collecte& col) {
    const Lot& t = col.tout();
    MatriceCreuse m;
    m.largeur = c.taille;
    std::vector<u32> f;
    for (auto [premier, second] : col.lignes()) {
        f.clear();
        for (u32 id : {premier, second}) {
            if (id == Collecte::AUCUNE) {
                continue;
            }
            const Releve& r = t.releves[id];
            f.insert(f.end(), t.facteurs.begin() + r.debut_f,
                     t.facteurs.begin() + r.debut_f + r.nb_f);
        }
        std::sort(f.begin(), f.end());
        for (std::size_t e = 0; e < f.size();) {
            std::size_t fin = e;
            while (fin < f.size() && f[fin] == f[e]) {
                ++fin;
            }
            if ((fin - e) % 2 == 1) {
                m.colonnes.push_back(f[e]);
            }
            e = fin;
        }
        m.fermer_ligne();
    }
    return m;
}

double secondes_depuis(std::chrono::steady_clock::time_point t) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - t).count();
}

} // namespace

bool crible_quadratique(mpz_t facteur, const mpz_t n, const OptionsCrible& options,
                        BilanCrible* bilan) {
    Contexte c;
    preparer(c, n);
    if (c.diviseur != 0) {
        mpz_set_ui(facteur, c.diviseur);
        return mpz_cmp_ui(n, c.diviseur) > 0;
    }
    c.verifier = options.verifier;
    // A search whose matrix would not fit ends before it starts.
    if (!memoire_suffit(octets_elimination(c.taille + EXCEDENT, c.taille))) {
        throw std::bad_alloc();
    }
    Collecte col(static_cast<long>(c.taille + EXCEDENT));
    auto debut = std::chrono::steady_clock::now();
    Equipe equipe = options.parts > 0 ? Equipe(options.parts) : Equipe();
    equipe.executer([&](int part) {
        Chercheur chercheur(
            c, col, 0x9E3779B97F4A7C15ULL * static_cast<u64>(part + 1) + mpz_fdiv_ui(n, 1000003));
        chercheur.chercher(equipe, part == 0 ? &options.avancement : nullptr);
    });
    double crible = secondes_depuis(debut);
    debut = std::chrono::steady_clock::now();
    std::vector<std::vector<u32>> deps = dependances(matrice(c, col));
    bool trouve = false;
    long essais = 0;
    for (const std::vector<u32>& d : deps) {
        ++essais;
        if (racine(c, col, d, facteur)) {
            trouve = true;
            break;
        }
    }
    if (bilan != nullptr) {
        bilan->premiers = c.taille;
        bilan->relations = col.trouvees();
        bilan->partielles = col.partielles();
        bilan->polynomes = col.tout().polynomes;
        bilan->verifiees = col.tout().verifiees;
        bilan->fausses = col.tout().fausses;
        bilan->dependances = essais;
        bilan->secondes_crible = crible;
        bilan->secondes_algebre = secondes_depuis(debut);
    }
    return trouve;
}
