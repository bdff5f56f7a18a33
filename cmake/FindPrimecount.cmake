# Finds primecount (Debian's libprimecount-dev) and provides the imported target
# primecount::primecount.
find_path(PRIMECOUNT_INCLUDE_DIR NAMES primecount.hpp)
find_library(PRIMECOUNT_LIBRARY NAMES primecount)

include(FindPackageHandleStandardArgs)
find_package_handle_standard_args(Primecount REQUIRED_VARS PRIMECOUNT_LIBRARY PRIMECOUNT_INCLUDE_DIR)

if(Primecount_FOUND AND NOT TARGET primecount::primecount)
    add_library(primecount::primecount UNKNOWN IMPORTED)
    set_target_properties(primecount::primecount PROPERTIES
        IMPORTED_LOCATION "${PRIMECOUNT_LIBRARY}"
        INTERFACE_INCLUDE_DIRECTORIES "${PRIMECOUNT_INCLUDE_DIR}")
endif()
mark_as_advanced(PRIMECOUNT_INCLUDE_DIR PRIMECOUNT_LIBRARY)
