# Fails when a file under SRC includes a header of a module that it may not
# call: calls run downwards, from the game through the speech front end to
# the synthesizers, the wave output, the console and, at the bottom, the
# platform layer and the utilities. Every module has a row below; a module
# without one fails too, so that a new directory gets its place on purpose.
#
#   cmake -DSRC=DIR -P check_layering.cmake
#
# Each row: a module (a directory of SRC, or "main" for SRC/main.cpp) and
# the modules whose headers it may include besides its own.
cmake_minimum_required(VERSION 3.25)

set(layers
  "util:"
  "platform: util"
  "console: platform util"
  "audio: console platform util"
  "diphone: audio console platform util"
  "verna: diphone audio console platform util"
  "speech: verna diphone audio console platform util"
  "review: speech verna diphone audio console platform util"
  "game: speech review verna diphone audio console platform util"
  "main: game speech review verna diphone audio console platform util"
)

if(NOT SRC OR NOT IS_DIRECTORY "${SRC}")
  message(FATAL_ERROR "check_layering: SRC must name the source directory")
endif()

foreach(row ${layers})
  string(REGEX MATCH "^([a-z_]+):(.*)$" _ "${row}")
  set(name "${CMAKE_MATCH_1}")
  string(REGEX MATCHALL "[a-z_]+" below "${CMAKE_MATCH_2}")
  set(allowed_${name} ${name} ${below})
  list(APPEND known ${name})
endforeach()

file(GLOB_RECURSE files RELATIVE "${SRC}" "${SRC}/*.h" "${SRC}/*.cpp")
list(SORT files)
set(bad "")
foreach(f ${files})
  if(f MATCHES "/")
    string(REGEX REPLACE "/.*" "" module "${f}")
  else()
    set(module main)
  endif()
  if(NOT module IN_LIST known)
    if(NOT module IN_LIST unplaced)
      list(APPEND unplaced ${module})
      list(APPEND bad "${module}/: a module without a row in the layering table (tests/check_layering.cmake)")
    endif()
    continue()
  endif()
  file(STRINGS "${SRC}/${f}" lines REGEX "^[ \t]*#[ \t]*include[ \t]*\"")
  foreach(line ${lines})
    if(NOT line MATCHES "\"([^\"]*)\"")
      continue()
    endif()
    set(target "${CMAKE_MATCH_1}")
    if(NOT target MATCHES "/")
      continue()  # a header beside the file, in its own module
    endif()
    string(REGEX REPLACE "/.*" "" to "${target}")
    if(NOT to IN_LIST allowed_${module})
      list(APPEND bad "${f}: ${module} may not include ${target}")
    endif()
  endforeach()
endforeach()

if(bad)
  list(JOIN bad "\n" text)
  message(FATAL_ERROR "includes that run against the layering:\n${text}")
endif()
