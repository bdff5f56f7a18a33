#pragma once
// What the stages of the self-initialising quadratic sieve share: the
// parameter table, N's factor base (Contexte), the relations (Collecte) and
// one part's search (Chercheur), whose stages sit one a file:
//   base.cpp       the multiplier k and the factor base
//   polynomes.cpp  the choice of a, the b of the Gray code, the roots' steps
//   crible.cpp     the sieve, block by block, and the large primes' buckets
//   examen.cpp     the scan of the sieve and the trial division
//   releves.cpp    the relations, the graph of their large primes, the matrix
//   racine.cpp     from a dependency to a factor
//   crible_qs.cpp  the driver, crible_quadratique
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
// primes below a quarter of the block are sieved block by block, the larger
// ones go once per polynomial into one bucket per block, which the trial
// division reads back: a candidate is divided only by the primes whose roots
// hit it.

#include "base/equipe.hpp"
#include "factor/algebre_gf2.hpp"
#include "factor/crible_qs.hpp"
#include "factor/entier.hpp"

#include <atomic>
#include <cstdint>
#include <functional>
#include <gmp.h>
#include <mutex>
#include <random>
#include <unordered_map>
#include <unordered_set>
#include <utility>
#include <vector>

namespace qs {

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
// Primes from a quarter of the block go to the buckets: at 72 digits, on one
// thread, 24.3 and 24.6 s of processor against 25.3 and 25.7 s from the
// block's length (66 digits: 5.9 to 6.8 s against 6.7 to 6.8 s).
constexpr u32 PLUS_PETIT_SEAU = BLOC / 4;

// A B mod P, for P below 2^32.
inline u32 mulmod(u64 a, u64 b, u32 p) {
    return static_cast<u32>(a * b % p);
}

// ---- Parameters by size ----

using Parametres = ParametresCrible;

// Each row measured on balanced semiprimes of its size, the sieve alone on
// one thread (bench_crible with LIGNE), processor seconds of two numbers
// twice:
// - 60 digits: the row 7.2 to 7.8 s; 3500 or 5500 primes 8.4 and 8.3 s, 3
//   or 5 blocks 8.0 and 8.4 s, a bound of 40 or 90 primes 7.2 s, a margin
//   of 16 or 20 bits 8.3 and 7.3 s: none better beyond the noise.
// - 66 digits: the row 26.1 to 29.3 s; 8000, 12000 or 14000 primes 24.7,
//   22.0 to 29.2 and 27.8 s, 5 blocks 26.9 s, a margin of 20 bits 27.0 s, a
//   bound of 100 primes 29.5 s: none better beyond the noise.
// - Two large primes, at 76 digits, on two threads: 20000 primes, a bound
//   of 40 and products to its power 1.8, 59.8 s of processor, against the
//   row's 60.2 s with one (26666 primes, 13633 cycles of 142232 partial
//   relations against 14323 of 146323); on one thread 16000 primes 63.4 s,
//   the power 1.9 with a bound of 60 76.8 s: left off, the literature has
//   them pay from some 80 digits, where this table is not yet measured.
inline constexpr Parametres TABLE[] = {
    {20, 80, 1, 20, 6, 0},        {30, 200, 1, 30, 8, 0},     {40, 600, 1, 40, 12, 0},
    {45, 1000, 2, 40, 13, 0},     {50, 1600, 2, 50, 14, 0},   {55, 2800, 3, 50, 16, 0},
    {60, 4500, 4, 60, 18, 0},     {66, 10000, 4, 70, 18, 0},  {72, 20000, 5, 80, 20, 0},
    {78, 30000, 6, 90, 22, 0},    {84, 42000, 8, 100, 24, 0}, {90, 55000, 10, 100, 26, 0},
    {100, 90000, 12, 100, 28, 0},
};

// The row for N of CHIFFRES digits, between two rows linearly; two large
// primes from the first row that has them.
Parametres parametres(double chiffres);

// ---- The factor base (base.cpp) ----

// The multiplier k, odd and squarefree, that gives kN the most help from
// the small primes (Knuth and Schroeppel's estimate).
unsigned long multiplicateur(const mpz_t n);

// What every part shares: N, the factor base, the sieve's shape.
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
    u32 debut_grands = 0;  // first index of a prime for the buckets
    u32 debut_enormes = 0; // first index of a prime above the interval's length
    u32 blocs = 0, longueur = 0, demi = 0;
    u64 borne_grand = 0;       // large primes below it are kept
    u64 borne_double = 0;      // products of two of them below it too; 0: none
    u64 carre_base = 0;        // the largest prime of the base, squared
    std::uint8_t depart = 0;   // the bytes' start value
    int s = 0;                 // primes in a
    u32 a_bas = 0, a_haut = 0; // indices of the primes drawn for a
    double log_cible = 0;      // ln of the ideal a
    bool verifier = false;
    u32 diviseur = 0; // a prime below the base's end that divides N
};

// Builds the factor base of N, with the table's row for its size or PAR;
// stops at a prime that divides N, left in diviseur.
void preparer(Contexte& c, const mpz_t n, const Parametres* par = nullptr);

// ---- Relations, stored flat (releves.cpp) ----

struct Releve {
    u32 debut_f = 0, nb_f = 0; // factor base indices, with repetitions
    u32 debut_y = 0, nb_y = 0; // limbs of |Y|
    u64 grand = 1, grand2 = 1; // the large primes, or 1
};

struct Lot {
    std::vector<u32> facteurs;
    std::vector<mp_limb_t> membres;
    std::vector<Releve> releves;
    long polynomes = 0, verifiees = 0, fausses = 0;

    void vider();
};

// The relations of every part. The partial ones are the edges of a graph
// whose vertices are their large primes and 1 (the second end of a relation
// with one large prime); each cycle of it is one relation more, counted as
// edges - vertices + components (with a union-find).
class Collecte {
  public:
    explicit Collecte(long requises) : requises_(requises), parent_(1, 0) {}

    // Takes the relations of LOT, which is emptied; true once there are enough.
    bool ajouter(Lot& lot);

    // False when A (its primes' indices, sorted) was drawn before.
    bool nouveau_a(const u32* q, int s);

    long trouvees() const { return trouvees_.load(std::memory_order_relaxed); }
    long requises() const { return requises_; }
    long partielles() const { return static_cast<long>(aretes_.size()); }
    long doubles() const { return doubles_; }
    long cycles() const { return cycles_; }

    // Once the parts have ended: the lines of the matrix, each a full
    // relation or the relations of one cycle, whose large primes each come
    // an even number of times; the full ones first.
    void fermer();
    // Keeps the lines for which VRAIE holds; returns how many went.
    long trier(const std::function<bool(const u32* ids, u32 nombre)>& vraie);
    u32 lignes() const { return static_cast<u32>(debuts_.size()) - 1; }
    const u32* ligne(u32 l) const { return ids_.data() + debuts_[l]; }
    u32 longueur(u32 l) const { return debuts_[l + 1] - debuts_[l]; }
    const Lot& tout() const { return tout_; }

  private:
    u32 sommet(u64 grand);
    u32 chef(u32 v);

    std::mutex m_;
    Lot tout_;
    long requises_;
    std::vector<u32> pleines_;                  // the full relations
    std::vector<u32> aretes_;                   // the partial ones
    std::vector<std::pair<u32, u32>> extremes_; // their vertices
    std::unordered_map<u64, u32> sommets_;      // large prime: its vertex (1: vertex 0)
    std::vector<u32> parent_;                   // the union-find's
    long cycles_ = 0, doubles_ = 0;
    std::vector<u32> ids_, debuts_;
    std::unordered_set<u64> a_vus_;
    std::atomic<long> trouvees_{0};
};

// The matrix of the exponents' parities, one row per line of COL.
MatriceCreuse matrice(const Contexte& c, const Collecte& col);

// ---- One part's search: its own polynomials, sieve and buckets ----

// Its stages are public, so that each can be driven on its own.
class Chercheur {
  public:
    Chercheur(const Contexte& c, Collecte& col, u64 graine);

    // Polynomials until EQUIPE says stop; AVANCEMENT, if any, after each
    // hand-over of relations (crible_qs.cpp).
    void chercher(Equipe& equipe, const std::function<void(long, long)>* avancement);

    // polynomes.cpp
    void choisir_a();
    void initialiser_b();
    void coefficient_c();
    void changer_b(u32 g);

    // crible.cpp
    template <int SENS> void remplir_seaux(const u32* d);
    void cribler();
    void cribler_bloc(u32 b);

    // examen.cpp
    void examiner_bloc(u32 b);
    void diviser(u32 i);
    void reperer_diviseurs(u32 pos);
    void candidat(u32 pos);
    bool deux_grands(u64 reste, u64& grand, u64& grand2) const;
    void garder(u64 grand, u64 grand2);
    bool congruence_vraie(u64 grand, u64 grand2);

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
    std::vector<u32> candidats_; // the block's, as positions in it
    std::vector<u32> vus_;       // the bucket's entries at a candidate
    Lot lot_;
    u32 a_haut_; // the end of the range a's primes are drawn from
};

// The positions of the bytes past 127 among the BLOC bytes of BLOC, in
// increasing order, appended to OU: with AVX2 (only where the processor has
// it) and without (examen.cpp).
void candidats_portable(const std::uint8_t* bloc, std::vector<u32>& ou);
void candidats_avx2(const std::uint8_t* bloc, std::vector<u32>& ou);

// ---- From a dependency to a factor (racine.cpp) ----

// X = prod Y, Z = sqrt(prod a Q(x)) mod N from the exponents of the lines
// of DEPENDANCE; true with gcd(X - Z, N) in FACTEUR when it is a proper
// factor.
bool racine(const Contexte& c, const Collecte& col, const std::vector<u32>& dependance,
            mpz_t facteur);

// True when the relations IDS of T, multiplied, hold Y^2 = (-1)^e0 2^e1 ...
// L^2 ... mod N.
bool congruence_ligne(const Contexte& c, const Lot& t, const u32* ids, u32 nombre);

} // namespace qs
