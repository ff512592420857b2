// The screen log (FUGA_SCREEN_LOG): rows that scrolled off the top, then the
// final screen, written when the program ends.
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "console/console.h"
#include "console/console_internal.h"
#include "console/sound_log.h"
#include "platform/os.h"
#include "util/latin1.h"

namespace {
struct ScreenLogState {
    bool installed = false;
    bool opened = false;
    FILE* file = nullptr;  // created at start, written at exit
    std::vector<std::string> scrolled;  // Latin-1 rows, trailing blanks kept
} g_screen_log;

std::string trim_right(std::string s) {
    while (!s.empty() && s.back() == ' ') s.pop_back();
    return s;
}

const char* log_path() {
    const char* path = std::getenv("FUGA_SCREEN_LOG");
    return path && *path ? path : nullptr;
}

void write_log() {
    const char* path = log_path();
    if (!path) return;
    FILE* f = g_screen_log.file;
    g_screen_log.file = nullptr;
    if (!f && !g_screen_log.opened) f = std::fopen(path, "wb");
    // Its creation failed and was reported at start.
    if (!f) return;
    std::string text = console_screen_log_text();
    bool whole = std::fwrite(text.data(), 1, text.size(), f) == text.size();
    whole = std::fflush(f) == 0 && whole;
    int error = errno;
    if (std::fclose(f) != 0 && whole) {
        whole = false;
        error = errno;
    }
    if (!whole)
        std::fprintf(stderr, "fuga: the screen log FUGA_SCREEN_LOG could not be written whole: %s: %s\n", path,
                     std::strerror(error ? error : EIO));
}
}  // namespace

void console_open_logs() {
    sound_log_open();
    const char* path = log_path();
    if (!path || g_screen_log.opened) return;
    g_screen_log.opened = true;
    // Created now, so that a log that cannot be made is said at the start
    // rather than found missing after the game.
    g_screen_log.file = std::fopen(path, "wb");
    if (!g_screen_log.file)
        std::fprintf(stderr, "fuga: the screen log FUGA_SCREEN_LOG cannot be created: %s: %s\n", path,
                     std::strerror(errno));
}

void console_screen_log_reset() { g_screen_log.scrolled.clear(); }

void console_screen_log_install() {
    if (g_screen_log.installed) return;
    g_screen_log.installed = true;
    os_at_exit(write_log);
}

void console_screen_log_scrolled(const unsigned char* row, int count) {
    // Only kept when someone will read it; a long session must not grow memory.
    if (!log_path()) return;
    g_screen_log.scrolled.emplace_back(reinterpret_cast<const char*>(row), static_cast<size_t>(count));
}

std::string console_screen_log_text() {
    std::vector<std::string> rows;
    for (const auto& r : g_screen_log.scrolled) rows.push_back(trim_right(r));
    // The planes outlive the closing of the screen, so the last screen is
    // still there when the log is written at exit.
    for (int r = 1; r <= CONSOLE_MAX_ROWS; ++r) {
        std::string line;
        for (int c = 1; c <= CONSOLE_MAX_COLUMNS; ++c) line += static_cast<char>(console_char_at(c, r));
        rows.push_back(trim_right(line));
    }
    while (!rows.empty() && rows.back().empty()) rows.pop_back();
    std::string out;
    for (const auto& r : rows) out += utf8(r) + "\n";
    return out;
}
