# Finds PARI (Debian's libpari-dev) and provides the imported target PARI::PARI.
find_path(PARI_INCLUDE_DIR NAMES pari/pari.h)
find_library(PARI_LIBRARY NAMES pari)

include(FindPackageHandleStandardArgs)
find_package_handle_standard_args(PARI REQUIRED_VARS PARI_LIBRARY PARI_INCLUDE_DIR)

if(PARI_FOUND AND NOT TARGET PARI::PARI)
    add_library(PARI::PARI UNKNOWN IMPORTED)
    set_target_properties(PARI::PARI PROPERTIES
        IMPORTED_LOCATION "${PARI_LIBRARY}"
        INTERFACE_INCLUDE_DIRECTORIES "${PARI_INCLUDE_DIR}")
endif()
mark_as_advanced(PARI_INCLUDE_DIR PARI_LIBRARY)
