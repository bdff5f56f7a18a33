#include "app/arguments.hpp"

#include "base/sortie.hpp"

#include <cerrno>
#include <cstdio>
#include <cstring>

#ifndef PREMIERS_VERSION
#define PREMIERS_VERSION "?"
#endif

namespace {

const char USAGE[] = "Usage : premiers [--help | --version]\n";

const char AIDE[] =
    "\n"
    "Calculs sur les nombres premiers, en mode texte : decomposition en facteurs\n"
    "premiers, listes des nombres premiers avec leurs rangs ou entre deux bornes,\n"
    "concatenations de nombres premiers. Le programme affiche un menu et lit chaque\n"
    "reponse sur une ligne de l'entree standard. Il calcule lui-meme les nombres\n"
    "premiers de sa table ; un fichier liste.txt dans le repertoire courant (genliste\n"
    "l'ecrit) est facultatif, et ses valeurs sont alors verifiees.\n"
    "\n"
    "  --help     affiche cette aide et termine\n"
    "  --version  affiche la version et termine\n";

} // namespace

int arguments(int argc, char** argv) {
    if (argc <= 1) {
        return -1;
    }
    if (argc == 2 && std::strcmp(argv[1], "--help") == 0) {
        return afficher_textes("premiers", {USAGE, AIDE});
    }
    if (argc == 2 && std::strcmp(argv[1], "--version") == 0) {
        return afficher_textes("premiers", {"premiers " PREMIERS_VERSION "\n"});
    }
    if (argc == 2) {
        std::fprintf(stderr, "premiers : argument inconnu : %s\n", argv[1]);
    } else {
        std::fputs("premiers : un seul argument au plus\n", stderr);
    }
    std::fputs(USAGE, stderr);
    return 2;
}
