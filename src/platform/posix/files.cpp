// Directories and files: the stand-in for the Windows directory, the current
// directory, the program's own path and what identifies a file's version.
#include <sys/stat.h>
#include <unistd.h>

#include <climits>
#include <cstdlib>

#include "platform/os.h"
#include "platform/system.h"

std::string os_windows_directory() {
    const char* home = std::getenv("TALUNE_HOME");
    std::string dir;
    if (home && *home) {
        dir = home;
    } else {
        const char* xdg = std::getenv("XDG_CONFIG_HOME");
        if (xdg && *xdg) {
            dir = std::string(xdg) + "/talune";
        } else {
            const char* h = std::getenv("HOME");
            dir = std::string(h ? h : "") + "/.config/talune";
        }
    }
    while (dir.size() > 1 && dir.back() == '/') dir.pop_back();
    return dir;
}

std::string os_current_directory() {
    char buf[PATH_MAX];
    if (!getcwd(buf, sizeof buf)) return ".";
    std::string dir = buf;
    while (dir.size() > 1 && dir.back() == '/') dir.pop_back();
    return dir;
}

std::string os_program_path() {
    char buf[PATH_MAX];
    ssize_t n = readlink("/proc/self/exe", buf, sizeof buf - 1);
    if (n <= 0) return "fuga";
    return std::string(buf, static_cast<size_t>(n));
}

bool os_path_is_absolute(const std::string& path) { return !path.empty() && path[0] == '/'; }

size_t os_path_name_start(const std::string& path) {
    size_t sep = path.rfind('/');
    return sep == std::string::npos ? 0 : sep + 1;
}

bool os_file_exists(const std::string& path) {
    struct stat st;
    return stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

// Names keep their case here: file_lookup lists the directory itself.
bool os_stored_file_name(const std::string&, std::string& stored) {
    stored.clear();
    return false;
}

SystemFileStamp system_file_stamp(const std::string& path) {
    SystemFileStamp s;
    struct stat st;
    if (stat(path.c_str(), &st) != 0) return s;
    s.exists = true;
    s.device = static_cast<uint64_t>(st.st_dev);
    s.file = static_cast<uint64_t>(st.st_ino);
    s.size = static_cast<int64_t>(st.st_size);
    s.modified_ns = static_cast<int64_t>(st.st_mtim.tv_sec) * 1000000000LL + st.st_mtim.tv_nsec;
    s.device_file = S_ISCHR(st.st_mode) || S_ISBLK(st.st_mode);
    return s;
}
