// Test helpers for the console: a private settings directory and events.
#pragma once


#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "console/console.h"
#include "console/console_internal.h"
#include "platform/os.h"
#include "system_support.h"

// Points the Windows directory at a fresh temporary directory holding the
// given TALUNE.INI text, and resets the console.
inline void console_test_settings(const std::string& ini) {
    namespace fs = std::filesystem;
    static int counter = 0;
    fs::path dir = fs::temp_directory_path() / ("fuga_console_test_" + std::to_string(::sys_process_id()) + "_" +
                                                std::to_string(counter++));
    fs::create_directories(dir);
    std::ofstream(dir / "TALUNE.INI") << ini;
    sys_set_env("TALUNE_HOME", dir);
    console_reset();
}

inline OsEvent key_event(int vkey, bool shift = false, bool ctrl = false, bool alt = false) {
    OsEvent ev;
    ev.type = OsEventType::KeyDown;
    ev.vkey = vkey;
    ev.shift = shift;
    ev.ctrl = ctrl;
    ev.alt = alt;
    return ev;
}

inline OsEvent char_event(unsigned char ch, bool ctrl = false) {
    OsEvent ev;
    ev.type = OsEventType::Char;
    ev.ch = ch;
    ev.ctrl = ctrl;
    return ev;
}

// Takes every queued key byte without waiting.
inline std::string drain_keys() {
    std::string out;
    while (console_key_waiting()) out += static_cast<char>(console_read_key());
    return out;
}

// A row of the grid as text, trailing blanks removed.
inline std::string row_text(int row) {
    std::string s;
    for (int c = 1; c <= CONSOLE_MAX_COLUMNS; ++c) s += static_cast<char>(console_char_at(c, row));
    while (!s.empty() && s.back() == ' ') s.pop_back();
    return s;
}
