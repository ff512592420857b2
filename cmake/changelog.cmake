# Reads the release a Debian changelog's latest entry makes: the entry must
# be the package's and for the expected version, and its trailer's date
# ("Tue, 08 Dec 2026 23:45:00 +0000") is returned as 2026-12-08. Anything
# else stops the configuration, naming the file.
function(fuga_changelog_release file package version out_date)
  file(STRINGS ${file} head LIMIT_COUNT 1)
  if(NOT head MATCHES "^${package} \\(([^)]+)\\) ")
    message(FATAL_ERROR "${file}:1: not an entry of ${package}: ${head}")
  endif()
  if(NOT CMAKE_MATCH_1 STREQUAL version)
    message(FATAL_ERROR "${file}:1: the latest entry is for ${CMAKE_MATCH_1}, the project is "
      "${version} (project() in CMakeLists.txt): add an entry for ${version}")
  endif()
  # The first trailer is the latest entry's.
  file(STRINGS ${file} trailer REGEX "^ -- " LIMIT_COUNT 1)
  if(NOT trailer MATCHES "  [A-Z][a-z][a-z], ([0-9][0-9]?) ([A-Z][a-z][a-z]) ([0-9][0-9][0-9][0-9]) ")
    message(FATAL_ERROR "${file}: the latest entry's trailer has no date (\"  Tue, 08 Dec 2026 ...\"): ${trailer}")
  endif()
  set(day ${CMAKE_MATCH_1})
  set(year ${CMAKE_MATCH_3})
  set(months Jan Feb Mar Apr May Jun Jul Aug Sep Oct Nov Dec)
  list(FIND months ${CMAKE_MATCH_2} month)
  if(month LESS 0)
    message(FATAL_ERROR "${file}: no such month in the latest entry's date: ${CMAKE_MATCH_2}")
  endif()
  math(EXPR month "${month} + 1")
  foreach(part day month)
    string(LENGTH "${${part}}" length)
    if(length EQUAL 1)
      set(${part} 0${${part}})
    endif()
  endforeach()
  set(${out_date} ${year}-${month}-${day} PARENT_SCOPE)
endfunction()
