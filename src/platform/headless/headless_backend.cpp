// Placeholder until the headless backend lands: reports that it cannot start.
#include "platform/backend.h"

namespace {
bool start() { return false; }
void shutdown() {}
bool wait_event(OsEvent&, int, bool) { return false; }
bool poll_event(OsEvent&) { return false; }
void post_event(const OsEvent&) {}
void screen_open(const OsScreenConfig&) {}
void screen_draw(int, int, const unsigned char*, int, OsRgb, OsRgb) {}
void screen_caret(bool, int, int) {}
bool screen_scrolled(OsRgb) { return false; }
void screen_title(const std::string&) {}
void beep() {}
bool screen_focused() { return true; }
void screen_close() {}
const OsBackend backend = {"headless", start, shutdown, wait_event, poll_event, post_event,
    real_ticks_ms, real_sleep_ms, real_local_time, real_utc_time, screen_open, screen_draw,
    screen_caret, screen_scrolled, screen_title, beep, screen_focused, screen_close,
    local_clipboard_set, local_clipboard_get};
}  // namespace

const OsBackend* headless_backend() { return &backend; }
