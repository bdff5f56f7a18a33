# Finds M4RI (Debian's libm4ri-dev), dense linear algebra over GF(2), and
# provides the imported target M4RI::M4RI.
find_path(M4RI_INCLUDE_DIR NAMES m4ri/m4ri.h)
find_library(M4RI_LIBRARY NAMES m4ri)

include(FindPackageHandleStandardArgs)
find_package_handle_standard_args(M4RI REQUIRED_VARS M4RI_LIBRARY M4RI_INCLUDE_DIR)

if(M4RI_FOUND AND NOT TARGET M4RI::M4RI)
    add_library(M4RI::M4RI UNKNOWN IMPORTED)
    set_target_properties(M4RI::M4RI PROPERTIES
        IMPORTED_LOCATION "${M4RI_LIBRARY}"
        INTERFACE_INCLUDE_DIRECTORIES "${M4RI_INCLUDE_DIR}")
endif()
mark_as_advanced(M4RI_INCLUDE_DIR M4RI_LIBRARY)
