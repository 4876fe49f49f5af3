# The version is project()'s. The Debian changelog must carry it literally, so its first
# entry is checked against it here, and the release date is taken from that entry for
# the manual pages and the AppStream metainfo, which are made from templates. The manual
# pages in other languages are filled in as they are translated (po/CMakeLists.txt).
set(changelog ${PROJECT_SOURCE_DIR}/assets/changelog)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${changelog})
file(STRINGS ${changelog} changelog_head LIMIT_COUNT 1)
string(REPLACE "." "\\." version_pattern ${PROJECT_VERSION})
if(NOT changelog_head MATCHES "^pelmiro \\(${version_pattern}-([0-9]+)\\) ")
  message(FATAL_ERROR "assets/changelog must start with the entry for ${PROJECT_VERSION}-N")
endif()
set(PELMIRO_DEBIAN_REVISION ${CMAKE_MATCH_1})

# The entry's trailer line ends in an RFC 5322 date: "Mon, 07 Dec 2026 12:00:00 +0000".
file(STRINGS ${changelog} changelog_trailer REGEX "^ -- " LIMIT_COUNT 1)
set(months Jan Feb Mar Apr May Jun Jul Aug Sep Oct Nov Dec)
if(NOT changelog_trailer MATCHES ">  [A-Z][a-z][a-z], ([0-9]?[0-9]) ([A-Z][a-z][a-z]) ([0-9][0-9][0-9][0-9]) ")
  message(FATAL_ERROR "assets/changelog: no dated trailer line under the first entry")
endif()
set(day ${CMAKE_MATCH_1})
set(year ${CMAKE_MATCH_3})
list(FIND months ${CMAKE_MATCH_2} month)
if(month LESS 0)
  message(FATAL_ERROR "assets/changelog: unknown month ${CMAKE_MATCH_2}")
endif()
math(EXPR month "${month} + 1")
# ISO 8601: two digits each for month and day.
string(REGEX REPLACE "^([0-9])$" "0\\1" month ${month})
string(REGEX REPLACE "^([0-9])$" "0\\1" day ${day})
set(PELMIRO_RELEASE_DATE ${year}-${month}-${day})

set(PELMIRO_GENERATED_ASSETS ${PROJECT_BINARY_DIR}/assets)
foreach(template pelmiro.6 org.pelmiro.Pelmiro.metainfo.xml)
  configure_file(${PROJECT_SOURCE_DIR}/assets/${template}.in ${PELMIRO_GENERATED_ASSETS}/${template} @ONLY)
endforeach()
