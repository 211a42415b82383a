# Finds segyio's C library. Debian 12's libsegyio-dev ships a CMake package
# that points at files it does not install, so the header and the library are
# looked up directly and wrapped in the imported target segyio::segyio.
find_path(Segyio_INCLUDE_DIR NAMES segyio/segy.h)
find_library(Segyio_LIBRARY NAMES segyio)

include(FindPackageHandleStandardArgs)
find_package_handle_standard_args(Segyio REQUIRED_VARS Segyio_LIBRARY Segyio_INCLUDE_DIR)

if(Segyio_FOUND AND NOT TARGET segyio::segyio)
  add_library(segyio::segyio UNKNOWN IMPORTED)
  set_target_properties(segyio::segyio PROPERTIES
    IMPORTED_LOCATION "${Segyio_LIBRARY}"
    INTERFACE_INCLUDE_DIRECTORIES "${Segyio_INCLUDE_DIR}")
endif()
mark_as_advanced(Segyio_INCLUDE_DIR Segyio_LIBRARY)
