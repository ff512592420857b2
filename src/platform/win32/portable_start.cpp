// A portable installation: fuga.exe unpacked with its data and a TALUNE.INI
// beside it, and none in the Windows directory. Such a copy works in its
// own folder, so that the relative and "@" paths of its TALUNE.INI find the
// data wherever it was unpacked and however it was started.
#include <windows.h>

#include <cstdlib>
#include <string>

#include "platform/os.h"
#include "platform/system.h"
#include "platform/win32/program_folder.h"

namespace {
// The log and key files named in the environment keep meaning the files
// they meant from the directory the program was started in.
void make_absolute(const char* variable) {
    const char* value = std::getenv(variable);
    if (!value || !*value) return;
    char full[MAX_PATH];
    DWORD n = GetFullPathNameA(value, MAX_PATH, full, nullptr);
    if (n > 0 && n < MAX_PATH) _putenv_s(variable, full);
}
}  // namespace

void system_start() {
    const char* home = std::getenv("TALUNE_HOME");
    if (home && *home) return;
    if (os_file_exists(os_windows_directory() + "\\TALUNE.INI")) return;
    std::string folder = win32_program_folder();
    if (!os_file_exists(folder + "\\TALUNE.INI")) return;
    for (const char* variable : {"FUGA_KEYS", "FUGA_SCREEN_LOG", "FUGA_SOUND_LOG"}) make_absolute(variable);
    SetCurrentDirectoryA(folder.c_str());
}
