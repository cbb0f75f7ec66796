# Finds Qwt 6 built for Qt 5 (Debian's libqwt-qt5-dev ships no CMake config).
# Provides Qwt::Qwt, Qwt_FOUND, Qwt_INCLUDE_DIR and Qwt_LIBRARY.
find_path(Qwt_INCLUDE_DIR NAMES qwt_plot.h PATH_SUFFIXES qwt qwt-qt5 qwt6)
find_library(Qwt_LIBRARY NAMES qwt-qt5 qwt6-qt5 qwt)

include(FindPackageHandleStandardArgs)
find_package_handle_standard_args(Qwt REQUIRED_VARS Qwt_LIBRARY Qwt_INCLUDE_DIR)

if(Qwt_FOUND AND NOT TARGET Qwt::Qwt)
    add_library(Qwt::Qwt UNKNOWN IMPORTED)
    set_target_properties(Qwt::Qwt PROPERTIES
        IMPORTED_LOCATION "${Qwt_LIBRARY}"
        INTERFACE_INCLUDE_DIRECTORIES "${Qwt_INCLUDE_DIR}"
        INTERFACE_COMPILE_DEFINITIONS QWT_DLL)
endif()
mark_as_advanced(Qwt_INCLUDE_DIR Qwt_LIBRARY)
