// Directories and files on Windows: the Windows directory (where TALUNE.INI
// lives), the current directory, the program's own path and what identifies
// one version of a file.
#include <windows.h>

#include <cstdlib>

#include "platform/os.h"
#include "platform/system.h"
#include "platform/win32/program_folder.h"

namespace {
// What a path-returning call gave, or "" when it failed or the buffer was too
// small (the path is then not one we can use with the ANSI calls anyway).
std::string from_buffer(const char* buf, DWORD length, DWORD capacity) {
    if (length == 0 || length >= capacity) return "";
    return std::string(buf, length);
}

// Without the separator a root keeps ("C:\" stays as it is).
std::string without_trailing_separator(std::string dir) {
    while (dir.size() > 1 && (dir.back() == '\\' || dir.back() == '/') && !(dir.size() == 3 && dir[1] == ':'))
        dir.pop_back();
    return dir;
}
}  // namespace

// TALUNE_HOME names another directory for settings, as on Linux: tests, and
// players who keep several configurations, use it instead of the system's.
std::string os_windows_directory() {
    const char* home = std::getenv("TALUNE_HOME");
    if (home && *home) return without_trailing_separator(home);
    char buf[MAX_PATH];
    std::string dir = from_buffer(buf, GetWindowsDirectoryA(buf, MAX_PATH), MAX_PATH);
    return without_trailing_separator(dir.empty() ? "C:\\Windows" : dir);
}

// The Windows directory is already the machine's own: there is no second copy.
std::string system_settings_file(const std::string& name) { return os_windows_directory() + "/" + name; }

std::string os_current_directory() {
    char buf[MAX_PATH];
    std::string dir = from_buffer(buf, GetCurrentDirectoryA(MAX_PATH, buf), MAX_PATH);
    return dir.empty() ? "." : without_trailing_separator(dir);
}

std::string os_program_path() {
    char buf[MAX_PATH];
    std::string path = from_buffer(buf, GetModuleFileNameA(nullptr, buf, MAX_PATH), MAX_PATH);
    return path.empty() ? "fuga.exe" : path;
}

std::string win32_program_folder() {
    std::string path = os_program_path();
    size_t sep = path.find_last_of("\\/");
    return sep == std::string::npos ? "." : path.substr(0, sep);
}

namespace {
bool has_drive(const std::string& path) {
    return path.size() >= 2 && path[1] == ':' && ((path[0] >= 'A' && path[0] <= 'Z') || (path[0] >= 'a' && path[0] <= 'z'));
}
}  // namespace

bool os_path_is_absolute(const std::string& path) {
    return has_drive(path) || (!path.empty() && (path[0] == '\\' || path[0] == '/'));
}

size_t os_path_name_start(const std::string& path) {
    size_t sep = path.find_last_of("\\/");
    if (sep != std::string::npos) return sep + 1;
    return has_drive(path) ? 2 : 0;
}

bool os_file_exists(const std::string& path) {
    if (path.empty() || path.find('\0') != std::string::npos) return false;
    DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// One name looked up, not the directory listed: FindFirstFile without a
// wildcard asks for that name alone and answers with the stored spelling.
// The ANSI call, like the fopen that opens the file afterwards. A name with
// a wildcard, or with any other character no Windows file name holds,
// matches no file.
bool os_stored_file_name(const std::string& path, std::string& stored) {
    stored.clear();
    size_t name = os_path_name_start(path);
    if (path.size() == name || path.find('\0') != std::string::npos ||
        path.find_first_of("*?<>\"|:", name) != std::string::npos)
        return true;
    WIN32_FIND_DATAA found;
    HANDLE h = FindFirstFileA(path.c_str(), &found);
    if (h == INVALID_HANDLE_VALUE) return true;
    FindClose(h);
    if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) stored = found.cFileName;
    return true;
}

SystemFileStamp system_file_stamp(const std::string& path) {
    SystemFileStamp stamp;
    if (path.empty() || path.find('\0') != std::string::npos) return stamp;
    HANDLE h = CreateFileA(path.c_str(), FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                           nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) return stamp;
    BY_HANDLE_FILE_INFORMATION info;
    bool ok = GetFileInformationByHandle(h, &info) && !(info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY);
    CloseHandle(h);
    if (!ok) return stamp;
    stamp.exists = true;
    stamp.device = info.dwVolumeSerialNumber;
    stamp.file = (uint64_t{info.nFileIndexHigh} << 32) | info.nFileIndexLow;
    stamp.size = static_cast<int64_t>((uint64_t{info.nFileSizeHigh} << 32) | info.nFileSizeLow);
    // FILETIME counts 100 ns steps.
    uint64_t written = (uint64_t{info.ftLastWriteTime.dwHighDateTime} << 32) | info.ftLastWriteTime.dwLowDateTime;
    stamp.modified_ns = static_cast<int64_t>(written * 100u);
    return stamp;
}
