// Temporary files: created empty under $TMPDIR (or /tmp) with a name of
// their own, removed by the caller.
#include <unistd.h>

#include <cstdlib>
#include <vector>

#include "platform/os.h"

std::string os_make_temp_file(const std::string& suffix) {
    const char* dir = std::getenv("TMPDIR");
    std::string name = std::string(dir && *dir ? dir : "/tmp") + "/fuga-XXXXXX" + suffix;
    std::vector<char> buf(name.begin(), name.end());
    buf.push_back('\0');
    int fd = mkstemps(buf.data(), int(suffix.size()));
    if (fd < 0) return "";
    close(fd);
    return std::string(buf.data());
}

void os_remove_file(const std::string& path) { unlink(path.c_str()); }
