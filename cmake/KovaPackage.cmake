# cpack -G DEB in the build folder: one Debian package of everything that
# cmake --install puts under the prefix.
file(STRINGS ${PROJECT_SOURCE_DIR}/data/SYSVER.DAT kova_version_line LIMIT_COUNT 1)
string(REGEX MATCH "^\"?([^\",]+)" kova_version "${kova_version_line}")
string(STRIP "${CMAKE_MATCH_1}" kova_version)

# The one place the package's maintainer is named (control file, copyright,
# changelog). The default is a team address at a domain reserved for
# examples, which can never reach a stranger; a distributor sets their own.
set(KOVA_PACKAGE_MAINTAINER "Kovadex developers <kovadex-devel@example.org>"
    CACHE STRING "Maintainer of the Debian package: Name <address>")

# The changelog's latest entry is the version the package carries.
set(kova_changelog_in ${PROJECT_SOURCE_DIR}/packaging/changelog.in)
file(STRINGS ${kova_changelog_in} kova_changelog_top LIMIT_COUNT 1)
if(NOT kova_changelog_top MATCHES "^kovadex \\(${kova_version}\\) ")
  message(FATAL_ERROR "packaging/changelog.in starts with \"${kova_changelog_top}\"; "
                      "data/SYSVER.DAT gives version ${kova_version}: add its entry")
endif()

# The documents Debian asks of every package, in /usr/share/doc/kovadex and
# the manual pages, compressed as dpkg expects them (gzip -9n: no name, no
# time stamp, the same bytes from every build).
find_program(KOVA_GZIP gzip REQUIRED)
set(kova_pkg_dir ${PROJECT_BINARY_DIR}/packaging/doc)
configure_file(${PROJECT_SOURCE_DIR}/packaging/copyright ${kova_pkg_dir}/copyright @ONLY)
configure_file(${kova_changelog_in} ${kova_pkg_dir}/changelog @ONLY)
set(kova_man_pages)
foreach(page KOVACALC.1 TOLMPRED.1)
  list(APPEND kova_man_pages ${kova_pkg_dir}/${page}.gz)
  add_custom_command(OUTPUT ${kova_pkg_dir}/${page}.gz
    COMMAND ${KOVA_GZIP} -9n -c ${PROJECT_SOURCE_DIR}/packaging/man/${page} > ${kova_pkg_dir}/${page}.gz
    DEPENDS ${PROJECT_SOURCE_DIR}/packaging/man/${page} VERBATIM)
endforeach()
add_custom_command(OUTPUT ${kova_pkg_dir}/changelog.gz
  COMMAND ${KOVA_GZIP} -9n -c ${kova_pkg_dir}/changelog > ${kova_pkg_dir}/changelog.gz
  DEPENDS ${kova_pkg_dir}/changelog VERBATIM)
add_custom_target(kova_package_docs ALL DEPENDS ${kova_man_pages} ${kova_pkg_dir}/changelog.gz)
install(FILES ${kova_man_pages} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${kova_pkg_dir}/copyright ${kova_pkg_dir}/changelog.gz DESTINATION ${CMAKE_INSTALL_DOCDIR})
install(FILES ${PROJECT_SOURCE_DIR}/packaging/lintian-overrides DESTINATION ${CMAKE_INSTALL_DATADIR}/lintian/overrides
        RENAME kovadex)

set(CPACK_PACKAGE_NAME kovadex)
set(CPACK_PACKAGE_VERSION ${kova_version})
set(CPACK_PACKAGE_VENDOR "Kovadex")
set(CPACK_PACKAGE_CONTACT "${KOVA_PACKAGE_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${KOVA_PACKAGE_MAINTAINER}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "settlement of soft ground under embankments")
# The extended description (CPack puts the summary above it), wrapped for
# 80 columns; the indented lines are kept as they are.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "Calculation and prediction of how far and how fast soft ground settles under
embankments and other surcharge loads, for geotechnical engineers:
 - KOVACALC, the cross-section editor, with SETLCORE, its calculation engine;
 - TOLMPRED, the hyperbolic prediction of observed settlement;
 - VIEWQEX2, the print preview of both programs' reports, with printing and
   PDF export.
The windows are in Japanese.")
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
# The package carries the programs without their debugging information.
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# The libraries (Qt 6 and the C++ runtime) are found by dpkg-shlibdeps; the
# fonts the forms are shown in are not linked and named here. Without the
# Qt translations the standard dialogs (file, print) stay in English.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-ipafont-gothic, fonts-dejavu-extra")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-translations-l10n")
# Folders dpkg creates belong to root and are not group-writable, whatever
# the umask of the build.
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
include(CPack)
