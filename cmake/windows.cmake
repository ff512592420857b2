# The Windows program, cross-built with mingw-w64 (cmake --preset windows),
# its tests run under Wine, and its zip. Included by CMakeLists.txt when the
# target system is Windows; the Linux build never reads this file.

# The installation data (recordings, voice databases, rule files) is made by
# the Linux build's generators, which are Linux programs: the Windows build
# takes that build's tree instead of generating it again.
set(FUGA_DATA_BUILD_DIR ${CMAKE_SOURCE_DIR}/build CACHE PATH
  "A Linux build directory of this checkout whose generated data (data/, data-*/) the Windows program is packed with and tested on")
set(FUGA_DATA_TREE ${FUGA_DATA_BUILD_DIR}/data)
if(NOT EXISTS ${FUGA_DATA_TREE}/TALUNE.INI)
  message(WARNING "No generated installation data in ${FUGA_DATA_TREE}: build the Linux tree first "
    "(cmake -S . -B build && cmake --build build) or name another with -DFUGA_DATA_BUILD_DIR=. "
    "The end-to-end tests and the zip need it.")
endif()
# build-windows/data is that tree, as build/data is in the Linux build
# (configurations that name it relatively find it from either).
if(NOT EXISTS ${CMAKE_BINARY_DIR}/data)
  file(CREATE_LINK ${FUGA_DATA_TREE} ${CMAKE_BINARY_DIR}/data SYMBOLIC)
endif()

# The core (every module outside src/platform) and the Windows platform: the
# shared platform files, the headless backend (the test backend on every
# system), the silent voice stand-ins and src/platform/win32.
file(GLOB_RECURSE FUGA_CORE_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/src/*.cpp)
list(FILTER FUGA_CORE_SOURCES EXCLUDE REGEX "/src/platform/")
list(REMOVE_ITEM FUGA_CORE_SOURCES ${CMAKE_SOURCE_DIR}/src/main.cpp)
file(GLOB FUGA_WINDOWS_PLATFORM_SOURCES CONFIGURE_DEPENDS
  ${CMAKE_SOURCE_DIR}/src/platform/*.cpp
  ${CMAKE_SOURCE_DIR}/src/platform/headless/*.cpp
  ${CMAKE_SOURCE_DIR}/src/platform/win32/*.cpp)
# The registry stand-in file is Linux's; Windows reads the registry itself.
list(REMOVE_ITEM FUGA_WINDOWS_PLATFORM_SOURCES ${CMAKE_SOURCE_DIR}/src/platform/registry.cpp)
list(APPEND FUGA_WINDOWS_PLATFORM_SOURCES
  ${CMAKE_SOURCE_DIR}/src/platform/voices/voices.cpp
  ${CMAKE_SOURCE_DIR}/src/platform/voices/silent_voices.cpp)

find_package(Threads REQUIRED)
add_library(fuga_core STATIC ${FUGA_CORE_SOURCES} ${FUGA_WINDOWS_PLATFORM_SOURCES})
target_include_directories(fuga_core PUBLIC ${CMAKE_SOURCE_DIR}/src)
# The ANSI calls take the Latin-1 texts as they are; no UNICODE macros.
target_compile_definitions(fuga_core PUBLIC WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601)
target_link_libraries(fuga_core PUBLIC Threads::Threads shell32 ole32 oleaut32 uuid winmm gdi32 user32 advapi32)

add_executable(fuga src/main.cpp)
target_link_libraries(fuga PRIVATE fuga_core)

# The programs of tools/ that the end-to-end scripts drive (the generators
# of the data are Linux programs).
foreach(name edit_field_demo screen_check fuga_test_voice)
  add_executable(${name} ${CMAKE_SOURCE_DIR}/tools/${name}.cpp)
  target_link_libraries(${name} PRIVATE fuga_core fuga_system_support)
endforeach()

# Wine runs the tests, with one prefix of the build's own and one wineserver
# for the whole run (a new server for each test would cost seconds each).
# The prefix is a fresh copy, each run, of one the build makes once (Wine's
# first start costs minutes on a loaded machine); the tests that need a
# display or a prefix of their own copy it too.
set(FUGA_WINE_PREFIX ${CMAKE_BINARY_DIR}/wine-prefix)
set(FUGA_WINE_TEMPLATE ${CMAKE_BINARY_DIR}/wine-template)
configure_file(${CMAKE_SOURCE_DIR}/tools/wine-run.in ${CMAKE_BINARY_DIR}/wine-run @ONLY
  FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_BINARY_DIR}/wine-run)
set_target_properties(fuga edit_field_demo screen_check fuga_test_voice PROPERTIES
  CROSSCOMPILING_EMULATOR ${CMAKE_BINARY_DIR}/wine-run)

if(FUGA_TESTS)
  enable_testing()
  # GoogleTest from its Debian source package, built with the same compiler.
  set(FUGA_GTEST_SOURCE /usr/src/googletest)
  add_library(fuga_gtest STATIC ${FUGA_GTEST_SOURCE}/googletest/src/gtest-all.cc
    ${FUGA_GTEST_SOURCE}/googlemock/src/gmock-all.cc ${FUGA_GTEST_SOURCE}/googletest/src/gtest_main.cc)
  target_include_directories(fuga_gtest SYSTEM PUBLIC ${FUGA_GTEST_SOURCE}/googletest/include
    ${FUGA_GTEST_SOURCE}/googlemock/include)
  target_include_directories(fuga_gtest PRIVATE ${FUGA_GTEST_SOURCE}/googletest ${FUGA_GTEST_SOURCE}/googlemock)
  target_link_libraries(fuga_gtest PUBLIC Threads::Threads)

  add_executable(wine_keeper tests/win32/wine_keeper.cpp)
  add_test(NAME wine_session_start COMMAND ${CMAKE_SOURCE_DIR}/tests/win32/wine_session.sh start ${FUGA_WINE_PREFIX}
    ${FUGA_WINE_TEMPLATE} $<TARGET_FILE:wine_keeper>)
  add_test(NAME wine_session_stop COMMAND ${CMAKE_SOURCE_DIR}/tests/win32/wine_session.sh stop ${FUGA_WINE_PREFIX})
  # Making the build's prefix takes some 20 s on an idle machine, copying it
  # a second or two.
  set_tests_properties(wine_session_start PROPERTIES FIXTURES_SETUP wine TIMEOUT 300)
  set_tests_properties(wine_session_stop PROPERTIES FIXTURES_CLEANUP wine)

  # The unit tests that are about no Linux backend or Linux service, and the
  # Windows services' own.
  file(GLOB FUGA_UNIT_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/unit/*.cpp)
  include(${CMAKE_SOURCE_DIR}/tests/win32/linux_only_tests.cmake)
  foreach(linux_only ${FUGA_LINUX_ONLY_TESTS})
    list(REMOVE_ITEM FUGA_UNIT_SOURCES ${CMAKE_SOURCE_DIR}/tests/unit/${linux_only})
  endforeach()
  file(GLOB FUGA_WIN32_TEST_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/win32/test_*.cpp)
  add_executable(unit_tests ${FUGA_UNIT_SOURCES} ${FUGA_WIN32_TEST_SOURCES})
  target_include_directories(unit_tests PRIVATE ${CMAKE_SOURCE_DIR}/tests/unit)
  target_link_libraries(unit_tests PRIVATE fuga_core fuga_system_support fuga_gtest)
  add_library(test_mbrola SHARED tests/mbrola/test_mbrola.cpp)
  add_library(test_mbrola_incomplete SHARED tests/mbrola/test_mbrola.cpp)
  target_compile_definitions(test_mbrola_incomplete PRIVATE TEST_MBROLA_INCOMPLETE)
  add_executable(child_echo tests/win32/child_echo.cpp)
  add_dependencies(unit_tests test_mbrola test_mbrola_incomplete child_echo)
  # The tests find the generated data where the Linux build made it.
  target_compile_definitions(unit_tests PRIVATE
    FUGA_SOURCE_DIR="${CMAKE_SOURCE_DIR}" FUGA_BINARY_DIR="${FUGA_DATA_BUILD_DIR}"
    TEST_MBROLA_LIBRARY="$<TARGET_FILE:test_mbrola>"
    TEST_MBROLA_INCOMPLETE_LIBRARY="$<TARGET_FILE:test_mbrola_incomplete>"
    WIN32_CHILD_ECHO="$<TARGET_FILE:child_echo>")
  set_target_properties(unit_tests PROPERTIES CROSSCOMPILING_EMULATOR ${CMAKE_BINARY_DIR}/wine-run)
  # The system voices' stand-in engines, their tests and whole games.
  include(${CMAKE_SOURCE_DIR}/tests/win32/voices/voices.cmake)

  # The window and the sound device need a display and a sound server: they
  # run on a virtual display of their own with a private PulseAudio server,
  # in a prefix of their own (the shared server has no display).
  set(FUGA_WIN32_DEVICE_TESTS ${CMAKE_SOURCE_DIR}/tests/win32/test_win32_window.cpp)
  list(REMOVE_ITEM FUGA_WIN32_TEST_SOURCES ${FUGA_WIN32_DEVICE_TESTS})
  add_test(NAME windows_test_win32_window
    COMMAND ${CMAKE_SOURCE_DIR}/tests/win32/with_display_and_sound.sh ${CMAKE_BINARY_DIR}/window-devices
      $<TARGET_FILE:unit_tests> --gtest_filter=Win32Window.*:Win32Wave.*)
  # The program in its window: a typed command answered, the braille keys,
  # the magnifier, Alt+F4 and Ctrl+Break.
  add_test(NAME windows_window_under_wine
    COMMAND ${CMAKE_SOURCE_DIR}/tests/win32/window_under_wine.sh $<TARGET_FILE:fuga> ${FUGA_DATA_TREE}/TALUNE.INI
      ${CMAKE_BINARY_DIR}/window-under-wine)
  # Its sound heard at the sound server, and cut short by a key. Alone, so
  # that the timing of the key in the recording is not another test's load.
  add_test(NAME windows_sound_under_wine
    COMMAND ${CMAKE_SOURCE_DIR}/tests/win32/sound_under_wine.sh $<TARGET_FILE:fuga> ${FUGA_DATA_TREE}
      ${CMAKE_BINARY_DIR}/sound-under-wine)
  set_tests_properties(windows_test_win32_window windows_window_under_wine PROPERTIES TIMEOUT 300)
  set_tests_properties(windows_sound_under_wine PROPERTIES TIMEOUT 300 RUN_SERIAL TRUE)
  # These copy the build's prefix, which the session's start makes.
  set(FUGA_WINE_OWN_PREFIX_TESTS windows_test_win32_window windows_window_under_wine windows_sound_under_wine)

  # One test per source file (its tests as a filter: a suite such as
  # GameTest spans many files): every Wine start costs a few tenths of a
  # second, so one per case would add minutes.
  foreach(src ${FUGA_UNIT_SOURCES} ${FUGA_WIN32_TEST_SOURCES})
    file(STRINGS ${src} lines REGEX "^TEST(_F)?\\([A-Za-z0-9_]+, *[A-Za-z0-9_]+")
    set(cases "")
    foreach(line ${lines})
      string(REGEX REPLACE "^TEST(_F)?\\(([A-Za-z0-9_]+), *([A-Za-z0-9_]+).*" "\\2.\\3" case "${line}")
      if(NOT case IN_LIST FUGA_LINUX_ONLY_CASES)
        list(APPEND cases ${case})
      endif()
    endforeach()
    if(NOT cases)
      continue()
    endif()
    string(JOIN ":" filter ${cases})
    get_filename_component(name ${src} NAME_WE)
    add_test(NAME windows_${name} COMMAND unit_tests --gtest_filter=${filter})
    set_tests_properties(windows_${name} PROPERTIES FIXTURES_REQUIRED wine
      ENVIRONMENT "FUGA_BACKEND=headless;FUGA_WINE_CAPTURE=1" TIMEOUT 120)
  endforeach()
  # A turn costs some fifteen times under Wine what it costs on Linux (8 ms
  # against 0.5 ms): a thousand random turns under Wine, not twenty thousand.
  set_tests_properties(windows_test_game_soak PROPERTIES TIMEOUT 300
    ENVIRONMENT "FUGA_BACKEND=headless;FUGA_SOAK_TURNS=1000")

  # End-to-end: every key script that is about no Linux facility, replayed
  # by the Windows program on the Linux build's data, with the same logs.
  file(GLOB FUGA_E2E_SCRIPTS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/e2e/*.keys)
  foreach(script ${FUGA_E2E_SCRIPTS})
    get_filename_component(name ${script} NAME_WE)
    if(name IN_LIST FUGA_LINUX_ONLY_E2E)
      continue()
    endif()
    set(e2e_program $<TARGET_FILE:fuga>)
    if(EXISTS ${CMAKE_SOURCE_DIR}/tests/e2e/${name}.tool)
      file(STRINGS ${CMAKE_SOURCE_DIR}/tests/e2e/${name}.tool e2e_tool LIMIT_COUNT 1)
      set(e2e_program $<TARGET_FILE:${e2e_tool}>)
    endif()
    add_test(NAME windows_e2e_${name}
      COMMAND ${CMAKE_SOURCE_DIR}/tests/e2e/run_e2e.sh ${e2e_program} ${script} ${CMAKE_BINARY_DIR})
    set_tests_properties(windows_e2e_${name} PROPERTIES FIXTURES_REQUIRED wine TIMEOUT 120
      ENVIRONMENT "FUGA_E2E_EMULATOR=${CMAKE_BINARY_DIR}/wine-run;FUGA_E2E_DATA_BUILD=${FUGA_DATA_BUILD_DIR}")
  endforeach()
endif()

# The zip: fuga.exe, the data tree and a TALUNE.INI whose paths count from
# the program's folder (a copy beside the program works in its own folder),
# so that it plays wherever it is unpacked.
#   cmake --build build-windows --target package
block()
  set(FUGA_DATA_DIR "")
  set(FUGA_LETTERS_DIR letras)
  set(FUGA_DIPHONES_DIR difones)
  set(FUGA_VERNA_DIR verna)
  set(FUGA_SAPI N)
  set(FUGA_SAPI_TYPE 5)
  set(FUGA_FONT "Lucida Console")
  set(FUGA_VOICE_TYPES "; 3 the Portuguese engine speaking through MBROLA (mbrola.dll, or mbrola.exe
; beside fuga.exe or on PATH), 5 and 54 the system's SAPI 5 voices, any other
; number its SAPI 4 voices. VOZ picks a voice by number (0 or 1 the first).")
  set(FUGA_VOICE_PATHS "its path is in the registry under
; HKEY_LOCAL_MACHINE\\SOFTWARE\\TCTS\\Mbrola\\databases")
  configure_file(${CMAKE_SOURCE_DIR}/tools/TALUNE.INI.in ${CMAKE_BINARY_DIR}/package/TALUNE.INI @ONLY NEWLINE_STYLE CRLF)
endblock()
install(TARGETS fuga RUNTIME DESTINATION .)
install(FILES ${CMAKE_BINARY_DIR}/package/TALUNE.INI DESTINATION .)
install(DIRECTORY ${FUGA_DATA_TREE}/som ${FUGA_DATA_TREE}/letras ${FUGA_DATA_TREE}/difones ${FUGA_DATA_TREE}/verna
  DESTINATION . PATTERN ".*" EXCLUDE)
set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_NAME fuga)
set(CPACK_PACKAGE_FILE_NAME fuga-windows)
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY ON)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "FUGA DE VAL MORVELA, an audio text adventure in Brazilian Portuguese")
include(CPack)

if(FUGA_TESTS)
  # The zip unpacked into a fresh folder of a fresh prefix starts and plays.
  add_test(NAME windows_zip_plays
    COMMAND ${CMAKE_SOURCE_DIR}/tests/win32/zip_plays.sh ${CMAKE_BINARY_DIR} ${CMAKE_SOURCE_DIR}/tests/e2e)
  set_tests_properties(windows_zip_plays PROPERTIES TIMEOUT 180)
  list(APPEND FUGA_WINE_OWN_PREFIX_TESTS windows_zip_plays windows_voice_key_in_window)
  set_tests_properties(${FUGA_WINE_OWN_PREFIX_TESTS} PROPERTIES FIXTURES_REQUIRED wine
    ENVIRONMENT FUGA_WINE_TEMPLATE=${FUGA_WINE_TEMPLATE})
endif()
