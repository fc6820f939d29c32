# Installing the Linux game in Debian's games layout, and its Debian package.
#   cmake --install <build> --prefix DIR    DIR/games/kav, DIR/share/games/kav/{map,gfx,sfx}, ...
#   cmake --build <build> --target kav-deb  kav_<version>_<arch>.deb at the top of the source tree
# The files that name installed paths (menu entry, man page) are written at install time, so
# they name the prefix actually installed to (/usr in the package).

set(KAV_APP_ID "io.github.kav_game.kav" CACHE STRING "AppStream id of the game (reverse DNS of its home)")
set(KAV_HOMEPAGE "https://kav-game.github.io" CACHE STRING "The game's home page, named by the package")
set(KAV_MAINTAINER "The Kav developers <maintainers@users.noreply.c-seed-2294e356.example>"
    CACHE STRING "Maintainer of the Debian package: Name <address>")

install(TARGETS kav RUNTIME DESTINATION games)
install(DIRECTORY map gfx sfx DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/games/kav)
install(DIRECTORY dist/icons/hicolor DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/icons)

# Debian's machine-readable copyright file, from the licence itself.
file(READ ${CMAKE_SOURCE_DIR}/LICENSE KAV_LICENSE_TEXT)
string(REGEX REPLACE "\n\n" "\n.\n" KAV_LICENSE_TEXT "${KAV_LICENSE_TEXT}")
string(REGEX REPLACE "\n([^\n])" "\n \\1" KAV_LICENSE_TEXT "${KAV_LICENSE_TEXT}")
file(WRITE ${CMAKE_BINARY_DIR}/dist/copyright
"Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/
Upstream-Name: kav
Source: ${KAV_HOMEPAGE}

Files: *
Copyright: 2026 The Kav developers
License: Zlib

License: Zlib
 ${KAV_LICENSE_TEXT}")

# Written at install time, under the prefix being installed to.
install(CODE "
  set(prefix \"\${CMAKE_INSTALL_PREFIX}\")
  set(root \"\$ENV{DESTDIR}\${prefix}\")
  set(KAV_PROGRAM \"\${prefix}/games/kav\")
  set(KAV_DATADIR \"\${prefix}/${CMAKE_INSTALL_DATAROOTDIR}/games/kav/\")
  set(KAV_VERSION \"${PROJECT_VERSION}\")
  set(KAV_APP_ID \"${KAV_APP_ID}\")
  set(KAV_HOMEPAGE \"${KAV_HOMEPAGE}\")
  set(KAV_MAINTAINER \"${KAV_MAINTAINER}\")
  set(share \"\${root}/${CMAKE_INSTALL_DATAROOTDIR}\")
  configure_file(${CMAKE_SOURCE_DIR}/dist/kav.desktop.in \"\${share}/applications/${KAV_APP_ID}.desktop\" @ONLY)
  configure_file(${CMAKE_SOURCE_DIR}/dist/kav.metainfo.xml.in \"\${share}/metainfo/${KAV_APP_ID}.metainfo.xml\" @ONLY)
  file(MAKE_DIRECTORY \"\${share}/man/man6\" \"\${share}/doc/kav\")
  configure_file(${CMAKE_SOURCE_DIR}/dist/kav.6.in ${CMAKE_BINARY_DIR}/dist/kav.6 @ONLY)
  configure_file(${CMAKE_SOURCE_DIR}/dist/changelog ${CMAKE_BINARY_DIR}/dist/changelog @ONLY)
  execute_process(COMMAND gzip -9nc ${CMAKE_BINARY_DIR}/dist/kav.6 OUTPUT_FILE \"\${share}/man/man6/kav.6.gz\")
  execute_process(COMMAND gzip -9nc ${CMAKE_BINARY_DIR}/dist/changelog OUTPUT_FILE \"\${share}/doc/kav/changelog.gz\")
  file(COPY ${CMAKE_BINARY_DIR}/dist/copyright DESTINATION \"\${share}/doc/kav\")
  message(STATUS \"Installing: the menu entry, metainfo, man page and documents under \${share}\")
")

set(CPACK_PACKAGE_NAME kav)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "${KAV_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${KAV_MAINTAINER}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "small action game of five screens of guns, probes and trains")
set(CPACK_PACKAGE_DESCRIPTION "Kav is a small two-dimensional action game for one player at the keyboard.
The hero walks, jumps, crouches behind cover and fires straight shots
through five screens in a row, past cannons that lob shells, two-way guns,
ceiling guns that sweep a ray and fire volleys when it finds him,
patrolling probes and train cars, to the beacon at the end of the last
screen. Nothing harms the hero: there are no lives and no damage.
.
The game is drawn with OpenGL 1.1 over SDL2 in an 800 by 600 window or
full screen.")
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "${KAV_HOMEPAGE}")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)   # the libraries the binary links, as Debian names them
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_STRIP_FILES ON)
set(CPACK_PRE_BUILD_SCRIPTS ${CMAKE_SOURCE_DIR}/dist/strip.cmake)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_GENERATOR "DEB;TGZ")
set(CPACK_OUTPUT_FILE_PREFIX ${CMAKE_SOURCE_DIR})
include(CPack)

add_custom_target(kav-deb
  COMMAND cpack -G DEB --config ${CMAKE_BINARY_DIR}/CPackConfig.cmake
  DEPENDS kav
  WORKING_DIRECTORY ${CMAKE_BINARY_DIR}
  COMMENT "Writing the Debian package"
  VERBATIM)
