#include "listings/listings.hpp"

int premier() {
    return 1;
}
