# Run by cpack on the staged files of a package, before it is made (CPACK_PRE_BUILD_SCRIPTS).
# For the Debian package: the program goes to /usr/games, stripped as Debian strips programs,
# and the changelog joins the copyright in /usr/share/doc/billboard-brawl, compressed without
# name or time.
if(NOT CPACK_GENERATOR STREQUAL "DEB")
  return()
endif()
set(usr ${CPACK_TEMPORARY_INSTALL_DIRECTORY}/usr)
file(MAKE_DIRECTORY ${usr}/games)
file(RENAME ${usr}/bin/brawl ${usr}/games/brawl)
file(REMOVE_RECURSE ${usr}/bin)
execute_process(COMMAND strip --remove-section=.comment --remove-section=.note ${usr}/games/brawl
                COMMAND_ERROR_IS_FATAL ANY)
# The rendezvous server, for those who run one, is stripped the same way, its page compressed.
if(EXISTS ${usr}/sbin/brawl-rendezvous)
  execute_process(COMMAND strip --remove-section=.comment --remove-section=.note ${usr}/sbin/brawl-rendezvous
                  COMMAND_ERROR_IS_FATAL ANY)
  execute_process(COMMAND gzip -9n ${usr}/share/man/man8/brawl-rendezvous.8 COMMAND_ERROR_IS_FATAL ANY)
endif()

set(doc ${usr}/share/doc/billboard-brawl)
# Its permissions are a package's, not those of the checkout it came from.
configure_file(${CPACK_BRAWL_CHANGELOG} ${doc}/changelog @ONLY NO_SOURCE_PERMISSIONS)
execute_process(COMMAND gzip -9n ${doc}/changelog COMMAND_ERROR_IS_FATAL ANY)
