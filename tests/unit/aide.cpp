#include "aide.hpp"

#include "primes/remplissage.hpp"

#include <cstdlib>
#include <fstream>
#include <gtest/gtest.h>

std::string liste_generee(std::uint64_t compte) {
    std::string nom = "liste-" + std::to_string(compte) + ".txt";
    std::string commande = std::string(GENLISTE) + " " + std::to_string(compte) + " " + nom;
    EXPECT_EQ(std::system(commande.c_str()), 0);
    return nom;
}

std::string fichier(const std::string& nom, const std::string& texte) {
    std::ofstream(nom, std::ios::binary) << texte;
    return nom;
}

void table_neuve(const std::string& nom) {
    oublier_remplissage();
    etat_initial(nom.c_str());
}
