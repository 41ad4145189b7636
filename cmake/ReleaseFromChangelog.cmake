# The release that debian/changelog describes first is the one this tree
# builds: its date goes into the AppStream release and the man pages, so
# neither carries a date typed by hand. Sets BRINDLEWORT_RELEASE_DATE
# (YYYY-MM-DD) and BRINDLEWORT_RELEASE_MONTH ("December 2026"), and stops
# the configuration when the changelog's version is not the project's,
# since the package would then ship one version under another's name.

set(changelog "${PROJECT_SOURCE_DIR}/debian/changelog")
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS "${changelog}")
file(STRINGS "${changelog}" changelog_lines)

list(GET changelog_lines 0 heading)
if(NOT heading MATCHES "^[a-z0-9.+-]+ \\(([^)]+)\\)")
  message(FATAL_ERROR "${changelog}: the first line names no version: ${heading}")
endif()
set(changelog_version "${CMAKE_MATCH_1}")
# A Debian revision ("-1") and an epoch ("1:") are the package's, not the
# project's.
string(REGEX REPLACE "^[0-9]+:" "" changelog_upstream "${changelog_version}")
string(REGEX REPLACE "-[^-]*$" "" changelog_upstream "${changelog_upstream}")
if(NOT changelog_upstream STREQUAL PROJECT_VERSION)
  message(FATAL_ERROR "${changelog} describes version ${changelog_version}, but the project "
                      "is version ${PROJECT_VERSION}: add a changelog entry for it.")
endif()

# The trailer line of the first entry: " -- Name <mail>  Mon, 07 Dec 2026 21:30:00 +0000".
set(trailer "")
foreach(line IN LISTS changelog_lines)
  if(line MATCHES "^ -- .*  [A-Z][a-z][a-z], ([0-9]+) ([A-Z][a-z][a-z]) ([0-9][0-9][0-9][0-9]) ")
    set(trailer "${line}")
    break()
  endif()
endforeach()
if(NOT trailer)
  message(FATAL_ERROR "${changelog}: the first entry has no dated trailer line")
endif()
set(day "${CMAKE_MATCH_1}")
set(month_abbreviation "${CMAKE_MATCH_2}")
set(year "${CMAKE_MATCH_3}")
set(abbreviations Jan Feb Mar Apr May Jun Jul Aug Sep Oct Nov Dec)
set(month_names January February March April May June July August September October November
                December)
list(FIND abbreviations "${month_abbreviation}" month_index)
if(month_index LESS 0)
  message(FATAL_ERROR "${changelog}: unknown month '${month_abbreviation}' in: ${trailer}")
endif()
math(EXPR month_number "${month_index} + 1")
if(month_number LESS 10)
  set(month_number "0${month_number}")
endif()
math(EXPR day "${day}")
if(day LESS 10)
  set(day "0${day}")
endif()
list(GET month_names ${month_index} month_name)
set(BRINDLEWORT_RELEASE_DATE "${year}-${month_number}-${day}")
set(BRINDLEWORT_RELEASE_MONTH "${month_name} ${year}")
