# Finds M4RI (Debian's libm4ri-dev), dense linear algebra over GF(2), and
# provides the target M4RI::M4RI: its headers, and the path of the library
# itself in PREMIERS_M4RI, which the program loads when it first needs it.
find_path(M4RI_INCLUDE_DIR NAMES m4ri/m4ri.h)
find_library(M4RI_LIBRARY NAMES m4ri)

include(FindPackageHandleStandardArgs)
find_package_handle_standard_args(M4RI REQUIRED_VARS M4RI_LIBRARY M4RI_INCLUDE_DIR)

if(M4RI_FOUND AND NOT TARGET M4RI::M4RI)
    file(REAL_PATH "${M4RI_LIBRARY}" M4RI_FICHIER)
    add_library(M4RI::M4RI INTERFACE IMPORTED)
    set_target_properties(M4RI::M4RI PROPERTIES
        INTERFACE_INCLUDE_DIRECTORIES "${M4RI_INCLUDE_DIR}"
        INTERFACE_COMPILE_DEFINITIONS "PREMIERS_M4RI=\"${M4RI_FICHIER}\""
        INTERFACE_LINK_LIBRARIES "${CMAKE_DL_LIBS}")
endif()
mark_as_advanced(M4RI_INCLUDE_DIR M4RI_LIBRARY)
