#include "concat/concat.hpp"

int concat() {
    return 1;
}
