// Writer of the sound log named by FUGA_SOUND_LOG, beside the screen log.
#include "console/sound_log.h"

#include <cstdio>
#include <cstdlib>

#include "util/latin1.h"

namespace {
struct SoundLogState {
    bool opened = false;
    FILE* file = nullptr;
} g_log;

void open_once() {
    if (g_log.opened) return;
    g_log.opened = true;
    const char* path = std::getenv("FUGA_SOUND_LOG");
    if (path && *path) g_log.file = std::fopen(path, "w");
}
}  // namespace

bool sound_log_enabled() {
    open_once();
    return g_log.file != nullptr;
}

void sound_log(const std::string& kind, const std::string& latin1_text) {
    if (!sound_log_enabled()) return;
    std::string line = kind + (latin1_text.empty() ? "" : " " + utf8(latin1_text)) + "\n";
    std::fwrite(line.data(), 1, line.size(), g_log.file);
    // Flushed at once: the process may end through any exit path.
    std::fflush(g_log.file);
}

void sound_log_reset() {
    if (g_log.file) std::fclose(g_log.file);
    g_log = SoundLogState{};
}
