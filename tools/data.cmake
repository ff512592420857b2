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
configure_file(${CMAKE_SOURCE_DIR}/tools/TALUNE.INI.in ${FUGA_DATA_DIR}/TALUNE.INI @ONLY)

add_custom_target(fuga_data ALL)
