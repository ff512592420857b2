# The Debian package for players (cmake --build build --target package):
# the program in /usr/games, the installation data in /usr/share/games/fuga,
# the shared TALUNE.INI and registry.ini in /etc/talune as configuration
# files, the menu entry, icon, AppStream metadata, the manual page in English
# and Portuguese, the changelog, the copyright file and lintian's overrides. Its files form the
# install component "debian", left out of a plain `cmake --install`, which
# keeps laying out its own tree under the prefix. Included by CMakeLists.txt
# on Linux after the data rules (the Windows build makes its zip instead).

set(FUGA_PACKAGE fuga-de-val-morvela)
# The id of the menu entry, icon and AppStream metadata (one name for all three).
set(FUGA_APP_ID br.morvela.fuga)
set(FUGA_PACKAGE_PREFIX /usr)
set(FUGA_PACKAGE_DATA share/games/fuga)
set(FUGA_PACKAGE_FILES ${CMAKE_BINARY_DIR}/debian)
file(MAKE_DIRECTORY ${FUGA_PACKAGE_FILES})

# The changelog's latest entry is the release the package makes: its version
# must be the project's, and its date dates the manual page and the metadata.
set(FUGA_CHANGELOG ${CMAKE_SOURCE_DIR}/packaging/changelog)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${FUGA_CHANGELOG})
include(${CMAKE_SOURCE_DIR}/cmake/changelog.cmake)
fuga_changelog_release(${FUGA_CHANGELOG} ${FUGA_PACKAGE} ${PROJECT_VERSION} FUGA_RELEASE_DATE)

# The shared settings: the generated TALUNE.INI with the package's paths, and
# registry.ini naming the MBROLA voice the package recommends.
block()
  set(FUGA_DATA_DIR ${FUGA_PACKAGE_PREFIX}/${FUGA_PACKAGE_DATA})
  set(FUGA_LETTERS_DIR ${FUGA_DATA_DIR}/letras)
  set(FUGA_DIPHONES_DIR ${FUGA_DATA_DIR}/difones)
  set(FUGA_VERNA_DIR ${FUGA_DATA_DIR}/verna)
  configure_file(${CMAKE_SOURCE_DIR}/tools/TALUNE.INI.in ${FUGA_PACKAGE_FILES}/TALUNE.INI.body @ONLY)
  # Whoever opens it in /etc learns how to change it for himself alone.
  file(READ ${FUGA_PACKAGE_FILES}/TALUNE.INI.body body)
  set(ini "; Shared by every user of this machine, for those who have no TALUNE.INI of
; their own. To change the settings for yourself alone, copy this file and
; registry.ini to ~/.config/talune/ and edit the copies (man fuga).
${body}")
  set(old "")
  if(EXISTS ${FUGA_PACKAGE_FILES}/TALUNE.INI)
    file(READ ${FUGA_PACKAGE_FILES}/TALUNE.INI old)
  endif()
  if(NOT old STREQUAL ini)
    file(WRITE ${FUGA_PACKAGE_FILES}/TALUNE.INI "${ini}")
  endif()
  set(FUGA_REGISTRY_VOICES "${FUGA_MBROLA_VOICE}=${FUGA_MBROLA_VOICE_PATH}")
  configure_file(${CMAKE_SOURCE_DIR}/tools/registry.ini.in ${FUGA_PACKAGE_FILES}/registry.ini @ONLY)
endblock()
# dpkg keeps a player's edits of them across upgrades.
file(WRITE ${FUGA_PACKAGE_FILES}/conffiles
  "${FUGA_SYSTEM_SETTINGS_DIR}/TALUNE.INI\n${FUGA_SYSTEM_SETTINGS_DIR}/registry.ini\n")

configure_file(${CMAKE_SOURCE_DIR}/packaging/fuga.desktop.in ${FUGA_PACKAGE_FILES}/${FUGA_APP_ID}.desktop @ONLY)
configure_file(${CMAKE_SOURCE_DIR}/packaging/fuga.metainfo.xml.in
  ${FUGA_PACKAGE_FILES}/${FUGA_APP_ID}.metainfo.xml @ONLY)
configure_file(${CMAKE_SOURCE_DIR}/packaging/fuga.6.in ${FUGA_PACKAGE_FILES}/man/fuga.6 @ONLY)
configure_file(${CMAKE_SOURCE_DIR}/packaging/fuga.pt_BR.6.in ${FUGA_PACKAGE_FILES}/man/pt_BR/fuga.6 @ONLY)

# Manual pages, the changelog and the README go in compressed, as Debian
# keeps them (gzip -n: no name or time stamp, so a rebuild is the same file).
set(fuga_compressed "")
foreach(pair man/fuga.6:${FUGA_PACKAGE_FILES}/man/fuga.6
             man/pt_BR/fuga.6:${FUGA_PACKAGE_FILES}/man/pt_BR/fuga.6
             changelog:${FUGA_CHANGELOG}
             README.md:${CMAKE_SOURCE_DIR}/README.md)
  string(REPLACE ":" ";" pair ${pair})
  list(GET pair 0 name)
  list(GET pair 1 source)
  set(output ${FUGA_PACKAGE_FILES}/${name}.gz)
  add_custom_command(OUTPUT ${output}
    COMMAND gzip -9n -c ${source} > ${output}
    DEPENDS ${source}
    COMMENT "Compressing ${name} for the package")
  list(APPEND fuga_compressed ${output})
endforeach()
add_custom_target(fuga_package_files ALL DEPENDS ${fuga_compressed})

set(fuga_in_package COMPONENT debian EXCLUDE_FROM_ALL)
set(fuga_file_mode OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ)
set(fuga_dir_mode OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
install(TARGETS fuga RUNTIME DESTINATION games ${fuga_in_package})
install(DIRECTORY ${FUGA_SOUND_DIR} ${FUGA_LETTERS_DIR} ${FUGA_DIPHONES_DIR} ${FUGA_VERNA_DIR}
  DESTINATION ${FUGA_PACKAGE_DATA} ${fuga_in_package}
  FILE_PERMISSIONS ${fuga_file_mode} DIRECTORY_PERMISSIONS ${fuga_dir_mode} PATTERN ".*" EXCLUDE)
install(FILES ${FUGA_PACKAGE_FILES}/TALUNE.INI ${FUGA_PACKAGE_FILES}/registry.ini
  DESTINATION ${FUGA_SYSTEM_SETTINGS_DIR} PERMISSIONS ${fuga_file_mode} ${fuga_in_package})
install(FILES ${FUGA_PACKAGE_FILES}/${FUGA_APP_ID}.desktop DESTINATION share/applications
  PERMISSIONS ${fuga_file_mode} ${fuga_in_package})
install(FILES ${CMAKE_SOURCE_DIR}/packaging/fuga.svg DESTINATION share/icons/hicolor/scalable/apps
  RENAME ${FUGA_APP_ID}.svg PERMISSIONS ${fuga_file_mode} ${fuga_in_package})
install(FILES ${FUGA_PACKAGE_FILES}/${FUGA_APP_ID}.metainfo.xml DESTINATION share/metainfo
  PERMISSIONS ${fuga_file_mode} ${fuga_in_package})
install(FILES ${FUGA_PACKAGE_FILES}/man/fuga.6.gz DESTINATION share/man/man6
  PERMISSIONS ${fuga_file_mode} ${fuga_in_package})
install(FILES ${FUGA_PACKAGE_FILES}/man/pt_BR/fuga.6.gz DESTINATION share/man/pt_BR/man6
  PERMISSIONS ${fuga_file_mode} ${fuga_in_package})
install(FILES ${CMAKE_SOURCE_DIR}/packaging/lintian-overrides DESTINATION share/lintian/overrides
  RENAME ${FUGA_PACKAGE} PERMISSIONS ${fuga_file_mode} ${fuga_in_package})
install(FILES ${FUGA_PACKAGE_FILES}/changelog.gz ${FUGA_PACKAGE_FILES}/README.md.gz
  ${CMAKE_SOURCE_DIR}/packaging/copyright DESTINATION share/doc/${FUGA_PACKAGE}
  PERMISSIONS ${fuga_file_mode} ${fuga_in_package})

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME ${FUGA_PACKAGE})
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGING_INSTALL_PREFIX ${FUGA_PACKAGE_PREFIX})
set(CPACK_COMPONENTS_ALL debian)
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_GROUPING ALL_COMPONENTS_IN_ONE)
set(CPACK_DEBIAN_PACKAGE_NAME ${FUGA_PACKAGE})
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_STRIP_FILES ON)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS ${fuga_dir_mode})
set(CPACK_DEBIAN_PACKAGE_MAINTAINER
  "FUGA DE VAL MORVELA maintainers <maintainers@users.noreply.c-seed-56c150f1.example>")
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "spoken text adventure in Brazilian Portuguese for blind players")
# The summary above is the first line; this is the long description.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "An audio text adventure in Brazilian Portuguese, made for blind and
low-vision players. You are a prisoner who must escape from the prison of
Val Morvela, by typing Portuguese commands such as 'pegar a chave' or
'ir para o norte'.
.
The game speaks for itself and needs no screen reader: every line it shows
is also heard, from its own recordings and its own Portuguese synthesizer,
or through MBROLA's Brazilian voices, espeak-ng or speech-dispatcher. Every
key of the command line is spoken, any key press cuts the speech short, and
a screen review mode reads the screen again. It is played with the keyboard
alone, in a window or in a terminal.")
# The libraries it links, found by dpkg-shlibdeps, and the font of its window.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-dejavu-core")
# What it runs when installed, some of it in contrib and non-free: the MBROLA
# program and its Brazilian voices for the Portuguese engine, the speech
# server with its espeak-ng and RHVoice modules, and espeak-ng's voices.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS
  "mbrola, mbrola-br1, mbrola-br3, speech-dispatcher, speech-dispatcher-espeak-ng, speech-dispatcher-rhvoice, rhvoice-brazilian-portuguese, espeak-ng-data")
set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA ${FUGA_PACKAGE_FILES}/conffiles)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
include(CPack)
