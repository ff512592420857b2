// Which copy of a settings file (TALUNE.INI, registry.ini) applies on Linux:
// the player's own, else the one every user of the machine shares.
#include <sys/stat.h>

#include <cstdlib>

#include "platform/os.h"
#include "platform/system.h"

#ifndef FUGA_SYSTEM_SETTINGS_DIR
#define FUGA_SYSTEM_SETTINGS_DIR "/etc/talune"
#endif

namespace {
// A link to a device still counts as the file (reading it is bounded); a
// directory or a pipe of that name does not.
bool present(const std::string& path) {
    struct stat st;
    if (stat(path.c_str(), &st) != 0) return false;
    return S_ISREG(st.st_mode) || S_ISCHR(st.st_mode) || S_ISBLK(st.st_mode);
}

// The package installs its defaults there as configuration files, so that an
// upgrade keeps what the machine's owner changed. TALUNE_SYSTEM_HOME names
// another such directory (tests, an installation under another prefix).
std::string shared_directory() {
    const char* named = std::getenv("TALUNE_SYSTEM_HOME");
    std::string dir = named && *named ? named : FUGA_SYSTEM_SETTINGS_DIR;
    while (dir.size() > 1 && dir.back() == '/') dir.pop_back();
    return dir;
}
}  // namespace

std::string system_settings_file(const std::string& name) {
    std::string own = os_windows_directory() + "/" + name;
    if (present(own)) return own;
    std::string shared = shared_directory() + "/" + name;
    return present(shared) ? shared : own;
}
