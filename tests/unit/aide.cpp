#include "aide.hpp"

#include <cstdio>
#include <gtest/gtest.h>
#include <pthread.h>
#include <sys/mman.h>
#include <unistd.h>

namespace {

std::int64_t plafond = RANG_FICHIER; // of the state table_neuve builds

} // namespace

Dialogue::Dialogue(const std::string& lignes)
    : lignes_(lignes), entree_(lignes_), avant_(lire_depuis(entree_)) {
    out.flush();
    std::fflush(stdout);
    ecran_ = ::dup(STDOUT_FILENO);
    capture_ = ::memfd_create("sortie", MFD_CLOEXEC);
    ::dup2(capture_, STDOUT_FILENO);
}

Dialogue::~Dialogue() {
    sortie();
    std::fflush(stdout);
    ::dup2(ecran_, STDOUT_FILENO);
    ::close(ecran_);
    ::close(capture_);
    lire_depuis(avant_);
    if (::testing::Test::HasFailure()) { // the messages written meanwhile are in it
        std::printf("standard output of the dialogue:\n%s\n", sortie_.c_str());
    }
}

const std::string& Dialogue::sortie() {
    out.flush();
    std::fflush(stdout);
    char bloc[1 << 16];
    for (ssize_t n;
         (n = ::pread(capture_, bloc, sizeof bloc, static_cast<off_t>(sortie_.size()))) > 0;) {
        sortie_.append(bloc, static_cast<std::size_t>(n));
    }
    return sortie_;
}

void table_neuve() {
    etat_initial(plafond);
}

RangFichierAbaisse::RangFichierAbaisse(std::int64_t rang) {
    plafond = rang;
    table_neuve();
}

RangFichierAbaisse::~RangFichierAbaisse() {
    plafond = RANG_FICHIER;
}

namespace {

void pile_des_fils(std::size_t octets) {
    pthread_attr_t a;
    pthread_attr_init(&a);
    pthread_attr_setstacksize(&a, octets);
    pthread_setattr_default_np(&a);
    pthread_attr_destroy(&a);
}

} // namespace

FilsRefuses::FilsRefuses() {
    pile_des_fils(std::size_t{1} << 46);
}

FilsRefuses::~FilsRefuses() {
    pile_des_fils(std::size_t{8} << 20);
}
