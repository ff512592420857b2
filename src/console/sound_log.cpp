// Writer of the sound log named by FUGA_SOUND_LOG, beside the screen log.
#include "console/sound_log.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "platform/os.h"
#include "util/latin1.h"

namespace {
struct SoundLogState {
    bool opened = false;
    FILE* file = nullptr;
    std::string path;
    int write_error = 0;  // errno of the first write that failed; 0 when none did
    bool exit_check = false;
} g_log;

void open_once() {
    if (g_log.opened) return;
    g_log.opened = true;
    const char* path = std::getenv("FUGA_SOUND_LOG");
    if (!path || !*path) return;
    g_log.path = path;
    g_log.file = std::fopen(path, "wb");
    // Whoever asked for the log reads it after the run: a log that is not
    // there must be reported, not be found missing later.
    if (!g_log.file)
        std::fprintf(stderr, "fuga: the sound log FUGA_SOUND_LOG cannot be created: %s: %s\n", path,
                     std::strerror(errno));
}

// At exit: the file closed, and a log that lost lines said so.
void finish() {
    if (!g_log.file) return;
    if (std::fclose(g_log.file) != 0 && g_log.write_error == 0) g_log.write_error = errno ? errno : EIO;
    g_log.file = nullptr;
    if (g_log.write_error != 0)
        std::fprintf(stderr, "fuga: the sound log FUGA_SOUND_LOG could not be written whole: %s: %s\n",
                     g_log.path.c_str(), std::strerror(g_log.write_error));
}
}  // namespace

void sound_log_open() {
    open_once();
    if (g_log.exit_check) return;
    g_log.exit_check = true;
    os_at_exit(finish);
}

bool sound_log_enabled() {
    open_once();
    return g_log.file != nullptr;
}

void sound_log(const std::string& kind, const std::string& latin1_text) {
    if (!sound_log_enabled()) return;
    std::string line = kind + (latin1_text.empty() ? "" : " " + utf8(latin1_text)) + "\n";
    // Flushed at once: the process may end through any exit path.
    if ((std::fwrite(line.data(), 1, line.size(), g_log.file) != line.size() || std::fflush(g_log.file) != 0) &&
        g_log.write_error == 0)
        g_log.write_error = errno ? errno : EIO;
}

void sound_log_reset() {
    if (g_log.file) std::fclose(g_log.file);
    g_log = SoundLogState{};
}
