# Fails when a file under SRC outside the system folders includes anything
# but the C++ standard library and our own headers: POSIX, Windows and
# third-party headers (SDL2, fontconfig, espeak-ng, libspeechd, ...) belong to
# the folders that implement one system's services, so that every other file
# compiles for both systems.
#
#   cmake -DSRC=DIR -P check_system_headers.cmake
#
# A quoted include must name a file of SRC (from SRC or beside the includer).
cmake_minimum_required(VERSION 3.25)
include(${CMAKE_CURRENT_LIST_DIR}/../cmake/system_folders.cmake)

if(NOT SRC OR NOT IS_DIRECTORY "${SRC}")
  message(FATAL_ERROR "check_system_headers: SRC must name the source directory")
endif()
get_filename_component(SRC "${SRC}" ABSOLUTE)

set(standard_headers
  algorithm any array atomic barrier bit bitset cassert cctype cerrno cfenv cfloat charconv chrono
  cinttypes climits clocale cmath codecvt compare complex concepts condition_variable coroutine csetjmp
  csignal cstdarg cstddef cstdint cstdio cstdlib cstring ctime cuchar cwchar cwctype deque exception
  execution filesystem format forward_list fstream functional future initializer_list iomanip ios
  iosfwd iostream istream iterator latch limits list locale map memory memory_resource mutex new
  numbers numeric optional ostream queue random ranges ratio regex scoped_allocator semaphore set
  shared_mutex source_location span sstream stack stdexcept stop_token streambuf string string_view
  syncstream system_error thread tuple type_traits typeindex typeinfo unordered_map unordered_set
  utility valarray variant vector version)

file(GLOB_RECURSE files RELATIVE "${SRC}" "${SRC}/*.h" "${SRC}/*.cpp")
list(SORT files)
set(bad "")
foreach(f ${files})
  fuga_in_system_folder("${f}" in_system)
  if(in_system)
    continue()
  endif()
  get_filename_component(dir "${f}" DIRECTORY)
  file(STRINGS "${SRC}/${f}" lines REGEX "^[ \t]*#[ \t]*include[ \t]*[<\"]")
  foreach(line ${lines})
    if(line MATCHES "<([^>]*)>")
      if(NOT CMAKE_MATCH_1 IN_LIST standard_headers)
        list(APPEND bad "${f}: <${CMAKE_MATCH_1}>")
      endif()
    elseif(line MATCHES "\"([^\"]*)\"")
      if(NOT EXISTS "${SRC}/${CMAKE_MATCH_1}" AND NOT EXISTS "${SRC}/${dir}/${CMAKE_MATCH_1}")
        list(APPEND bad "${f}: \"${CMAKE_MATCH_1}\" (not a file of ours)")
      endif()
    endif()
  endforeach()
endforeach()
if(bad)
  list(JOIN bad "\n" text)
  message(FATAL_ERROR "system or third-party headers outside the system folders:\n${text}")
endif()
