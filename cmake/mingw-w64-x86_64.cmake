# Cross-building the Windows program with Debian's mingw-w64 toolchain (the
# POSIX-threads variant, for std::thread and std::mutex). The runtime is
# linked statically, so fuga.exe and the test libraries need no DLL beside them.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(FUGA_MINGW_PREFIX x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${FUGA_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${FUGA_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${FUGA_MINGW_PREFIX}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${FUGA_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")

# Programs built here run under Wine (tests, the data tools are not built).
find_program(FUGA_WINE wine)
if(FUGA_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${FUGA_WINE})
endif()
