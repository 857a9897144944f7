# cpack -G DEB in the build folder: one Debian package of everything that
# cmake --install puts under the prefix.
file(STRINGS ${PROJECT_SOURCE_DIR}/data/SYSVER.DAT kova_version_line LIMIT_COUNT 1)
string(REGEX MATCH "^\"?([^\",]+)" kova_version "${kova_version_line}")
string(STRIP "${CMAKE_MATCH_1}" kova_version)

set(CPACK_PACKAGE_NAME kovadex)
set(CPACK_PACKAGE_VERSION ${kova_version})
set(CPACK_PACKAGE_VENDOR "Kovadex")
set(CPACK_PACKAGE_CONTACT "Kovadex developers <kovadex@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Settlement of soft ground under embankments: calculation and prediction")
set(CPACK_PACKAGE_DESCRIPTION
    "KOVACALC, the cross-section editor, SETLCORE, its calculation engine, and TOLMPRED, the hyperbolic prediction of observed settlement.")
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
# The package carries the programs without their debugging information.
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_PACKAGE_SECTION science)
# The libraries (Qt 6 and the C++ runtime) are found by dpkg-shlibdeps; the
# fonts the forms are shown in are not linked and named here.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-ipafont-gothic, fonts-dejavu-extra")
include(CPack)
