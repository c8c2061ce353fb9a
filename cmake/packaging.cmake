# `cpack -G DEB` in a build directory makes velmora_VERSION_ARCH.deb: what
# `cmake --install` puts in place, under /usr, laid out as Debian wants a game
# (the executable in /usr/games, the changelog and the man page compressed).
install(FILES ${CMAKE_CURRENT_SOURCE_DIR}/packaging/copyright DESTINATION ${CMAKE_INSTALL_DOCDIR})

set(CPACK_PACKAGE_NAME velmora)
set(CPACK_PACKAGE_VENDOR "The Velmora developers")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "build a solar system and watch it form under gravity")
set(CPACK_PACKAGE_DESCRIPTION
    "Velmora is a game in which you build a two-dimensional solar system
and watch it evolve. Up to 1000 bodies pull on one another under an
adjustable law of gravity; close pairs are kicked apart or merge, and
every body leaves a trail, so the orbits draw themselves. Pick one of
six presets or set the panel yourself, pause at any time to inspect and
edit any body, and try to beat your best score.")
set(CPACK_RESOURCE_FILE_LICENSE ${CMAKE_CURRENT_SOURCE_DIR}/LICENSE)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_GENERATOR DEB)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "The Velmora developers <maintainers@velmora.invalid>")
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_COMPRESSION_TYPE xz)

# Runs on the staged tree before it is packed: gzip -n keeps the package the same
# from build to build.
set(VELMORA_DEB_CHANGELOG ${CMAKE_CURRENT_SOURCE_DIR}/packaging/changelog)
set(VELMORA_DEB_BINDIR ${CMAKE_INSTALL_BINDIR})
set(VELMORA_DEB_DOCDIR ${CMAKE_INSTALL_DOCDIR})
set(VELMORA_DEB_MANDIR ${CMAKE_INSTALL_MANDIR})
configure_file(${CMAKE_CURRENT_SOURCE_DIR}/packaging/deb_stage.cmake.in
               ${CMAKE_BINARY_DIR}/deb_stage.cmake @ONLY)
set(CPACK_PRE_BUILD_SCRIPTS ${CMAKE_BINARY_DIR}/deb_stage.cmake)

include(CPack)

# The package builds, lintian finds no error in it, and it installs into a scratch
# root from which the game runs.
find_program(LINTIAN lintian)
find_program(DPKG dpkg)
find_program(DPKG_SHLIBDEPS dpkg-shlibdeps)
if(BUILD_TESTING AND TARGET velmora AND LINTIAN AND DPKG AND DPKG_SHLIBDEPS)
  add_test(NAME package.deb
           COMMAND ${CMAKE_COMMAND} -DBUILD_DIR=${CMAKE_BINARY_DIR}
                   -DWORK=${CMAKE_BINARY_DIR}/package-test -DCPACK=${CMAKE_CPACK_COMMAND}
                   -DLINTIAN=${LINTIAN} -DDPKG=${DPKG} -DVERSION=${PROJECT_VERSION}
                   -P ${CMAKE_CURRENT_SOURCE_DIR}/tests/script/package_check.cmake)
endif()
