// Screen texts are kept exactly as the user sees them, misspellings included.

#include "app/ecrans.hpp"

#include "state/sortie.hpp"

namespace {

constexpr const char* MENU[] = {
    " \n   POUR MODIFIER LA TAILLE DU TEXTE ET DE LA FENETRE : [TOUCHE CTRL] + [MOLETTE DE LA SOURIS]. \n ",
    "\n___________________________________________________________________________________________________________\n",
    "***********************************************************************************************************\n",
    " \n  \t  *****  CALCUL DE NOMBRES PREMIERS  ***** : ",
    "\n \n \t Que voulez-vous faire ? : \n ",
    "\n \n \t \t [1] - Decomposer un nombre en facteurs premiers ? ",
    "\n \n \t \t [2] - Lister les nombres premiers avec leurs rangs ? ",
    "\n \n \t \t [3] - Afficher les nombres premiers compris entre deux bornes (sans leurs rangs) ? ",
    "\n \n \t \t [4] - Concatenation de nombres premiers ? ",
    "\n \n \t \t [5] - Afficher des explications ? ",
    "\n \n \t \t [0] - Fermer le programme ? ",
};

constexpr const char* EXPLICATIONS[] = {
    " \n \n \t  Ce programme utilise, en lecture seulement, le fichiers liste.txt qui doit etre place dans le meme repertoire que lui. ",
    " \n \t  Ce fichier contient les nombres premiers jusqu'au cent cinquante millionieme ",
    " \n \t  Le programme permet de calculer des nombres premiers inferieurs a (2^63 - 1), soit environ 9 milliards de milliards. ",
    " \n \t  Quand un nombre premier est affiche, il est precede de son rang.",
    " \n \n \t  NOMBRES PREMIERS : ",
    " \n \n \t  Le fichier liste.txt  permet d'afficher et charger rapidement en memoire vive les nombres premiers jusqu'au cent cinquante millionieme. ",
    " \n \t  Au dela du cent cinquante millionieme les nombres sont calcules et memorises en memoire vive egalement, mais le fichier liste.txt n'est pas complete. ",
    " \n \t  Les nombres premiers charges depuis liste.txt ou calcules restent en memoire vive tant qu'on ne ferme pas les programmes.",
    " \n  \n \t  Une option permet d'afficher rapidement tous les nombres premiers entre deux bornes, mais sans leurs rangs.",
    " \n  \t  Dans ce cas, pour afficher les rangs, il faut se servir de 'lister les nombres premiers'. ",
    " \n  \n \t  Lancer 'lister les nombres premiers' pour voir les details du fonctionement. ",
    " \n \n \n \t  DECOMPOSITION EN FACTEURS PREMIERS : ",
    " \n \n \t  En entree, un nombre N entier positif quelconque convient. ",
    " \n \t  Ces programmes utilisent la librairie NTL du C++. Cela permet de factoriser des nombres superieurs a (2^63 - 1). ",
    " \n \t  Neanmoins les facteurs premiers doivent etre inferieurs a (2^63 - 1). ",
    " \n \t  La decomposition est tres rapide si ces facteurs ne sont pas trop grands.",
    " \n \n \n \t  NOMBRES PREMIERS JUMEAUX et GENERALISATION: ",
    " \n \n \t  On peut afficher parmi les nombres deja calcules, tous les couples de nombres jumeaux ou ceux ayant un ecart choisi.",
    " \n \n \n \t  CONCATENATION DE NOMBRES PREMIERS : ",
    " \n \n \t  Cette option permet de determiner si un nombre est la concatenation de nombres premiers et d'afficher toutes les possibilites.",
    " \n \t  Elle permet egalement de determiner tous les nombres de ce type entre 2 valeurs.",
    " \n \t  On peut aussi determiner uniquement les nombres premiers de ce type entre 2 bornes. \n \n",
};

} // namespace

void ecran_menu() {
    for (const char* texte : MENU) {
        out << texte;
    }
}

void ecran_explications() {
    for (const char* texte : EXPLICATIONS) {
        out << texte;
    }
    for (int n = 0; n < 3; ++n) {
        out << '\n';
        out.flush();
    }
}
