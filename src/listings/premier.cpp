// The listing with ranks: a help screen, then one command per line, which
// extends the prime table as far as the rank or value it names and shows the
// primes reached with their ranks. "*" opens the selections; 0 returns.

#include "base/memoire.hpp"
#include "input/input.hpp"
#include "listings/entrees.hpp"
#include "listings/listings.hpp"
#include "listings/reglages.hpp"
#include "primes/portee.hpp"
#include "primes/remplissage.hpp"
#include "state/reponses.hpp"
#include "state/sortie.hpp"
#include "state/table.hpp"
#include "state/travail.hpp"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <unistd.h>

namespace {

std::int64_t K = 0;    // the command's value; a plain positive one becomes the target rank
std::int64_t np0 = 0;  // np when the command starts to be carried out
std::int64_t np1 = 0;  // rank of the last prime the command prints
std::int32_t fois = 0; // 0 before the first command and after the selections

constexpr std::int64_t MAX64 = std::numeric_limits<std::int64_t>::max();
constexpr std::int64_t MIN64 = std::numeric_limits<std::int64_t>::min();

void dernier_connu() {
    out << np << " : " << Nprem[np] << " ] .";
}

void presentation() {
    out << "\n___________________________________________________________________________________________________________\n"
        << " \n  \t  *****  CALCUL DE NOMBRES PREMIERS  ***** : "
        << " \n \n \t  Le dernier nombre premier charge/calcule est  :    [ ";
    dernier_connu();
    out << " \n \n \t  K etant un entier positif, vous pouvez saisir au debut et en cours d'utilisation : "
        << " \n \n \t \t [K] :   Pour afficher les K nombres premiers suivants le dernier charge/calcule. "
        << " \n \n \t \t [=K] :  Pour afficher le nombre premier de rang K. Ce rang, doit etre superieur a :  "
        << np << " \n \n \t \t [-K] :  Pour afficher tous les nombres premiers superieurs a  "
        << Nprem[np] << "  jusqu'a la valeur K . "
        << " \n \n \t \t [=-K] : Pour afficher le plus grand nombre premier superieur a  "
        << Nprem[np] << " et inferieur a K "
        << " \n \n \t \t [*] :   Cette option permet d'afficher des nombres premiers isoles ou des sequences de nombres premiers, tous inferieurs au dernier deja charge/calcule."
        << " \n \t \t         Ce dernier nombre etant celui calcule depuis le premier lancement d'un des deux programmes : Decomposition et Liste.  "
        << " \n \t \t         En fin de consultation on peut reprendre le calcul, a partir du dernier nombre premier charge/calcule. "
        << " \n \n \t \t [0] :   Pour arreter les calculs. \n ";
}

// Ranks the table would hold once the command is carried out: the target
// rank, or for a limit V the primes up to V (fewer than 1.25506 V / ln V) and
// the one above it.
double rangs_necessaires() {
    if (K < 0) {
        double v = -static_cast<double>(K);
        return v < 3 ? 3 : 1.25506 * v / std::log(v) + 1;
    }
    return un == 1 ? static_cast<double>(K) : static_cast<double>(np) + static_cast<double>(K);
}

// A command whose table would not fit in the memory the process can still
// take would only grow it until memory runs out.
bool demesuree() {
    double rangs = rangs_necessaires() + 1;
    if (rangs > 1e15) { // 8 PB: no machine holds it
        return true;
    }
    std::uint64_t apres = TablePremiers::octets(static_cast<std::uint64_t>(rangs));
    std::uint64_t avant = TablePremiers::octets(static_cast<std::uint64_t>(np) + 1);
    return apres > avant && !memoire_suffit(apres - avant);
}

// A command is asked again when it names a rank below the last known one, a
// limit below the last known prime, a target outside the signed 64-bit range
// (np + K, or the limit 2^63 that -K would need), or a table too large for
// the machine.
bool refusee() {
    if (voir == 1) {
        return false;
    }
    bool rang_connu = un == 1 && K > 0 && K < np;
    bool limite_connue = K < 0 && K > -Nprem[np];
    bool hors_limites = (un == 0 && K > MAX64 - np) || K == MIN64;
    return rang_connu || limite_connue || hors_limites || demesuree();
}

void demande() {
    for (;;) {
        if (np == 2) {
            question("\n \n \n \t [K]  ou  [-K]  ou  [=K]  ou   [=-K]  ou   [0]   ? : ");
        } else {
            out << " \n \n \t  Dernier nombre charge/calcule  :    [ ";
            dernier_connu();
            question("\n \n \n \t [K]  ou  [-K]  ou  [=K]  ou  [=-K]   ou   [*]  ou   [0]  ? : ");
        }
        A = controle(7, message);
        K = valeur;
        if (!refusee()) {
            return;
        }
        un = 0;
    }
}

// Grows the table up to the target rank, or past the limit -K; returns the
// rank the table will end at. The filling goes on behind.
std::int64_t extension() {
    if (K > 0) {
        grandir_au_rang(K);
    } else if (K < 0) {
        grandir_au_dela(-K);
    }
    return rang_vise();
}

void titre() {
    if (un == 1) {
        out << " \n \n \t " << np1 << " eme nombre premier : ";
    } else if (np0 == 2) {
        out << " \n \n \t Liste des nombres premiers : "
            << "  [ 1 : 2 ]   [ 2 : 3 ] ";
    } else {
        out << " \n \n \t Nombres premiers suivants :  ";
    }
}

void entrees() {
    if (un == 1) {
        attendre_rang(np1);
        entree_rang(np1);
        return;
    }
    for (std::int64_t de = np0 + 1; de <= np1; de += TRANCHE_LISTE) {
        std::int64_t a = std::min(np1, de + (TRANCHE_LISTE - 1));
        attendre_rang(a);
        entrees_rangs(de, a);
    }
}

void execution() {
    if (un == 0 && K > 0) {
        K += np;
    }
    np0 = np;
    std::int64_t fin = extension();
    np1 = K < 0 ? fin - 1 : fin;
    titre();
    entrees();
    attendre_table();
    un = 0;
    voir = 0;
}

} // namespace

int premier() {
    attendre_table(); // every screen here shows the table's end
    xn = 0;
    K = 0;
    voir = 0;
    fois = 0;
    presentation();
    while (K != 0 || fois == 0) {
        fois = 1;
        demande();
        if (voir == 1) {
            A = affiche();
            voir = 2;
            fois = 0;
            continue;
        }
        execution();
    }
    return 1;
}
