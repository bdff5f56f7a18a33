#include "listings/listings.hpp"

int affiche() {
    return 1;
}
