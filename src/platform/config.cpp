// The shared configuration file TALUNE.INI: which copy is read, the copy
// held in memory between lookups, and the "@" expansion of the speech
// system's program directory.
#include "platform/config.h"

#include <algorithm>

#include "platform/os.h"
#include "platform/profile.h"
#include "platform/system.h"
#include "util/bounded_file.h"

namespace {

constexpr size_t CONFIG_MAX_VALUE = 256;  // 255 characters and the terminator
// A settings file is a few kilobytes; only this much of a larger one (or of
// a link to an endless device) is read.
constexpr size_t CONFIG_MAX_FILE_BYTES = 1024 * 1024;
const char* const CONFIG_FILE = "TALUNE.INI";

struct ConfigState {
    bool startup_known = false;
    std::string startup_directory;
    bool loaded = false;
    std::string path;  // of the copy in `index`
    SystemFileStamp stamp;
    ProfileIndex index;
    bool too_large = false;  // the copy in `index` went past the bound
    int loads = 0;
};

ConfigState state;

// A copy that is there but no regular file (a link to a device) still counts
// as the user's file: it is read up to the bound and reported, not passed
// over as missing. A pipe is passed over: reading it would wait for a writer.
bool present(const std::string& path) { return os_file_exists(path) || system_file_stamp(path).device_file; }

// The copy in the Windows directory wins (on Linux, the player's, else the
// machine's shared one); the start-up directory's copy is the fallback for an
// installation that keeps everything together.
std::string config_file() {
    std::string home = system_settings_file(CONFIG_FILE);
    if (present(home)) return home;
    return config_startup_directory() + "/" + CONFIG_FILE;
}

// A longer file counts up to the limit, where reading stops.
std::string read_bounded(const std::string& path, bool& too_large) {
    std::string text;
    too_large = read_bounded_file(path, text, CONFIG_MAX_FILE_BYTES) == BoundedRead::TooLong;
    return text;
}

// The index of the copy that applies now, read again only when the copy
// changed since it was read.
const ProfileIndex& current_index() {
    std::string path = config_file();
    SystemFileStamp stamp = system_file_stamp(path);
    if (!state.loaded || path != state.path || !(stamp == state.stamp)) {
        state.index.clear();
        state.too_large = false;
        if (stamp.exists) profile_build_index(read_bounded(path, state.too_large), state.index);
        state.path = path;
        state.stamp = stamp;
        state.loaded = true;
        ++state.loads;
    }
    return state.index;
}

// The value as a lookup into a 256-byte buffer gives it.
std::string lookup(const std::string& section, const std::string& key) {
    std::string value;
    if (!profile_index_lookup(current_index(), section, key, value)) return "";
    if (value.size() > CONFIG_MAX_VALUE - 1) value.resize(CONFIG_MAX_VALUE - 1);
    return value;
}

std::string program_directory() {
    std::string dir = lookup("TALUNE", "PGMTALUNE");
    if (dir.empty() || dir[0] == '@') return config_startup_directory();
    return dir;
}

// Replaces a leading "@" and every "@/" (or the Windows form "@\") by the
// program directory. Only the "@" signs of the stored value are expanded, never
// ones that arrive inside the program directory itself, so a directory such as
// "/x@/y" cannot make the expansion run forever. In the "@\" form the
// backslash becomes "/" so that the joint is a usable path; the rest of the
// value is kept as written.
std::string expand(const std::string& value) {
    if (value.empty()) return value;
    bool leading = value[0] == '@';
    if (!leading && value.find("@/") == std::string::npos && value.find("@\\") == std::string::npos) return value;
    const std::string dir = program_directory();
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

std::string config_file_path() {
    std::string file = config_file();
    return file == CONFIG_FILE ? os_windows_directory() + "/" + CONFIG_FILE : file;
}

void config_reset() { state = ConfigState{}; }

std::string config_read_setting(const std::string& section, const std::string& key) {
    return expand(lookup(section.empty() ? "TALUNE" : section, key));
}

int config_file_loads() { return state.loads; }

bool config_file_too_large() {
    current_index();
    return state.too_large;
}
