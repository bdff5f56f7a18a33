# Finds FLINT (Debian's libflint-dev) and provides the imported target FLINT::FLINT.
find_path(FLINT_INCLUDE_DIR NAMES flint/flint.h)
find_library(FLINT_LIBRARY NAMES flint)

include(FindPackageHandleStandardArgs)
find_package_handle_standard_args(FLINT REQUIRED_VARS FLINT_LIBRARY FLINT_INCLUDE_DIR)

if(FLINT_FOUND AND NOT TARGET FLINT::FLINT)
    add_library(FLINT::FLINT UNKNOWN IMPORTED)
    set_target_properties(FLINT::FLINT PROPERTIES
        IMPORTED_LOCATION "${FLINT_LIBRARY}"
        INTERFACE_INCLUDE_DIRECTORIES "${FLINT_INCLUDE_DIR}")
endif()
mark_as_advanced(FLINT_INCLUDE_DIR FLINT_LIBRARY)
