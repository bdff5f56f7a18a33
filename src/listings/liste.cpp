#include "listings/listings.hpp"

int liste() {
    return 1;
}
