# The Debian package: `cpack -G DEB` in a build tree, which ./scripts/package runs.
if(NOT PELMIRO_BUILD_SHELL)
  return()
endif()
include(GNUInstallDirs)

set(PELMIRO_CONTACT "${PELMIRO_VENDOR} <developers@pelmiro.org>")

# The Debian revision comes from the changelog (cmake/version.cmake).
set(CPACK_DEBIAN_PACKAGE_RELEASE ${PELMIRO_DEBIAN_REVISION})

# copyright in Debian's machine-readable format, made from LICENSE. MIT is called
# Expat there: "MIT" names more than one licence.
file(READ ${PROJECT_SOURCE_DIR}/LICENSE licence)
string(REGEX MATCH "Copyright \\(c\\) ([^\n]+)\n+(.*)$" _ "${licence}")
set(copyright_holder ${CMAKE_MATCH_1})
string(STRIP "${CMAKE_MATCH_2}" licence_terms)
string(REPLACE "\n\n" "\n.\n" licence_terms "${licence_terms}")
string(REPLACE "\n" "\n " licence_terms "${licence_terms}")
file(CONFIGURE OUTPUT ${PROJECT_BINARY_DIR}/debian/copyright @ONLY CONTENT
"Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/
Upstream-Name: Pelmiro
Upstream-Contact: @PELMIRO_CONTACT@

Files: *
Copyright: @copyright_holder@
License: Expat
 @licence_terms@
")

# Debian wants documentation gzipped at the highest level and without a timestamp.
function(pelmiro_gzip source target)
  set(plain ${PROJECT_BINARY_DIR}/debian/${target})
  add_custom_command(OUTPUT ${plain}.gz
    COMMAND ${CMAKE_COMMAND} -E copy ${source} ${plain}
    COMMAND gzip -9nf ${plain}
    DEPENDS ${source}
    VERBATIM)
  add_custom_target(pelmiro_${target} ALL DEPENDS ${plain}.gz)
endfunction()
pelmiro_gzip(${PELMIRO_GENERATED_ASSETS}/pelmiro.6 pelmiro.6)
pelmiro_gzip(${PROJECT_SOURCE_DIR}/assets/changelog changelog.Debian)

install(FILES ${PROJECT_BINARY_DIR}/debian/pelmiro.6.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man6)
# man finds each of the others for users whose locale is of its language.
foreach(language ${PELMIRO_LANGUAGES})
  pelmiro_gzip(${PROJECT_BINARY_DIR}/po/man/pelmiro.${language}.6 pelmiro.${language}.6)
  add_dependencies(pelmiro_pelmiro.${language}.6 pelmiro_catalogue)
  install(FILES ${PROJECT_BINARY_DIR}/debian/pelmiro.${language}.6.gz
    DESTINATION ${CMAKE_INSTALL_MANDIR}/${language}/man6 RENAME pelmiro.6.gz)
endforeach()

# Files only the package carries; a plain `cmake --install` leaves them out.
file(CONFIGURE OUTPUT ${PROJECT_BINARY_DIR}/debian/install.cmake @ONLY CONTENT [=[
file(INSTALL @PROJECT_BINARY_DIR@/debian/copyright @PROJECT_BINARY_DIR@/debian/changelog.Debian.gz
  DESTINATION ${CPACK_PACKAGING_INSTALL_PREFIX}/@CMAKE_INSTALL_DOCDIR@)
file(INSTALL @PROJECT_SOURCE_DIR@/assets/pelmiro.lintian-overrides
  DESTINATION ${CPACK_PACKAGING_INSTALL_PREFIX}/@CMAKE_INSTALL_DATADIR@/lintian/overrides RENAME pelmiro)
]=])
set(CPACK_INSTALL_SCRIPTS ${PROJECT_BINARY_DIR}/debian/install.cmake)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME pelmiro)
set(CPACK_PACKAGE_VENDOR ${PELMIRO_VENDOR})
set(CPACK_PACKAGE_CONTACT ${PELMIRO_CONTACT})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "fireworks toy: launch rockets with the digit keys or the mouse")
# Debian shows the description as it is: lines of at most 80 characters.
set(CPACK_PACKAGE_DESCRIPTION [=[
Pelmiro opens a black window in which every press of a digit key from 1 to 9,
or of a mouse button, sends up a rocket from a random spot on the bottom edge.
It slows near the top quarter of the window and bursts into two rings of
orange and yellow sparks that fall away under gravity. A box in the corner
sets the size of every dot, from 1 to 100 pixels, and the show speeds up the
longer it runs.

Keys are found by their position, so the main-row digits launch on any
keyboard layout. There is nothing to win, nothing to configure and nothing
saved.]=])
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Qt's own words in the user's language: the box's menu speaks it too.
set(CPACK_DEBIAN_PACKAGE_DEPENDS qt6-translations-l10n)
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS qt6-wayland)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
include(CPack)
