# The Debian package (scripts/package): the files the install rules place under /usr,
# with the run-time dependencies worked out from the binary by dpkg-shlibdeps.

set(FRETLORE_PACKAGE_MAINTAINER "The Fretlore developers <developers@fretlore.org>"
    CACHE STRING "Maintainer field of the Debian package")

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME fretlore)
set(CPACK_PACKAGE_VENDOR "The Fretlore developers")
set(CPACK_PACKAGE_CONTACT "${FRETLORE_PACKAGE_MAINTAINER}")
set(CPACK_PACKAGE_HOMEPAGE_URL "https://github.com/fretlore/fretlore")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "guitar and bass fretboard trainer")
set(CPACK_PACKAGE_DESCRIPTION [[
Fretlore teaches guitar and bass players where every note of a key and
scale lies on the fretboard and how it is written on the staff. Every
answer is judged click by click and sounded, through a built-in
synthesizer (FluidSynth with a General MIDI SoundFont) or any MIDI port.

 * drills on six lessons over five scale patterns
 * timed tests, with the scores kept per learner and charted
 * show-me, free play and pattern play
 * six-string guitar, four-string and five-string bass
]])
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION education)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${FRETLORE_PACKAGE_MAINTAINER}")
set(CPACK_DEBIAN_COMPRESSION_TYPE xz)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# What no library link names: the SoundFont the synthesizer loads. Qt's xcb platform
# plugin (X11, and XWayland on a Wayland desktop) comes with libqt6gui6 on Debian 12;
# qt6-qpa-plugins holds only VNC and TUIO, which the program does not need.
set(FRETLORE_PACKAGE_DEPENDS timgm6mb-soundfont)
# Qt SQL opens SQLite through a plugin, so a program that uses Qt SQL needs its driver.
if(TARGET Qt6::Sql)
  list(APPEND FRETLORE_PACKAGE_DEPENDS libqt6sql6-sqlite)
endif()
list(JOIN FRETLORE_PACKAGE_DEPENDS ", " CPACK_DEBIAN_PACKAGE_DEPENDS)

# Manual pages gzipped, copyright and changelog: for the package only, the plain install
# keeps to the install rules.
set(CPACK_PRE_BUILD_SCRIPTS ${CMAKE_CURRENT_LIST_DIR}/DebianDocs.cmake)
set(CPACK_FRETLORE_COPYRIGHT ${CMAKE_SOURCE_DIR}/docs/copyright)
set(CPACK_FRETLORE_METAINFO ${CMAKE_SOURCE_DIR}/data/io.github.fretlore.Fretlore.metainfo.xml)

include(CPack)
