#pragma once
// The command line: the program takes no argument but --help and --version.

// Handles ARGV. Returns -1 when there is no argument (the dialogue starts);
// otherwise the exit status, once the help, the version or a message on
// standard error has been written.
int arguments(int argc, char** argv);
