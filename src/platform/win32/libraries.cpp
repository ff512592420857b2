// Libraries loaded at run time, temporary files and the search for programs
// on Windows.
#include <windows.h>

#include <cstdio>
#include <cstdlib>

#include "platform/os.h"
#include "platform/win32/program_folder.h"

namespace {
// How many names a temporary file is tried under before giving up.
constexpr int WIN32_MAX_TEMP_TRIES = 100;

bool is_program_file(const std::string& path) {
    DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// The name as given when it has an extension, else with ".exe" and ".com".
std::string with_program_extension(const std::string& path) {
    size_t name = path.find_last_of("\\/:");
    name = name == std::string::npos ? 0 : name + 1;
    if (path.find('.', name) != std::string::npos) return is_program_file(path) ? path : "";
    for (const char* extension : {".exe", ".com"})
        if (is_program_file(path + extension)) return path + extension;
    return "";
}
}  // namespace

void* os_library_open(const std::string& path) {
    if (path.empty() || path.find('\0') != std::string::npos) return nullptr;
    // No "cannot find the library" dialog for a missing or broken file.
    UINT old_mode = SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
    HMODULE module = LoadLibraryA(path.c_str());
    SetErrorMode(old_mode);
    return reinterpret_cast<void*>(module);
}

void* os_library_symbol(void* library, const char* name) {
    if (!library || !name) return nullptr;
    return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(library), name));
}

void os_library_close(void* library) {
    if (library) FreeLibrary(static_cast<HMODULE>(library));
}

std::string os_make_temp_file(const std::string& suffix) {
    char dir[MAX_PATH];
    DWORD length = GetTempPathA(MAX_PATH, dir);
    if (length == 0 || length >= MAX_PATH) return "";
    for (int attempt = 0; attempt < WIN32_MAX_TEMP_TRIES; ++attempt) {
        char name[64];
        std::snprintf(name, sizeof name, "fuga-%lx-%llx", GetCurrentProcessId(),
                      static_cast<unsigned long long>(GetTickCount64()) * 131u + unsigned(attempt) * 7919u +
                          static_cast<unsigned>(std::rand()));
        std::string path = std::string(dir) + name + suffix;
        HANDLE h = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (h != INVALID_HANDLE_VALUE) {
            CloseHandle(h);
            return path;
        }
        if (GetLastError() != ERROR_FILE_EXISTS && GetLastError() != ERROR_ALREADY_EXISTS) return "";
    }
    return "";
}

void os_remove_file(const std::string& path) {
    if (!path.empty()) DeleteFileA(path.c_str());
}

// As CreateProcess looks for a program given by name: the program's own
// folder first (a program shipped beside fuga.exe), then PATH.
std::string os_find_program(const std::string& name) {
    if (name.empty() || name.find('\0') != std::string::npos) return "";
    if (name.find_first_of("\\/:") != std::string::npos) return with_program_extension(name);
    std::string found = with_program_extension(win32_program_folder() + "\\" + name);
    if (!found.empty()) return found;
    const char* path = std::getenv("PATH");
    std::string dirs = path ? path : "";
    size_t start = 0;
    while (start < dirs.size()) {
        size_t end = dirs.find(';', start);
        if (end == std::string::npos) end = dirs.size();
        std::string dir = dirs.substr(start, end - start);
        if (dir.size() >= 2 && dir.front() == '"' && dir.back() == '"') dir = dir.substr(1, dir.size() - 2);
        if (!dir.empty()) {
            found = with_program_extension(dir + "\\" + name);
            if (!found.empty()) return found;
        }
        start = end + 1;
    }
    return "";
}
