# The installation data the build makes: one tree under build/data that the
# program finds through TALUNE_HOME (build/play sets it). Generators add their
# outputs to the `fuga_data` target; nothing generated is committed.
set(FUGA_DATA_DIR ${CMAKE_BINARY_DIR}/data)
# The game's recordings, one WAV per message key ("DIRSMORVELA").
set(FUGA_SOUND_DIR ${FUGA_DATA_DIR}/som)
# Letter recordings _NN.wav, number, time and date fragments, the editor's
# prompts and the dial tones ("DIRLETRAS").
set(FUGA_LETTERS_DIR ${FUGA_DATA_DIR}/letras)
# The own synthesizer's unit databases DIFONES1..5, regras.rgr and
# portug.exc ("DIRDIFONES").
set(FUGA_DIPHONES_DIR ${FUGA_DATA_DIR}/difones)
file(MAKE_DIRECTORY ${FUGA_SOUND_DIR} ${FUGA_LETTERS_DIR} ${FUGA_DIPHONES_DIR})

set(FUGA_PLAY_TALUNE_HOME ${FUGA_DATA_DIR})
# "SAPI" of [TRADUTOR]: N keeps the own synthesizer (S hands speech to [SERVFALA] TIPOSAPI).
set(FUGA_SAPI N)
# "TIPOSAPI" of [SERVFALA]: which external synthesizer SAPI=S starts.
set(FUGA_SAPI_TYPE 3)
# What the generated TALUNE.INI says about the system: the screen's font, the
# synthesizer types of [SERVFALA] and where the MBROLA voices are named.
set(FUGA_FONT "DejaVu Sans Mono")
set(FUGA_VOICE_TYPES "; 3 the Portuguese engine speaking through MBROLA, 5 speech-dispatcher with
; its default output module, 54 speech-dispatcher's RHVoice module, any other
; number the espeak-ng voices. VOZ picks a voice by number (0 or 1 the first;
; for 5 and 54, VOZ 0, none or past the last voice keeps the voice's own rate,
; whatever VELOCIDADE says: write VOZ=1 to set the rate).")
set(FUGA_VOICE_PATHS "its path is in registry.ini")
# The Portuguese engine's data files ("VERNATTS" DIR).
set(FUGA_VERNA_DIR ${FUGA_DATA_DIR}/verna)
configure_file(${CMAKE_SOURCE_DIR}/tools/TALUNE.INI.in ${FUGA_DATA_DIR}/TALUNE.INI @ONLY)

add_custom_target(fuga_data ALL)

# Every rule, exception, abbreviation, prosody and diphone-list file is
# loaded at build time by the loader the program uses (tools/check_data):
# what that loader refuses or reports fails the build, naming the file and
# line, instead of leaving a synthesizer mute at run time.
set(FUGA_DATA_CHECKS_DIR ${CMAKE_BINARY_DIR}/data-checks)
file(MAKE_DIRECTORY ${FUGA_DATA_CHECKS_DIR})
add_custom_target(fuga_data_checks)
add_dependencies(fuga_data fuga_data_checks)
function(fuga_check_data kind file)
  get_filename_component(name ${file} NAME)
  set(stamp ${FUGA_DATA_CHECKS_DIR}/${name}.${kind}.ok)
  add_custom_command(OUTPUT ${stamp}
    COMMAND check_data ${kind} ${file}
    COMMAND ${CMAKE_COMMAND} -E touch ${stamp}
    DEPENDS check_data ${file}
    COMMENT "Checking ${name} with its loader")
  add_custom_target(fuga_check_${kind}_${name} DEPENDS ${stamp})
  add_dependencies(fuga_data_checks fuga_check_${kind}_${name})
endfunction()

# Recordings of the letters directory: letters, number, time and date
# fragments, the editor's prompts and spelling words, from the list the
# program itself holds (tools/letter_recordings prints it), and dial tones.
set(FUGA_RECORDING_LISTS ${CMAKE_BINARY_DIR}/recordings)
file(MAKE_DIRECTORY ${FUGA_RECORDING_LISTS})
add_custom_command(OUTPUT ${FUGA_RECORDING_LISTS}/letters.txt
  COMMAND letter_recordings > ${FUGA_RECORDING_LISTS}/letters.txt
  DEPENDS letter_recordings)
add_custom_command(OUTPUT ${FUGA_RECORDING_LISTS}/letters.stamp
  COMMAND sh ${CMAKE_SOURCE_DIR}/tools/make_recordings.sh ${FUGA_RECORDING_LISTS}/letters.txt ${FUGA_LETTERS_DIR}
  COMMAND sh ${CMAKE_SOURCE_DIR}/tools/make_dial_tones.sh ${FUGA_LETTERS_DIR}
  COMMAND ${CMAKE_COMMAND} -E touch ${FUGA_RECORDING_LISTS}/letters.stamp
  DEPENDS ${FUGA_RECORDING_LISTS}/letters.txt ${CMAKE_SOURCE_DIR}/tools/make_recordings.sh
          ${CMAKE_SOURCE_DIR}/tools/make_dial_tones.sh
  COMMENT "Recording letters, number fragments, prompts and dial tones")
add_custom_target(fuga_letter_recordings DEPENDS ${FUGA_RECORDING_LISTS}/letters.stamp)
add_dependencies(fuga_data fuga_letter_recordings)

# The game's recordings, one per message key, from the game's own table, and
# the alarm's computed siren.
if(TARGET game_texts)
  add_custom_command(OUTPUT ${FUGA_RECORDING_LISTS}/game.txt
    COMMAND game_texts > ${FUGA_RECORDING_LISTS}/game.txt
    DEPENDS game_texts)
  add_custom_command(OUTPUT ${FUGA_RECORDING_LISTS}/game.stamp
    COMMAND sh ${CMAKE_SOURCE_DIR}/tools/make_recordings.sh ${FUGA_RECORDING_LISTS}/game.txt ${FUGA_SOUND_DIR}
    COMMAND sh ${CMAKE_SOURCE_DIR}/tools/make_siren.sh ${FUGA_SOUND_DIR}
    COMMAND ${CMAKE_COMMAND} -E touch ${FUGA_RECORDING_LISTS}/game.stamp
    DEPENDS ${FUGA_RECORDING_LISTS}/game.txt ${CMAKE_SOURCE_DIR}/tools/make_recordings.sh
            ${CMAKE_SOURCE_DIR}/tools/make_siren.sh
    COMMENT "Recording the game's messages")
  add_custom_target(fuga_game_recordings DEPENDS ${FUGA_RECORDING_LISTS}/game.stamp)
  add_dependencies(fuga_data fuga_game_recordings)
endif()

# The rule engine's sources in data/ are UTF-8; the program reads Latin-1.
set(FUGA_RULES_FILE ${FUGA_DIPHONES_DIR}/regras.rgr)
set(FUGA_EXCEPTIONS_FILE ${FUGA_DIPHONES_DIR}/portug.exc)
add_custom_command(OUTPUT ${FUGA_RULES_FILE}
  COMMAND to_latin1 ${CMAKE_SOURCE_DIR}/data/regras.rgr ${FUGA_RULES_FILE}
  DEPENDS to_latin1 ${CMAKE_SOURCE_DIR}/data/regras.rgr
  COMMENT "Rule file regras.rgr in Latin-1")
add_custom_command(OUTPUT ${FUGA_EXCEPTIONS_FILE}
  COMMAND to_latin1 ${CMAKE_SOURCE_DIR}/data/portug.exc ${FUGA_EXCEPTIONS_FILE}
  DEPENDS to_latin1 ${CMAKE_SOURCE_DIR}/data/portug.exc
  COMMENT "Exceptions portug.exc in Latin-1")
add_custom_target(fuga_rules_data DEPENDS ${FUGA_RULES_FILE} ${FUGA_EXCEPTIONS_FILE})
fuga_check_data(rgr ${CMAKE_SOURCE_DIR}/data/regras.rgr)
fuga_check_data(own-exc ${CMAKE_SOURCE_DIR}/data/portug.exc)
add_dependencies(fuga_data fuga_rules_data)

# The Portuguese engine's rules, exceptions, abbreviations and prosody
# (data/verna/, UTF-8) in Latin-1 under build/data/verna/, where the engine's
# start-up looks for portug.nrl, portug.exc, portug.abr and portug.pro.
file(MAKE_DIRECTORY ${FUGA_VERNA_DIR})
set(FUGA_VERNA_FILES "")
foreach(name portug.nrl portug.exc portug.abr portug.pro)
  add_custom_command(OUTPUT ${FUGA_VERNA_DIR}/${name}
    COMMAND to_latin1 ${CMAKE_SOURCE_DIR}/data/verna/${name} ${FUGA_VERNA_DIR}/${name}
    DEPENDS to_latin1 ${CMAKE_SOURCE_DIR}/data/verna/${name}
    COMMENT "Portuguese engine data ${name} in Latin-1")
  list(APPEND FUGA_VERNA_FILES ${FUGA_VERNA_DIR}/${name})
  get_filename_component(kind ${name} EXT)
  string(SUBSTRING ${kind} 1 -1 kind)
  fuga_check_data(${kind} ${CMAKE_SOURCE_DIR}/data/verna/${name})
endforeach()

# The diphone list of the MBROLA voice, asked of MBROLA, and registry.ini
# naming the voice's path. The voice is br1: its 16000 Hz is the engine's
# own format and the rules are written in its phoneme alphabet.
set(FUGA_MBROLA_VOICE br1)
set(FUGA_MBROLA_VOICE_PATH /usr/share/mbrola/br1/br1)
find_program(FUGA_MBROLA_PROGRAM mbrola)
set(FUGA_REGISTRY_VOICES "")
if(FUGA_MBROLA_PROGRAM AND EXISTS ${FUGA_MBROLA_VOICE_PATH})
  set(FUGA_REGISTRY_VOICES "${FUGA_MBROLA_VOICE}=${FUGA_MBROLA_VOICE_PATH}")
  add_custom_command(OUTPUT ${FUGA_VERNA_DIR}/portug.dfn
    COMMAND verna_dfn ${FUGA_MBROLA_VOICE_PATH} ${FUGA_VERNA_DIR}/portug.dfn --rules ${FUGA_VERNA_DIR}/portug.nrl
    DEPENDS verna_dfn ${FUGA_VERNA_DIR}/portug.nrl
    COMMENT "Diphone list portug.dfn of the MBROLA voice ${FUGA_MBROLA_VOICE}")
  list(APPEND FUGA_VERNA_FILES ${FUGA_VERNA_DIR}/portug.dfn)
  fuga_check_data(dfn ${FUGA_VERNA_DIR}/portug.dfn)
else()
  message(STATUS "MBROLA or its voice ${FUGA_MBROLA_VOICE_PATH} is not installed (Debian: mbrola, "
          "mbrola-br1): the Portuguese engine cannot start and the own reader speaks instead")
endif()
configure_file(${CMAKE_SOURCE_DIR}/tools/registry.ini.in ${FUGA_DATA_DIR}/registry.ini @ONLY)
add_custom_target(fuga_verna_data DEPENDS ${FUGA_VERNA_FILES})
add_dependencies(fuga_data fuga_verna_data)
# The same installation with all synthesized speech handed to the engine
# (SAPI=S): the end-to-end runs of type 3 use it.
block()
  set(FUGA_SAPI S)
  configure_file(${CMAKE_SOURCE_DIR}/tools/TALUNE.INI.in ${CMAKE_BINARY_DIR}/data-mbrola/TALUNE.INI @ONLY)
  configure_file(${CMAKE_SOURCE_DIR}/tools/registry.ini.in ${CMAKE_BINARY_DIR}/data-mbrola/registry.ini @ONLY)
endblock()
# And with each type of system voice, for the end-to-end runs of those types
# (7 stands for every number that has no back end of its own).
foreach(type 4 5 54 7)
  block()
    set(FUGA_SAPI S)
    set(FUGA_SAPI_TYPE ${type})
    configure_file(${CMAKE_SOURCE_DIR}/tools/TALUNE.INI.in ${CMAKE_BINARY_DIR}/data-type${type}/TALUNE.INI @ONLY)
  endblock()
endforeach()

# The own synthesizer's voice databases DIFONES1..5: one generator run per
# speed (the two cores share them), for every unit that the installed
# Latin-1 rules and exceptions can ask for in real text (the game's texts
# and the benchmark text join the generated word set).
target_link_libraries(gen_difones PRIVATE espeak-ng)
if(EXISTS ${CMAKE_SOURCE_DIR}/data/regras.rgr AND EXISTS ${CMAKE_SOURCE_DIR}/data/portug.exc)
  set(FUGA_DIPHONE_TEXTS "")
  if(TARGET game_texts)
    list(APPEND FUGA_DIPHONE_TEXTS ${FUGA_RECORDING_LISTS}/game.txt)
  endif()
  if(EXISTS ${CMAKE_SOURCE_DIR}/bench/texto_1000_palavras.txt)
    list(APPEND FUGA_DIPHONE_TEXTS ${CMAKE_SOURCE_DIR}/bench/texto_1000_palavras.txt)
  endif()
  # The pronunciation samples: everyday words and a dictionary sample.
  list(APPEND FUGA_DIPHONE_TEXTS ${CMAKE_SOURCE_DIR}/tests/data/rules_words_everyday.txt
       ${CMAKE_SOURCE_DIR}/tests/data/rules_words_dictionary.txt)
  set(FUGA_DIPHONE_OUTPUTS "")
  foreach(speed 1 2 3 4 5)
    set(base ${FUGA_DIPHONES_DIR}/DIFONES${speed})
    add_custom_command(OUTPUT ${base}.IND ${base}.DIF
      COMMAND gen_difones db ${speed} ${FUGA_RULES_FILE} ${FUGA_EXCEPTIONS_FILE} ${FUGA_DIPHONES_DIR}
              ${FUGA_DIPHONE_TEXTS}
      DEPENDS gen_difones ${FUGA_RULES_FILE} ${FUGA_EXCEPTIONS_FILE} ${FUGA_DIPHONE_TEXTS}
      COMMENT "Voice database DIFONES${speed}")
    list(APPEND FUGA_DIPHONE_OUTPUTS ${base}.IND ${base}.DIF)
  endforeach()
  add_custom_target(fuga_diphone_databases DEPENDS ${FUGA_DIPHONE_OUTPUTS})
  add_dependencies(fuga_data fuga_diphone_databases)
endif()

# `cmake --install` lays out the same tree under the prefix, with its own
# TALUNE.INI, and a `fuga-play` starter that points TALUNE_HOME at it.
include(GNUInstallDirs)
set(FUGA_INSTALL_DATA ${CMAKE_INSTALL_FULL_DATADIR}/fuga)
set(FUGA_INSTALLED_INI ${CMAKE_BINARY_DIR}/install/TALUNE.INI)
block()
  set(FUGA_DATA_DIR ${FUGA_INSTALL_DATA})
  set(FUGA_LETTERS_DIR ${FUGA_INSTALL_DATA}/letras)
  set(FUGA_DIPHONES_DIR ${FUGA_INSTALL_DATA}/difones)
  set(FUGA_VERNA_DIR ${FUGA_INSTALL_DATA}/verna)
  configure_file(${CMAKE_SOURCE_DIR}/tools/TALUNE.INI.in ${FUGA_INSTALLED_INI} @ONLY)
  set(FUGA_PLAY_TALUNE_HOME ${FUGA_INSTALL_DATA})
  set(CMAKE_BINARY_DIR ${CMAKE_INSTALL_FULL_BINDIR})
  configure_file(${CMAKE_SOURCE_DIR}/tools/play.in ${CMAKE_CURRENT_BINARY_DIR}/install/fuga-play @ONLY)
endblock()
install(TARGETS fuga RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(PROGRAMS ${CMAKE_BINARY_DIR}/install/fuga-play DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${FUGA_INSTALLED_INI} DESTINATION ${FUGA_INSTALL_DATA})
install(FILES ${FUGA_DATA_DIR}/registry.ini DESTINATION ${FUGA_INSTALL_DATA})
install(DIRECTORY ${FUGA_SOUND_DIR} ${FUGA_LETTERS_DIR} ${FUGA_DIPHONES_DIR} ${FUGA_VERNA_DIR} DESTINATION ${FUGA_INSTALL_DATA}
  PATTERN ".*" EXCLUDE)
