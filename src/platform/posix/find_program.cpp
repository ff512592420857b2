// Looking a program up on PATH, as the shell would, without a shell.
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>

#include "platform/os.h"

namespace {
// A file the system would run: a directory is searchable (x) but no program.
bool runnable(const std::string& path) {
    struct stat st;
    return stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) && access(path.c_str(), X_OK) == 0;
}
}  // namespace

std::string os_find_program(const std::string& name) {
    if (name.empty()) return "";
    if (name.find('/') != std::string::npos) return runnable(name) ? name : "";
    const char* path = std::getenv("PATH");
    std::string dirs = path ? path : "/usr/local/bin:/usr/bin:/bin";
    size_t start = 0;
    while (start <= dirs.size()) {
        size_t end = dirs.find(':', start);
        if (end == std::string::npos) end = dirs.size();
        std::string dir = dirs.substr(start, end - start);
        std::string full = (dir.empty() ? std::string(".") : dir) + "/" + name;
        if (runnable(full)) return full;
        start = end + 1;
    }
    return "";
}
