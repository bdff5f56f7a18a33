# Finds GMP-ECM's library (Debian's libecm-dev) and provides the imported
# target ECM::ECM.
find_path(ECM_INCLUDE_DIR NAMES ecm.h)
find_library(ECM_LIBRARY NAMES ecm)

include(FindPackageHandleStandardArgs)
find_package_handle_standard_args(ECM REQUIRED_VARS ECM_LIBRARY ECM_INCLUDE_DIR)

if(ECM_FOUND AND NOT TARGET ECM::ECM)
    add_library(ECM::ECM UNKNOWN IMPORTED)
    set_target_properties(ECM::ECM PROPERTIES
        IMPORTED_LOCATION "${ECM_LIBRARY}"
        INTERFACE_INCLUDE_DIRECTORIES "${ECM_INCLUDE_DIR}")
endif()
mark_as_advanced(ECM_INCLUDE_DIR ECM_LIBRARY)
