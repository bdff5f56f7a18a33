#pragma once
// Proofs of primality for the large numbers of [1], by the form of N first.
//
// A probable prime of a known form is proved at once by the test of its
// form: Lucas-Lehmer for 2^p - 1, Proth's test for k 2^n + 1 with k < 2^n
// (Pepin's for the Fermat numbers), and otherwise the N - 1 and N + 1
// methods as soon as N - 1 or N + 1 is factored far enough: Pocklington's
// and Morrison's conditions, then the theorems of Brillhart, Lehmer and
// Selfridge (a factored part above the square root, above the cube root, or
// the two sides together). The factors of N - 1 and N + 1 come from trial
// division (which finds n!, primorials and k b^n whole), from the algebra of
// the cyclotomic values (b^p - 1)/(b - 1) and (b^p + 1)/(b + 1), then from
// rho and a short ECM when a few more digits would do. Only when no form
// applies does the library's general proof decide.
//
// Every verdict is a proof: a test that is only probable never decides
// alone. Knows no program-wide variable, prints nothing and throws nothing;
// it runs where it is called (the factorisation of a large N calls it in its
// child process, which Ctrl-C ends).

#include <cstddef>
#include <gmpxx.h>
#include <vector>

enum class Verdict { premier, compose, inconnu };

// Whether N >= 0 is prime. inconnu only when the general proof failed (the
// library out of memory, say).
Verdict prouver(mpz_srcptr n);

// ---- Tuning, one line each on the figure it was chosen by.
namespace reglage_preuve {
// Figures of a machine of two cores busy with other work.
// Trial division of N - 1 and N + 1 by the primes up to here: 0.2 ms for
// both sides of a 1,000-digit N, the product of the primes built once in
// 2 ms; n! and p# with n, p up to this bound are found whole.
constexpr unsigned long DIVISION = 1UL << 16;
// Bases b tried for N = (b^p -+ 1)/(b -+ 1): 0.15 ms for all of them.
constexpr unsigned long BASE_CYCLOTOMIQUE = 1UL << 12;
// Rho and ECM on N -+ 1 only from this size, where the general proof takes
// 5 s or more (300 digits) and the search 1.2 s at 400 digits (0.15 s at
// 500 bits, where the general proof takes 0.7 s), and only when the
// theorems lack at most this many bits: what the short ECM finds and a
// little more.
constexpr unsigned long BITS_RECHERCHE = 1000;
constexpr unsigned long PORTEE_RECHERCHE = 160;
// Rho's steps on a cofactor (three products each): 0.2 s at 1,000 digits.
constexpr unsigned long ITERATIONS_RHO = 1UL << 12;
// The short ECM, for factors of 12 to 15 digits: 0.36 s a curve at 1,000
// digits, 0.08 s at 400.
constexpr int COURBES_ECM = 8;
constexpr double B1_ECM = 2000;
// A bit of exponent costs this many times more on the N + 1 side (a Lucas
// chain, two products and reductions: 50 us at 2,500 digits) than on the
// N - 1 side (a modular power: 20 us).
constexpr double COUT_PLUS = 2.5;
// The general proof by PARI's isprime below this size (BPSW, then N - 1 or
// APR-CL), by ECPP from it, on both cores; three primes each: APR-CL 0.42 s
// against ECPP 0.44 at 160 digits, 17 s against 6 at 400, 232 s against 107
// at 1,000; twenty primes each: isprime 4.7 ms against APR-CL 17 ms at 128
// bits, 0.33 s against 0.43 for ECPP at 400 bits, 0.90 s against 0.67 at
// 500.
constexpr unsigned long BITS_ECPP = 530;
// Nested proofs of the factors of N -+ 1 at most this deep: each factor is
// below half the number it serves, and no chain of primes 2p + 1 of this
// length is known.
constexpr int PROFONDEUR = 24;
} // namespace reglage_preuve

// ---- The stages, for the driver and the tests.

// Q^E divides N - 1 or N + 1 exactly (E is the full exponent); prouve once Q
// is proved prime.
struct Puissance {
    mpz_class q;
    unsigned long e = 0;
    bool prouve = false;
};

// M = N -+ 1 = (product of the powers) * reste, reste prime to each Q.
struct Partielle {
    std::vector<Puissance> facteurs;
    mpz_class reste;
};

// The product of the powers.
mpz_class produit(const std::vector<Puissance>& f);

// -- The tests of the forms.

// Lucas-Lehmer: whether 2^P - 1 is prime, P >= 3 an odd prime.
bool lucas_lehmer(unsigned long p);

// Proth's test on N = K 2^n + 1, K odd and below 2^n, N > 3 (Pepin's when
// K = 1): premier or compose; inconnu when no small base is a quadratic
// non-residue of N.
Verdict proth(const mpz_class& n);

// The least odd prime A up to the bound of trial division with (A/N) = -1,
// N odd: negative when N is composite (a small prime divides it, or it is a
// square), 0 when none was found.
long non_residu(const mpz_class& n);

// -- The N - 1 and N + 1 methods.

// The outcome of a method's conditions on N.
enum class Conditions {
    remplies,  // every prime factor of N is in the classes the method gives
    compose,   // N is composite
    indecises, // no base found that settles them
};

// Pocklington's conditions for N - 1 and the powers F of its factors, each
// proved prime: a base A with A^(N-1) = 1 and gcd(A^((N-1)/Q) - 1, N) = 1 for
// each Q. Remplies: every prime factor of N is 1 mod the product of F.
// N odd, N > 3.
Conditions conditions_moins(const mpz_class& n, const std::vector<Puissance>& f);

// Morrison's conditions for N + 1 and the powers F of its factors, each
// proved prime, with one discriminant D, (D/N) = -1, and elements of norm 1
// of Z/N[sqrt D]: A^(N+1) = 1 and A^((N+1)/Q) - 1 invertible for each Q.
// Remplies: every prime factor p of N is (D/p) mod the product of F. N odd,
// N > 3.
Conditions conditions_plus(const mpz_class& n, const std::vector<Puissance>& f);

// X^(E / E_i) for each E_i of E (their product), X given: the values of one
// power each, down a tree (Huffman's, on the sizes of the E_i) that costs
// about log(#E) powers of size E rather than #E. PUISSANCE(x, e) raises x to
// e in place.
using Puissance_fn = void (*)(mpz_class& x, const mpz_class& e, const mpz_class& n);
std::vector<mpz_class> puissances_partielles(const mpz_class& x, const std::vector<mpz_class>& e,
                                             const mpz_class& n, Puissance_fn puissance);

// The test of Q once Y = X^(M/Q) is known, X^M = 1 for a prime N (UN the
// value of 1: 1 for a power, 2 for a trace): composite when Y^Q != UN or
// when gcd(Y - UN, N) is a proper factor; open when Y = UN (another X may
// settle it); met otherwise.
Conditions condition_q(const mpz_class& n, const mpz_class& y, const mpz_class& q,
                       Puissance_fn puissance, unsigned long un);

// V_E(X) of the Lucas sequences with Q = 1, mod N, in place (V_0 = 2, V_1 =
// X): the trace of A^E for A of norm 1 and trace X.
void lucas_v(mpz_class& x, const mpz_class& e, const mpz_class& n);

// -- The theorems that end the proofs.

// Once the conditions hold for F1 | N - 1 and F2 | N + 1 (1 for a side not
// used): whether N < (lcm(F1, F2) + 1) max(F1 + 1, F2 - 1), which proves N
// prime (a composite N has a factor in each class).
bool borne_carree(const mpz_class& n, const mpz_class& f1, const mpz_class& f2);

// With the conditions on F1 | N - 1 and (F1 + 1)^3 > N: N is a product of at
// most two factors 1 mod F1, which the digits of N in base F1 show.
Verdict cube_moins(const mpz_class& n, const mpz_class& f1);
// With the conditions on F2 | N + 1, F2 > 2, (F2 - 1)^3 > N: likewise, the
// factors being 1 and -1 mod F2.
Verdict cube_plus(const mpz_class& n, const mpz_class& f2);

// -- The factors of N - 1 and N + 1.

// The odd primes up to the bound of trial division, in increasing order.
const std::vector<unsigned long>& petits_premiers();

// The factors of M >= 1 up to the bound of trial division, each proved.
Partielle division_partielle(const mpz_class& m);

// Adds the prime Q (proved or not) to P, with its full exponent in M.
void ajouter_facteur(Partielle& p, const mpz_class& q, bool prouve);

// Whether N = (B^E - S)/(B - S), S = 1 or -1, 2 <= B up to the bound of the
// cyclotomic bases, E >= 3: B, E and S then.
struct Cyclotomique {
    unsigned long b = 0;
    unsigned long e = 0;
    int s = 0;
};
bool forme_cyclotomique(const mpz_class& n, Cyclotomique& forme);

// N - 1 = B (B^(E-1) - 1)/(B - S), for N of that form: the cyclotomic
// values that make it, Phi_d(B) for d | E - 1 (but d = 1 or d = 2).
std::vector<mpz_class> morceaux_cyclotomiques(const Cyclotomique& forme);

// A factor of the composite C (odd, not a perfect power) by rho or the
// short ECM, at most the effort of the tuning above; 0 when none was found.
mpz_class petit_facteur(const mpz_class& c);

// Whether C passes the strong test of Baillie, Pomerance, Selfridge and
// Wagstaff: a proof below 2^64, of nothing above (but of compositeness when
// it fails).
bool probable_premier(const mpz_class& c);

// Adds to P the primes of C, a divisor of M: those already known divided
// out, C or what is left of it added when a probable prime (proved below
// 2^64), and with CHERCHER, C split by petit_facteur and each part looked at
// again.
void completer(Partielle& p, mpz_class c, bool chercher);

// -- Which factors and which theorem.

// Which powers of each side a proof uses (indices into the sides' factors),
// and the theorem that concludes.
struct Plan {
    enum Theoreme { par_carre, par_cube_moins, par_cube_plus } theoreme = par_carre;
    std::vector<std::size_t> moins;
    std::vector<std::size_t> plus;
};

// The least costly plan for N from the factors of N - 1 and N + 1 (those
// proved only, unless TOUS); false when none is enough.
bool choisir_plan(const mpz_class& n, const Partielle& moins, const Partielle& plus, bool tous,
                  Plan& plan);

// How many bits of factors, at least, the nearest theorem still lacks.
unsigned long bits_manquants(const mpz_class& n, const Partielle& moins, const Partielle& plus);

// -- The general proof, and the driver.

// The library's general proof.
Verdict preuve_generale(const mpz_class& n);

// The proof, nested proofs at most PROFONDEUR deep.
Verdict prouver(const mpz_class& n, int profondeur);
