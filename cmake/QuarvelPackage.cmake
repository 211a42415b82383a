# The Debian package, quarvel_<version>_amd64.deb: `cpack -G DEB` in a build
# folder (scripts/make-package.sh does it all). It holds what
# `cmake --install` installs, under /usr; the libraries in its Depends line
# come from dpkg-shlibdeps reading the two programs, not from a hand-kept list.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME quarvel)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "The Quarvel developers")
set(CPACK_PACKAGE_CONTACT ${QUARVEL_MAINTAINER})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "tie a sediment core to a chirp sub-bottom seismic record")
set(CPACK_PACKAGE_DESCRIPTION
    "Quarvel computes a synthetic chirp seismogram from a sediment core's
P-wave velocity and density logs and the Klauder wavelet of a chirp sweep,
and shows it beside the core photograph, the logs and the recorded trace, all
on the photograph's pixel rows. Depths and two-way times are probed with the
mouse, correlation marks are drawn across the panels and the result is saved
as one bitmap.

Logs are read as plain text, LAS or Geotek MSCL tables, traces as text
listings or SEG-Y. The package holds the desktop program, quarvel, the
command-line tool quarvel-synth and a demo core (quarvel --demo).")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The one thing dpkg-shlibdeps cannot see: the windows and the final plot are
# laid out for Liberation Sans, a font, not a library. CPack adds the
# libraries it finds to this.
set(CPACK_DEBIAN_PACKAGE_DEPENDS fonts-liberation2)

include(CPack)
