#pragma once
// How much more memory the process can take: the smallest headroom among
// what the machine has available, what the limits on the address space and
// on data allow (setrlimit) and what its control group allows, each less
// what the process already holds under it.

#include <cstdint>

std::uint64_t memoire_libre();

// Whether OCTETS more fit, with room to spare in proportion to them (an
// eighth, and a megabyte for the rest of the program): a request of a few
// kilobytes fits while megabytes are free.
bool memoire_suffit(std::uint64_t octets);

// Whether a library may start threads of its own for the call about to run.
// PARI's parallel engine waits for ever on a thread that could not get its
// memory, and GNU OpenMP (primecount) ends the process: with less than a
// gigabyte left they compute on the calling thread alone.
bool fils_de_bibliotheque_permis();
