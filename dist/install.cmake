# The install layout of a desktop game, and its Debian package.
#
# `cmake --install build --prefix P` puts the program in P/bin, its data in
# P/share/billboard-brawl and the rest where a desktop looks; the game finds its data and its
# translations from wherever P is. The Debian package (`cpack -G DEB`) takes the same files
# with P=/usr and moves the program to /usr/games, as Debian places games.
include(GNUInstallDirs)

set(BRAWL_DATA_FILES
  m001.bmp m002.bmp bullet01.bmp bullet02.bmp blood.bmp title.bmp Cursor.bmp lifebar.bmp 1pwin.bmp
  2pwin.bmp back1.x readygo.wav fire.wav ogaa.wav title0.wav title1.wav title2.wav title3.wav env.ini
  floor.bmp border.bmp kerb.bmp grass.bmp wall.bmp)
list(TRANSFORM BRAWL_DATA_FILES PREPEND ${PROJECT_BINARY_DIR}/)

# The desktop entry and the metainfo, their words translated from the catalogs of po/. The
# home page and the screenshots it holds are named only when there is a home page (a Git host
# that serves the files of the tree under <home page>/raw/HEAD/).
set(templates ${PROJECT_BINARY_DIR}/dist/templates)
configure_file(${CMAKE_CURRENT_LIST_DIR}/brawl.desktop.in ${templates}/${BRAWL_APP_ID}.desktop @ONLY)
file(READ ${CMAKE_CURRENT_LIST_DIR}/metainfo.xml.in metainfo)
if(BRAWL_HOMEPAGE)
  string(REGEX REPLACE "  <!-- with a home page only[^\n]*\n" "" metainfo "${metainfo}")
  string(REGEX REPLACE "  <!-- end of what needs a home page -->\n" "" metainfo "${metainfo}")
else()
  string(REGEX REPLACE "  <!-- with a home page only.*<!-- end of what needs a home page -->\n" "" metainfo
                       "${metainfo}")
endif()
file(CONFIGURE OUTPUT ${templates}/${BRAWL_APP_ID}.metainfo.xml CONTENT "${metainfo}" @ONLY)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${CMAKE_CURRENT_LIST_DIR}/metainfo.xml.in)

set(desktop_entry ${PROJECT_BINARY_DIR}/dist/${BRAWL_APP_ID}.desktop)
set(metainfo_file ${PROJECT_BINARY_DIR}/dist/${BRAWL_APP_ID}.metainfo.xml)
file(GLOB catalogs ${PROJECT_SOURCE_DIR}/po/*.po)
add_custom_command(
  OUTPUT ${desktop_entry}
  COMMAND ${MSGFMT} --desktop --template=${templates}/${BRAWL_APP_ID}.desktop -d ${PROJECT_SOURCE_DIR}/po
          -o ${desktop_entry}
  DEPENDS ${templates}/${BRAWL_APP_ID}.desktop ${catalogs} ${PROJECT_SOURCE_DIR}/po/LINGUAS
  COMMENT "Translating the desktop entry")
add_custom_command(
  OUTPUT ${metainfo_file}
  COMMAND ${MSGFMT} --xml --template=${templates}/${BRAWL_APP_ID}.metainfo.xml -d ${PROJECT_SOURCE_DIR}/po
          -o ${metainfo_file}
  DEPENDS ${templates}/${BRAWL_APP_ID}.metainfo.xml ${catalogs} ${PROJECT_SOURCE_DIR}/po/LINGUAS
  COMMENT "Translating the metainfo")
# Manual pages are kept compressed; -n leaves out the name and time, so that two builds agree.
set(man_page ${PROJECT_BINARY_DIR}/dist/brawl.6.gz)
add_custom_command(
  OUTPUT ${man_page}
  COMMAND gzip -9n -c ${CMAKE_CURRENT_LIST_DIR}/brawl.6 > ${man_page}
  DEPENDS ${CMAKE_CURRENT_LIST_DIR}/brawl.6
  COMMENT "Compressing the manual page")
add_custom_target(desktop_files ALL DEPENDS ${desktop_entry} ${metainfo_file} ${man_page})

# The same permissions for every folder made, whatever the umask: two packages agree.
set(CMAKE_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE
                                                WORLD_READ WORLD_EXECUTE)
install(TARGETS brawl RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
# The game looks for these in ../share/billboard-brawl beside its executable.
install(FILES ${BRAWL_DATA_FILES} DESTINATION ${CMAKE_INSTALL_DATADIR}/billboard-brawl)
install(FILES ${desktop_entry} DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${metainfo_file} DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
# The windows show the 64 x 64 one, from ../share/icons/hicolor beside the executable.
install(DIRECTORY ${PROJECT_BINARY_DIR}/icons/ DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor)
install(FILES ${man_page} DESTINATION ${CMAKE_INSTALL_MANDIR}/man6)
# The licence, in Debian's machine-readable form, goes wherever the game goes.
install(FILES ${CMAKE_CURRENT_LIST_DIR}/copyright DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/billboard-brawl)

# The Debian package.
#
# Its maintainer is the person who builds and answers for it, so the build asks for one:
# BRAWL_MAINTAINER ("Name <address>"), by default DEBFULLNAME and DEBEMAIL as Debian's own
# tools take them, from the configure step or else from cpack's environment.
set(maintainer "")
if(DEFINED ENV{DEBFULLNAME} AND DEFINED ENV{DEBEMAIL})
  set(maintainer "$ENV{DEBFULLNAME} <$ENV{DEBEMAIL}>")
endif()
set(BRAWL_MAINTAINER "${maintainer}" CACHE STRING
    "The Debian package's maintainer, \"Name <address>\" (default: DEBFULLNAME <DEBEMAIL>)")

# The rendezvous server is a daemon that the system runs (its unit below), not a program a
# player starts: sbin, as Debian keeps daemons, wherever the game itself goes.
configure_file(${CMAKE_CURRENT_LIST_DIR}/brawl-rendezvous.service.in ${PROJECT_BINARY_DIR}/dist/brawl-rendezvous.service
               @ONLY)
install(TARGETS brawl-rendezvous RUNTIME DESTINATION ${CMAKE_INSTALL_SBINDIR})
install(FILES ${CMAKE_CURRENT_LIST_DIR}/brawl-rendezvous.8 DESTINATION ${CMAKE_INSTALL_MANDIR}/man8)
install(FILES ${PROJECT_BINARY_DIR}/dist/brawl-rendezvous.service DESTINATION lib/systemd/system)

set(CPACK_PACKAGE_NAME billboard-brawl)
set(CPACK_PACKAGE_VENDOR "The Billboard Brawl developers")
set(CPACK_PACKAGE_CONTACT "${BRAWL_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${BRAWL_MAINTAINER}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "small real-time 3-D arena shooter for two players at one PC")
file(READ ${CMAKE_CURRENT_LIST_DIR}/description.txt description)
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "${description}")
if(BRAWL_HOMEPAGE)
  set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "${BRAWL_HOMEPAGE}")
endif()
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
# Stripped below, as Debian strips: the build's notes and compiler comments go too.
set(CPACK_STRIP_FILES OFF)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS ${CMAKE_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS})
# The dependencies are the packages of the shared libraries the executable links.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Fonts are data, not linked: the text and the settings window need them all the same.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-dejavu-core, fonts-ipafont-gothic")
# At cpack's time: the maintainer is settled, and the staged files take Debian's places.
set(CPACK_PROJECT_CONFIG_FILE ${CMAKE_CURRENT_LIST_DIR}/cpack_settings.cmake)
set(CPACK_PRE_BUILD_SCRIPTS ${CMAKE_CURRENT_LIST_DIR}/deb_layout.cmake)
set(CPACK_BRAWL_CHANGELOG ${CMAKE_CURRENT_LIST_DIR}/changelog.in)
include(CPack)
