# The folders of src/ that implement one operating system's services and may
# include its headers and third-party ones: the POSIX services, the Linux
# voices and backends, and Windows. Each system's platform library lists its
# own files of these; every other file of src/ is the core, the same on both
# systems (tests/check_system_headers.cmake and
# tests/check_windows_compile.cmake check that it is).
set(FUGA_SYSTEM_FOLDERS
  platform/posix
  platform/voices
  platform/sdl
  platform/terminal
  platform/win32)

# Sets `out` to TRUE when `path` (relative to src/) lies in a system folder.
function(fuga_in_system_folder path out)
  set(inside FALSE)
  foreach(folder ${FUGA_SYSTEM_FOLDERS})
    string(FIND "${path}" "${folder}/" at)
    if(at EQUAL 0)
      set(inside TRUE)
    endif()
  endforeach()
  set(${out} ${inside} PARENT_SCOPE)
endfunction()
