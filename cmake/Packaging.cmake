# The Debian package: `cpack -G DEB` in a build folder configured with
# CMAKE_INSTALL_PREFIX=/usr builds rilo-mj_<version>_<arch>.deb from what
# `cmake --install` puts in place.

include("${PROJECT_SOURCE_DIR}/cmake/ProjectFacts.cmake")

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME ${RILO_PACKAGE_NAME})
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "${RILO_DEVELOPER_NAME}")
set(CPACK_PACKAGE_CONTACT "${RILO_MAINTAINER}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "${PROJECT_DESCRIPTION}")
# The long description, one line of the control file per line here.
string(JOIN "\n" CPACK_PACKAGE_DESCRIPTION
    "A small desktop calculator for the end of one game of four-player"
    "mahjong played for Zeny. It takes the four final scores, two side bets"
    "and the rate in Zeny per 1000 points, and shows what the 4th-placed"
    "player pays the 1st and what the 3rd-placed player pays the 2nd.")
# No Homepage field while the project has no homepage.
set(CPACK_PACKAGE_HOMEPAGE_URL "${RILO_HOMEPAGE_URL}")

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_STRIP_FILES ON)

# Beyond the libraries: the Japanese font the window and its notices are drawn
# in. The X platform plugin (xcb) needs no name of its own: on Debian 12 it
# comes with libqt6gui6, which dpkg-shlibdeps lists. qt6-qpa-plugins holds only
# the VNC and touch plugins, of no use here.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-ipafont-gothic")
# In a Wayland session the program then runs as a Wayland client; without the
# plugin it falls back to X11 through Xwayland.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-wayland")
# The libraries the program links: dpkg-shlibdeps, when present, lists them
# with the versions the program needs; without it the Qt libraries are named
# here and the C and C++ run-time comes with them.
find_program(RILO_DPKG_SHLIBDEPS dpkg-shlibdeps)
mark_as_advanced(RILO_DPKG_SHLIBDEPS)
if(RILO_DPKG_SHLIBDEPS)
    set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
else()
    set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS OFF)
    string(PREPEND CPACK_DEBIAN_PACKAGE_DEPENDS
        "libqt6widgets6 (>= 6.4), libqt6gui6 (>= 6.4), libqt6core6 (>= 6.4), ")
endif()

include(CPack)
