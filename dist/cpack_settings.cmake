# Read by cpack before each package is made (CPACK_PROJECT_CONFIG_FILE).
if(CPACK_GENERATOR STREQUAL "DEB")
  # The maintainer named at configure time, or else as Debian's own tools take it.
  if(NOT CPACK_DEBIAN_PACKAGE_MAINTAINER AND DEFINED ENV{DEBFULLNAME} AND DEFINED ENV{DEBEMAIL})
    set(CPACK_DEBIAN_PACKAGE_MAINTAINER "$ENV{DEBFULLNAME} <$ENV{DEBEMAIL}>")
  endif()
  if(NOT CPACK_DEBIAN_PACKAGE_MAINTAINER MATCHES "^[^<>]+ <[^<>@ ]+@[^<>@ ]+\\.[^<>@ ]+>$")
    message(FATAL_ERROR
      "A Debian package names its maintainer, 'Name <address>' at a real mail domain (now: '${CPACK_DEBIAN_PACKAGE_MAINTAINER}'). "
      "Set it with cmake -DBRAWL_MAINTAINER='Your Name <you@example.org>' <build folder>, or set "
      "DEBFULLNAME and DEBEMAIL.")
  endif()
  set(CPACK_PACKAGE_CONTACT "${CPACK_DEBIAN_PACKAGE_MAINTAINER}")
endif()
