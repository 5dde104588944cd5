# The Debian package (`cpack -G DEB` in a build folder; scripts/package.sh makes a release one).
# Its contents are the install rules of packaging/CMakeLists.txt.
set(ZORVANE_PACKAGE_MAINTAINER "Zorvane maintainers <maintainers@zorvane.example>"
    CACHE STRING "Maintainer field of the Debian package")

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME zorvane)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Zorvane developers")
set(CPACK_PACKAGE_CONTACT ${ZORVANE_PACKAGE_MAINTAINER})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "biorhythms for one month: charts, day lists and a report")
set(CPACK_PACKAGE_DESCRIPTION
    "Zorvane computes a person's biorhythms for one calendar month: the physical
(23 days), emotional (28 days) and intellectual (33 days) cycles and their
sum, each drawn as a chart of its own, with the unfavourable, dangerous and
especially dangerous days of the month listed. It steps the month back and
forward and prints a one-page A4 report. The interface is in Russian.

The package also holds zorvane-cli, which prints a month's values and day
lists as text for scripts.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER ${ZORVANE_PACKAGE_MAINTAINER})
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# Library dependencies come from the programs themselves (dpkg-shlibdeps); what no program links
# is named here: the fonts the forms were laid out for, libcups (opened at run time by the
# spool, so shlibdeps cannot see it), the opener of the help document and the AT-SPI bridge
# (opened at run time when a screen reader listens).
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-liberation2, libcups2 (>= 2.3)")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "xdg-utils, libatk-bridge2.0-0")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_DEBIAN_COMPRESSION_TYPE xz)

include(CPack)
