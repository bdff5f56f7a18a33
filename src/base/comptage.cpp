#include "base/comptage.hpp"

#include "base/interruption.hpp"
#include "base/memoire.hpp"
#include "base/reglages.hpp"

#include <exception>
#include <mutex>
#include <primecount.hpp>
#include <pthread.h>
#include <unistd.h>

namespace {

// The process the program started as; the children of hors_processus see
// another pid.
const pid_t programme = ::getpid();

// primecount runs on OpenMP threads, and GNU OpenMP's thread pool does not
// survive fork(): a child of a process whose pool has started waits forever
// for the pool's threads at its first parallel region. So the program's own
// process, which forks a child for each long count once Ctrl-C is handled,
// counts on one thread; its children, and a program that never forks, count
// on every core, when memory allows them threads. Below PI_UN_FIL a count
// runs on one thread anyway.
int fils_permis(std::int64_t x) {
    static const int tous = primecount::get_num_threads(); // read before any change
    return x < PI_UN_FIL || (interruption_installee() && ::getpid() == programme) ||
                   !fils_de_bibliotheque_permis()
               ? 1
               : tous;
}

// primecount's number of threads is one setting for the whole process: a
// count sets it and runs under this lock, the table's fillers counting too.
// A fork waits for the count under way, so that no child starts with the
// lock taken.
std::mutex compteur;
const int compteur_et_fork =
    ::pthread_atfork([] { compteur.lock(); }, [] { compteur.unlock(); }, [] { compteur.unlock(); });

} // namespace

std::int64_t pi(std::int64_t x) {
    if (x < 2) {
        return 0;
    }
    std::lock_guard<std::mutex> verrou(compteur);
    primecount::set_num_threads(fils_permis(x));
    try {
        return primecount::pi(x);
    } catch (const std::exception&) { // primecount_error or bad_alloc
        return -1;
    }
}

std::int64_t nieme_premier(std::int64_t n) {
    std::lock_guard<std::mutex> verrou(compteur);
    primecount::set_num_threads(fils_permis(n < INT64_MAX / 64 ? n * 23 : INT64_MAX)); // its prime
    try {
        return primecount::nth_prime(n);
    } catch (const std::exception&) {
        return -1;
    }
}
