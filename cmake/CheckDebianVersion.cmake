# Fails when the upstream part of debian/changelog's newest version (1.2 in "1.2-1") is not the
# project's version, so the package never carries another version than the program says.
#   cmake -DVERSION=1.2 -DCHANGELOG=debian/changelog -P cmake/CheckDebianVersion.cmake
file(STRINGS ${CHANGELOG} first_line LIMIT_COUNT 1)
if(NOT first_line MATCHES "^zelvo \\(([0-9][^ )]*)\\) ")
  message(FATAL_ERROR "${CHANGELOG}: the first line does not name a zelvo version: ${first_line}")
endif()
set(debian_version ${CMAKE_MATCH_1})
# An epoch ("1:") before the version and the Debian revision after the last hyphen are Debian's own.
string(REGEX REPLACE "^[0-9]+:" "" upstream "${debian_version}")
string(REGEX REPLACE "-[^-]*$" "" upstream "${upstream}")
if(NOT upstream STREQUAL VERSION)
  message(FATAL_ERROR "${CHANGELOG} is at ${upstream} (${debian_version}), the project at ${VERSION}")
endif()
message(STATUS "debian/changelog is at the project's version ${VERSION}")
