# What the Windows test run leaves out, and why.

# Unit tests of Linux backends and services (the Windows services have
# their own in tests/win32), and tests that need more of POSIX than
# tests/support/system_support.h offers on both systems.
set(FUGA_LINUX_ONLY_TESTS
  test_espeak_voice.cpp        # the espeak-ng library
  test_registry.cpp            # the registry.ini stand-in of the Linux build
  test_sdl_audio_period.cpp
  test_sdl_draw.cpp
  test_sdl_keys.cpp
  test_sdl_session_bus.cpp
  test_wave_sdl.cpp
  test_sound_server_restart.cpp  # SDL's sound device at a PulseAudio server
  test_speechd_voice.cpp       # speech-dispatcher over a Unix socket
  test_terminal_keys.cpp
  test_terminal_screen.cpp
  test_terminal_session.cpp
  test_open_help.cpp           # xdg-open and POSIX paths
  test_config.cpp              # sets file times with utimensat
  test_verna_engine.cpp        # starts and kills the mbrola program
  test_verna_mbrola.cpp        # the same, and reads its output through popen
)

# Single tests of files that run on Windows, as Suite.Name.
set(FUGA_LINUX_ONLY_CASES
  LineEditor.F12OpensTheWordUnderTheCursor  # a shell script stands in for xdg-open
)

# Key scripts that need a Linux program.
set(FUGA_LINUX_ONLY_E2E
  mbrola_escape                # the mbrola program (Debian has no mbrola.exe)
)
