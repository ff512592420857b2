# The Linux platform library: the POSIX services, the SDL2 window and sound,
# the terminal, and the system voices (espeak-ng, speech-dispatcher). The
# only place of the build that looks for third-party libraries; the core
# calls into it through os.h and system.h, and it into the core.
find_package(PkgConfig REQUIRED)
pkg_check_modules(SDL2 REQUIRED IMPORTED_TARGET sdl2 SDL2_ttf fontconfig)
# The system voices: espeak-ng and the speech-dispatcher client library.
pkg_check_modules(VOICES REQUIRED IMPORTED_TARGET espeak-ng speech-dispatcher)

set(FUGA_PLATFORM_SOURCES
  posix/backends.cpp
  posix/child_process.cpp
  posix/files.cpp
  posix/find_program.cpp
  posix/library.cpp
  posix/profile_file.cpp
  posix/real_clock.cpp
  posix/settings_files.cpp
  posix/spawn.cpp
  posix/temp_files.cpp
  voices/espeak_voice.cpp
  voices/silent_voices.cpp
  voices/speechd_voice.cpp
  voices/voices.cpp
  sdl/sdl_audio.cpp
  sdl/sdl_backend.cpp
  sdl/sdl_clipboard.cpp
  sdl/sdl_draw.cpp
  sdl/sdl_font.cpp
  sdl/sdl_keys.cpp
  sdl/sdl_magnifier.cpp
  sdl/sdl_session_bus.cpp
  sdl/sdl_window.cpp
  terminal/key_decoder.cpp
  terminal/terminal_backend.cpp
  terminal/terminal_screen.cpp
  terminal/tty.cpp)
list(TRANSFORM FUGA_PLATFORM_SOURCES PREPEND ${CMAKE_SOURCE_DIR}/src/platform/)

add_library(fuga_platform STATIC ${FUGA_PLATFORM_SOURCES})
# The settings the machine's users share, read when a player has none of his
# own (the Debian package installs them there as configuration files).
set(FUGA_SYSTEM_SETTINGS_DIR /etc/talune CACHE PATH
  "Directory of the shared TALUNE.INI and registry.ini, read when the player has none")
set_property(SOURCE ${CMAKE_SOURCE_DIR}/src/platform/posix/settings_files.cpp APPEND PROPERTY
  COMPILE_DEFINITIONS FUGA_SYSTEM_SETTINGS_DIR="${FUGA_SYSTEM_SETTINGS_DIR}")
target_include_directories(fuga_platform PUBLIC ${CMAKE_SOURCE_DIR}/src)
# Private, so that the core that links it sees none of their headers.
target_link_libraries(fuga_platform PRIVATE fuga_core PkgConfig::SDL2 PkgConfig::VOICES ${CMAKE_DL_LIBS})

# What the tests, benchmarks and fuzz targets of the Linux pieces include
# (the SDL, terminal and voice drivers' own headers and theirs).
add_library(fuga_platform_headers INTERFACE)
target_link_libraries(fuga_platform_headers INTERFACE PkgConfig::SDL2 PkgConfig::VOICES)
