# The facts about rilo_mj that the package, the copyright file, the changelog,
# the manual page and the AppStream metainfo all state. Each is set once here,
# or read from the file that already holds it, so that no two of them can
# disagree. Included by resources/ and by Packaging.cmake.

# The licence: its name, the year and the holder come from LICENSE itself,
# whose first line names the licence and whose "Copyright (c) YEAR HOLDER" line
# names the rest; the licence text is everything after that line.
set(RILO_LICENSE_FILE "${PROJECT_SOURCE_DIR}/LICENSE")
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS "${RILO_LICENSE_FILE}")
file(READ "${RILO_LICENSE_FILE}" _rilo_license)
if(NOT _rilo_license MATCHES "^([A-Za-z0-9.-]+) License\n\nCopyright \\(c\\) ([0-9][0-9, -]*[0-9]) ([^\n]+)\n\n(.*)$")
    message(FATAL_ERROR "LICENSE does not start with \"NAME License\" and a "
                        "\"Copyright (c) YEAR HOLDER\" line")
endif()
# SPDX names the licence as its first line does ("MIT", as AppStream wants);
# Debian's copyright format calls the same text "Expat".
set(RILO_LICENSE_SPDX "${CMAKE_MATCH_1}")
set(RILO_COPYRIGHT_YEARS "${CMAKE_MATCH_2}")
set(RILO_COPYRIGHT_HOLDER "${CMAKE_MATCH_3}")
set(RILO_LICENSE_TEXT "${CMAKE_MATCH_4}")
# The holder as a name: "rilo_mj developers" for "the rilo_mj developers".
string(REGEX REPLACE "^the " "" RILO_DEVELOPER_NAME "${RILO_COPYRIGHT_HOLDER}")
if(RILO_LICENSE_SPDX STREQUAL "MIT")
    set(RILO_LICENSE_DEBIAN "Expat")
else()
    set(RILO_LICENSE_DEBIAN "${RILO_LICENSE_SPDX}")
endif()

# The licence text as a field of the copyright file: each line indented by one
# blank, an empty line written as " .".
string(REGEX REPLACE "\n+$" "" RILO_LICENSE_TEXT_DEB822 "${RILO_LICENSE_TEXT}")
string(REPLACE "\n" "\n " RILO_LICENSE_TEXT_DEB822 " ${RILO_LICENSE_TEXT_DEB822}")
string(REPLACE "\n \n" "\n .\n" RILO_LICENSE_TEXT_DEB822 "${RILO_LICENSE_TEXT_DEB822}")

# The package's maintainer, in the control file and in every changelog entry.
# The project has no mail domain of its own and no address anybody reads, so it
# names none: ".invalid" is reserved for exactly that (RFC 2606) and can never
# reach a stranger, where a made-up domain someday might.
set(RILO_MAINTAINER "${RILO_DEVELOPER_NAME} <dev@rilo-mj.invalid>")

# The Debian package's name; Debian allows no underscore in it.
set(RILO_PACKAGE_NAME rilo-mj)

# The AppStream component id, for good: software centres key reviews, ratings
# and updates on it. A reverse-DNS id needs a domain the project owns, and it
# owns none; AppStream accepts an id that is not one, so the id is the program's
# own name, the same as its desktop entry's.
set(RILO_APPSTREAM_ID rilo_mj)

# The homepage. None exists yet, so nothing names one. Once it does, set it
# here (or with -DRILO_HOMEPAGE_URL=...): the package's Homepage field, the
# metainfo's homepage and screenshot follow. The homepage is expected to publish
# the repository's docs/ folder at its root, as GitHub and GitLab Pages do, so
# that docs/screenshots/window.png is the screenshot software centres show.
set(RILO_HOMEPAGE_URL "" CACHE STRING "The project's homepage; empty while it has none")

# The releases, newest first, as CHANGELOG.md lists them: the Debian changelog
# and the metainfo's release list are made from it.
set(RILO_CHANGELOG "${PROJECT_SOURCE_DIR}/CHANGELOG.md")
set(RILO_CHANGELOG_AWK "${PROJECT_SOURCE_DIR}/resources/changelog.awk")
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS
             "${RILO_CHANGELOG}" "${RILO_CHANGELOG_AWK}")
find_program(RILO_AWK NAMES awk mawk gawk REQUIRED)
mark_as_advanced(RILO_AWK)
execute_process(
    COMMAND "${RILO_AWK}" -v format=latest -f "${RILO_CHANGELOG_AWK}" "${RILO_CHANGELOG}"
    OUTPUT_VARIABLE _rilo_latest
    OUTPUT_STRIP_TRAILING_WHITESPACE
    COMMAND_ERROR_IS_FATAL ANY)
separate_arguments(_rilo_latest UNIX_COMMAND "${_rilo_latest}")
list(GET _rilo_latest 0 RILO_RELEASE_VERSION)
list(GET _rilo_latest 1 RILO_RELEASE_DATE)
# A package whose changelog names another version would contradict itself; the
# tests fail on it, and the build says so at once.
if(NOT RILO_RELEASE_VERSION STREQUAL PROJECT_VERSION)
    message(WARNING "CHANGELOG.md's newest release is ${RILO_RELEASE_VERSION}, "
                    "but the project's version is ${PROJECT_VERSION}")
endif()
