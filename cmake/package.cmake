# The Debian package: `cpack -G DEB` in the build folder makes korvane_<version>_<arch>.deb,
# its dependencies read from the shared libraries the programs use.

# Manual pages and the package's own documents, compressed as Debian keeps them.
set(KORVANE_PACKAGE_FILES)
function(korvane_gzip source output)
  add_custom_command(OUTPUT "${output}"
    COMMAND sh -c "gzip -9 -n -c \"$0\" > \"$1\"" "${source}" "${output}"
    DEPENDS "${source}" VERBATIM)
  set(KORVANE_PACKAGE_FILES ${KORVANE_PACKAGE_FILES} "${output}" PARENT_SCOPE)
endfunction()

set(KORVANE_PACKAGE_BUILD "${CMAKE_BINARY_DIR}/package")
file(MAKE_DIRECTORY "${KORVANE_PACKAGE_BUILD}")
foreach(page korvane korvane-query)
  korvane_gzip("${PROJECT_SOURCE_DIR}/man/${page}.1" "${KORVANE_PACKAGE_BUILD}/${page}.1.gz")
  install(FILES "${KORVANE_PACKAGE_BUILD}/${page}.1.gz" DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
endforeach()
# A native package: its changelog is changelog.gz.
configure_file(packaging/changelog.in "${KORVANE_PACKAGE_BUILD}/changelog" @ONLY)
korvane_gzip("${KORVANE_PACKAGE_BUILD}/changelog" "${KORVANE_PACKAGE_BUILD}/changelog.gz")
add_custom_target(korvane_package_files ALL DEPENDS ${KORVANE_PACKAGE_FILES})
# The NTS module is built with the hardening flags, but none of its calls has a size the compiler
# knows, so no fortified function is there for lintian to find.
configure_file(packaging/lintian-overrides.in "${KORVANE_PACKAGE_BUILD}/korvane" @ONLY)
install(FILES "${KORVANE_PACKAGE_BUILD}/korvane" DESTINATION ${CMAKE_INSTALL_DATADIR}/lintian/overrides)
install(FILES "${KORVANE_PACKAGE_BUILD}/changelog.gz" packaging/copyright
        DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/korvane)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME korvane)
set(CPACK_PACKAGE_VERSION "${PROJECT_VERSION}")
set(CPACK_PACKAGE_CONTACT "Korvane developers <dev@korvane.invalid>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "keeps the computer's clock right and shows it")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "Korvane asks internet time servers for the time over SNTP, Time, DayTime or
UnixTime, sets the computer's clock and reports the adjustment. It shows the
clock in a tray icon, a main window, a skinned clock over the taskbar and a
floating desktop clock. korvane-query asks a server once and prints the
offset without setting anything.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Opening the help and web pages, and the font the windows are drawn in.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "xdg-utils, fonts-liberation")
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "${KORVANE_HOMEPAGE}")
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGE_DIRECTORY "${CMAKE_BINARY_DIR}")
include(CPack)
