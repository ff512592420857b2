// Private-profile lookups in a settings file through the system's own
// GetPrivateProfileString.
#include <windows.h>

#include <vector>

#include "platform/os.h"
#include "platform/profile.h"
#include "platform/win32/program_folder.h"

namespace {
bool has_directory(const std::string& file) { return file.find_first_of("\\/:") != std::string::npos; }

// A bare name is the Windows directory's file; where that has none (a player
// who cannot write there), the one beside the program.
std::string resolve(const std::string& file) {
    if (has_directory(file)) return file;
    std::string in_windows = os_windows_directory() + "\\" + file;
    if (os_file_exists(in_windows)) return in_windows;
    std::string beside = win32_program_folder() + "\\" + file;
    return os_file_exists(beside) ? beside : in_windows;
}
}  // namespace

std::string profile_read_string(const std::string& section, const std::string& key, const std::string& def,
                                const std::string& file, size_t capacity) {
    if (capacity == 0) return "";
    // The system's buffer size is a DWORD; a settings value is far shorter.
    if (capacity > 65536) capacity = 65536;
    std::vector<char> buffer(capacity, '\0');
    GetPrivateProfileStringA(section.c_str(), key.c_str(), def.c_str(), buffer.data(), DWORD(capacity),
                             resolve(file).c_str());
    return std::string(buffer.data());
}
