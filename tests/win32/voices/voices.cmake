# The Windows voices' tests, included by the Windows build's tests after its
# unit_tests target: the stand-in engines (in-process COM servers that the
# tests register in the test prefix themselves), a stand-in mbrola.dll, the
# drivers' and bridges' tests, and whole games of each
# synthesizer type under Wine.
set(FUGA_VOICE_TESTS ${CMAKE_SOURCE_DIR}/tests/win32/voices)

add_library(standin_sapi4 SHARED ${FUGA_VOICE_TESTS}/standin_sapi4.cpp)
add_library(standin_sapi5 SHARED ${FUGA_VOICE_TESTS}/standin_sapi5.cpp)
add_library(standin_sapi54 SHARED ${FUGA_VOICE_TESTS}/standin_sapi5.cpp)
target_compile_definitions(standin_sapi54 PRIVATE STANDIN_SECOND_CLASS)
foreach(standin standin_sapi4 standin_sapi5 standin_sapi54)
  # Beside voice_tests.exe and register_standins.exe, which load them from there.
  set_target_properties(${standin} PROPERTIES PREFIX "" RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR})
  target_include_directories(${standin} PRIVATE ${CMAKE_SOURCE_DIR}/src)
  target_link_libraries(${standin} PRIVATE sapi ole32 oleaut32 uuid)
endforeach()

# mbrola.dll as a player installs it: the engine tests' stand-in, in a
# folder of its own so that no other game of the build finds it.
add_library(standin_mbrola SHARED ${CMAKE_SOURCE_DIR}/tests/mbrola/test_mbrola.cpp)
set_target_properties(standin_mbrola PROPERTIES PREFIX "" OUTPUT_NAME mbrola
  RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/voices)

add_executable(register_standins ${FUGA_VOICE_TESTS}/register_standins.cpp)
target_include_directories(register_standins PRIVATE ${CMAKE_SOURCE_DIR}/src)
target_link_libraries(register_standins PRIVATE ole32)
set_target_properties(register_standins PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR})

# The drivers' and bridges' tests are a program of their own, beside the
# stand-ins they load, so that they build and run whatever the state of the
# other unit tests.
add_executable(voice_tests ${FUGA_VOICE_TESTS}/test_com_voices.cpp
  ${FUGA_VOICE_TESTS}/test_com_voice_bridges.cpp ${FUGA_VOICE_TESTS}/test_mbrola_dll.cpp)
target_link_libraries(voice_tests PRIVATE fuga_core fuga_gtest)
set_target_properties(voice_tests PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}
  CROSSCOMPILING_EMULATOR ${CMAKE_BINARY_DIR}/wine-run)
add_dependencies(voice_tests standin_sapi4 standin_sapi5 standin_sapi54 standin_mbrola)
add_test(NAME windows_com_voices COMMAND voice_tests)
set_tests_properties(windows_com_voices PROPERTIES FIXTURES_REQUIRED wine TIMEOUT 120
  ENVIRONMENT "FUGA_BACKEND=headless")

# Whole games through each engine; starts that fail leave the game to its
# own synthesizer; engines that never report an end are waited for only so
# long (some 5 seconds a text: these games take a minute).
set(FUGA_VOICE_GAMES "3 data-mbrola" "4 data-type4" "5 data-type5" "54 data-type54"
  "4 data-type4 MMAudioDest" "5 data-type5 GetVoices" "3 data-mbrola registry"
  "4 data-type4 endless" "5 data-type5 endless")
foreach(game ${FUGA_VOICE_GAMES})
  separate_arguments(game)
  list(GET game 0 type)
  list(GET game 1 home)
  set(failing "")
  set(name windows_voice_game_type${type})
  if(game MATCHES ";.*;")
    list(GET game 2 failing)
    if(failing STREQUAL endless)
      set(name ${name}_endless)
    else()
      set(name ${name}_failing_${failing})
    endif()
  endif()
  add_test(NAME ${name} COMMAND ${FUGA_VOICE_TESTS}/voice_games.sh ${type} ${CMAKE_BINARY_DIR}/wine-run
    $<TARGET_FILE:fuga> ${CMAKE_BINARY_DIR} ${FUGA_DATA_BUILD_DIR}/${home} ${failing})
  set_tests_properties(${name} PROPERTIES FIXTURES_REQUIRED wine TIMEOUT 300)
  # Type 3's games write where the voice's database is in the shared prefix's
  # registry (one the real place, one a missing one): never at the same time.
  if(type STREQUAL 3)
    set_tests_properties(${name} PROPERTIES RESOURCE_LOCK wine_mbrola_registry)
  endif()
endforeach()
add_custom_target(voice_test_programs ALL)
add_dependencies(voice_test_programs standin_sapi4 standin_sapi5 standin_sapi54 standin_mbrola register_standins)

# A key during a long text in the window, for each COM voice: the engine is
# cut at once (the script prints how soon). On a virtual display in a prefix of its own, and
# alone, so that another test's load does not stretch the measure.
add_test(NAME windows_voice_key_in_window
  COMMAND ${FUGA_VOICE_TESTS}/voice_key_in_window.sh $<TARGET_FILE:fuga> ${CMAKE_BINARY_DIR} ${FUGA_DATA_BUILD_DIR}
    ${CMAKE_BINARY_DIR}/voice-key-in-window)
set_tests_properties(windows_voice_key_in_window PROPERTIES TIMEOUT 300 RUN_SERIAL TRUE)
