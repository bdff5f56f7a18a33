#include "input/input.hpp"
#include "state/reponses.hpp"

int valtest(char c) {
    valtest1 = 0;
    valtest2 = 0;
    if (c >= '0' && c <= '9') {
        valtest1 = c - '0';
    } else if (c == '+') {
        valtest1 = 1;
    } else if (c == '-') {
        valtest1 = -1;
    } else {
        return 0;
    }
    valtest2 = valtest1;
    return 1;
}
