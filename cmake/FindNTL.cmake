# Finds NTL (Debian's libntl-dev) and provides the imported target NTL::NTL,
# which also links GMP and the thread library NTL is built with.
find_path(NTL_INCLUDE_DIR NAMES NTL/ZZ.h)
find_library(NTL_LIBRARY NAMES ntl)

find_package(PkgConfig REQUIRED)
pkg_check_modules(GMP REQUIRED IMPORTED_TARGET gmp)
find_package(Threads REQUIRED)

include(FindPackageHandleStandardArgs)
find_package_handle_standard_args(NTL REQUIRED_VARS NTL_LIBRARY NTL_INCLUDE_DIR)

if(NTL_FOUND AND NOT TARGET NTL::NTL)
    add_library(NTL::NTL UNKNOWN IMPORTED)
    set_target_properties(NTL::NTL PROPERTIES
        IMPORTED_LOCATION "${NTL_LIBRARY}"
        INTERFACE_INCLUDE_DIRECTORIES "${NTL_INCLUDE_DIR}"
        INTERFACE_LINK_LIBRARIES "PkgConfig::GMP;Threads::Threads")
endif()
mark_as_advanced(NTL_INCLUDE_DIR NTL_LIBRARY)
