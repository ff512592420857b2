# Builds tests/windows_compile (every file of src/ outside the system folders,
# compiled for Windows by mingw-w64) in BUILD, and fails when any file does
# not compile (each such file's errors shown). Objects only: nothing is linked or run.
#
#   cmake -DSRC=DIR -DBUILD=DIR [-DCOMPILER=NAME] [-DLAUNCHER=ccache] -P check_windows_compile.cmake
cmake_minimum_required(VERSION 3.25)

if(NOT COMPILER)
  set(COMPILER x86_64-w64-mingw32-g++-posix)
endif()
find_program(compiler_path ${COMPILER})
if(NOT compiler_path)
  message(FATAL_ERROR "${COMPILER} is not installed (Debian package g++-mingw-w64-x86-64-posix, "
                      "installed by tools/setup-debian.sh --tests)")
endif()

set(configure ${CMAKE_COMMAND} -S ${CMAKE_CURRENT_LIST_DIR}/windows_compile -B ${BUILD} -G Ninja
  -DCMAKE_SYSTEM_NAME=Windows -DCMAKE_CXX_COMPILER=${compiler_path} -DFUGA_SRC=${SRC})
if(LAUNCHER)
  list(APPEND configure -DCMAKE_CXX_COMPILER_LAUNCHER=${LAUNCHER})
endif()
execute_process(COMMAND ${configure} RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "windows compile check: configuring ${BUILD} failed")
endif()
execute_process(COMMAND ${CMAKE_COMMAND} --build ${BUILD} --parallel 2 -- -k 0 RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "windows compile check: a file of src/ does not compile for Windows (above)")
endif()
