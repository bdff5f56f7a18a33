// What the two methods share: the powers X^(E / E_i) for all i at once,
// down a tree, and the test each power then meets. The tree: a node holds X
// raised to every E_j outside it; each child raises its parent's value to
// the product of its sibling. A level costs about one power of size E, and
// Huffman's tree on the sizes of the E_i makes the sum of the leaves'
// sizes times their depths, the whole cost, the least.

#include "factor/preuve/preuve.hpp"

#include <cstddef>
#include <functional>
#include <queue>
#include <utility>

namespace {

constexpr std::size_t AUCUN = static_cast<std::size_t>(-1);

struct Noeud {
    mpz_class produit;
    std::size_t gauche = AUCUN;
    std::size_t droite = AUCUN;
};

class Descente {
  public:
    Descente(const std::vector<mpz_class>& e, const mpz_class& n, Puissance_fn puissance)
        : n_(n), puissance_(puissance), valeurs_(e.size()) {
        using Poids = std::pair<std::size_t, std::size_t>; // size in bits, node
        std::priority_queue<Poids, std::vector<Poids>, std::greater<>> file;
        for (const mpz_class& v : e) {
            file.emplace(mpz_sizeinbase(v.get_mpz_t(), 2), noeuds_.size());
            noeuds_.push_back({v});
        }
        while (file.size() > 1) {
            auto [ta, a] = file.top();
            file.pop();
            auto [tb, b] = file.top();
            file.pop();
            file.emplace(ta + tb, noeuds_.size());
            noeuds_.push_back({noeuds_[a].produit * noeuds_[b].produit, a, b});
        }
    }

    std::vector<mpz_class> valeurs(const mpz_class& x) {
        if (!noeuds_.empty()) {
            descendre(noeuds_.size() - 1, x);
        }
        return std::move(valeurs_);
    }

  private:
    void descendre(std::size_t i, mpz_class x) {
        const Noeud& nd = noeuds_[i];
        if (nd.gauche == AUCUN) {
            valeurs_[i] = std::move(x);
            return;
        }
        mpz_class y = x;
        puissance_(y, noeuds_[nd.droite].produit, n_);
        descendre(nd.gauche, std::move(y));
        puissance_(x, noeuds_[nd.gauche].produit, n_);
        descendre(nd.droite, std::move(x));
    }

    const mpz_class& n_;
    Puissance_fn puissance_;
    std::vector<Noeud> noeuds_; // the leaves first, in the order of E
    std::vector<mpz_class> valeurs_;
};

} // namespace

std::vector<mpz_class> puissances_partielles(const mpz_class& x, const std::vector<mpz_class>& e,
                                             const mpz_class& n, Puissance_fn puissance) {
    return Descente(e, n, puissance).valeurs(x);
}

Conditions condition_q(const mpz_class& n, const mpz_class& y, const mpz_class& q,
                       Puissance_fn puissance, unsigned long un) {
    mpz_class t = y;
    puissance(t, q, n);
    if (t != un) {
        return Conditions::compose;
    }
    mpz_class g = y - un;
    mpz_gcd(g.get_mpz_t(), g.get_mpz_t(), n.get_mpz_t());
    if (g == 1) {
        return Conditions::remplies;
    }
    return g == n ? Conditions::indecises : Conditions::compose;
}
