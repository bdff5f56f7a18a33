#pragma once
// How much more memory the process can take: the smallest of what the
// machine has, what its limits on the address space and on data allow
// (setrlimit) and what its control group allows, less what it already holds
// under each, with some room kept for everything else.

#include <cstdint>

std::uint64_t memoire_libre();
