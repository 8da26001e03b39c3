# The install layout of a desktop game, and its Debian package.
include(GNUInstallDirs)

set(BRAWL_DATA_FILES
  m001.bmp m002.bmp bullet01.bmp bullet02.bmp blood.bmp title.bmp Cursor.bmp lifebar.bmp 1pwin.bmp
  2pwin.bmp back1.x readygo.wav fire.wav ogaa.wav title0.wav title1.wav title2.wav title3.wav env.ini
  floor.bmp border.bmp kerb.bmp grass.bmp wall.bmp)
list(TRANSFORM BRAWL_DATA_FILES PREPEND ${PROJECT_BINARY_DIR}/)

configure_file(${CMAKE_CURRENT_LIST_DIR}/brawl.desktop.in ${PROJECT_BINARY_DIR}/dist/${BRAWL_APP_ID}.desktop @ONLY)
configure_file(${CMAKE_CURRENT_LIST_DIR}/metainfo.xml.in ${PROJECT_BINARY_DIR}/dist/${BRAWL_APP_ID}.metainfo.xml
               @ONLY)

install(TARGETS brawl RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
# The game looks for these in ../share/billboard-brawl beside its executable.
install(FILES ${BRAWL_DATA_FILES} DESTINATION ${CMAKE_INSTALL_DATADIR}/billboard-brawl)
install(FILES ${PROJECT_BINARY_DIR}/dist/${BRAWL_APP_ID}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${PROJECT_BINARY_DIR}/dist/${BRAWL_APP_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(DIRECTORY ${PROJECT_BINARY_DIR}/icons/ DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor)
install(FILES ${CMAKE_CURRENT_LIST_DIR}/brawl.6 DESTINATION ${CMAKE_INSTALL_MANDIR}/man6)

# The rendezvous server is a daemon that the system runs (its unit below), not a program a
# player starts: sbin, as Debian keeps daemons, wherever the game itself goes.
configure_file(${CMAKE_CURRENT_LIST_DIR}/brawl-rendezvous.service.in ${PROJECT_BINARY_DIR}/dist/brawl-rendezvous.service
               @ONLY)
install(TARGETS brawl-rendezvous RUNTIME DESTINATION ${CMAKE_INSTALL_SBINDIR})
install(FILES ${CMAKE_CURRENT_LIST_DIR}/brawl-rendezvous.8 DESTINATION ${CMAKE_INSTALL_MANDIR}/man8)
install(FILES ${PROJECT_BINARY_DIR}/dist/brawl-rendezvous.service DESTINATION lib/systemd/system)

set(CPACK_PACKAGE_NAME billboard-brawl)
set(CPACK_PACKAGE_VENDOR "The Billboard Brawl developers")
set(CPACK_PACKAGE_CONTACT "The Billboard Brawl developers <brawl@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "small real-time 3-D arena shooter for two players at one PC")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
# The dependencies are the packages of the shared libraries the executable links.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Fonts are data, not linked: the text and the settings window need them all the same.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-dejavu-core, fonts-ipafont-gothic")
include(CPack)
