#include "factor/factor.hpp"

int decomp() {
    return 1;
}
