// The shared configuration file TALUNE.INI: which copy is read, and the "@"
// expansion of the speech system's program directory.
#include "platform/config.h"

#include "platform/os.h"
#include "platform/profile.h"

namespace {

constexpr size_t CONFIG_MAX_VALUE = 256;  // 255 characters and the terminator
const char* const CONFIG_FILE = "TALUNE.INI";

struct ConfigState {
    bool startup_known = false;
    std::string startup_directory;
};

ConfigState state;

// The copy in the Windows directory wins; the start-up directory's copy is
// the fallback for an installation that keeps everything together.
std::string config_file() {
    if (os_file_exists(os_windows_directory() + "/" + CONFIG_FILE)) return CONFIG_FILE;
    return config_startup_directory() + "/" + CONFIG_FILE;
}

std::string program_directory(const std::string& file) {
    std::string dir = profile_read_string("TALUNE", "PGMTALUNE", "", file, CONFIG_MAX_VALUE);
    if (dir.empty() || dir[0] == '@') return config_startup_directory();
    return dir;
}

// Replaces a leading "@" and every "@/" (or the Windows form "@\") by the
// program directory. Only the "@" signs of the stored value are expanded, never
// ones that arrive inside the program directory itself, so a directory such as
// "/x@/y" cannot make the expansion run forever. In the "@\" form the
// backslash becomes "/" so that the joint is a usable path; the rest of the
// value is kept as written.
std::string expand(const std::string& value, const std::string& file) {
    if (value.empty()) return value;
    bool leading = value[0] == '@';
    if (!leading && value.find("@/") == std::string::npos && value.find("@\\") == std::string::npos) return value;
    const std::string dir = program_directory(file);
    std::string out;
    size_t i = 0;
    if (leading) {
        out = dir;
        i = 1;
        if (value.size() > 1 && value[1] == '\\') {
            out += '/';
            i = 2;
        }
    }
    while (i < value.size()) {
        if (value[i] == '@' && i + 1 < value.size() && (value[i + 1] == '/' || value[i + 1] == '\\')) {
            out += dir;
            out += '/';
            i += 2;
        } else {
            out += value[i++];
        }
    }
    return out;
}

}  // namespace

std::string config_startup_directory() {
    if (!state.startup_known) {
        state.startup_directory = os_current_directory();
        while (state.startup_directory.size() > 1 && state.startup_directory.back() == '/')
            state.startup_directory.pop_back();
        state.startup_known = true;
    }
    return state.startup_directory;
}

void config_reset() { state = ConfigState{}; }

std::string config_read_setting(const std::string& section, const std::string& key) {
    const std::string file = config_file();
    const std::string value =
        profile_read_string(section.empty() ? "TALUNE" : section, key, "", file, CONFIG_MAX_VALUE);
    return expand(value, file);
}
