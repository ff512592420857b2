// The real clocks, the calendar conversion, the block-done post and the
// process-local clipboard shared by the backends.
#include <time.h>

#include <mutex>

#include "platform/backend.h"

OsTime os_time_from_tm(const struct tm& tm, long nsec) {
    OsTime t{};
    t.year = tm.tm_year + 1900;
    t.month = tm.tm_mon + 1;
    t.day = tm.tm_mday;
    t.weekday = tm.tm_wday;
    t.hour = tm.tm_hour;
    t.minute = tm.tm_min;
    t.second = tm.tm_sec;
    t.millisecond = static_cast<int>(nsec / 1000000);
    return t;
}

namespace {

struct LocalClipboard {
    std::mutex lock;
    bool has_text = false;
    std::string text;
} g_clipboard;
}  // namespace

namespace {
// The wall clock's instant in the calendar of `to_calendar` (localtime_r, gmtime_r).
OsTime real_time(struct tm* (*to_calendar)(const time_t*, struct tm*)) {
    struct timespec ts;
    clock_gettime(CLOCK_REALTIME, &ts);
    struct tm tm;
    to_calendar(&ts.tv_sec, &tm);
    return os_time_from_tm(tm, ts.tv_nsec);
}
}  // namespace

OsTime real_local_time() { return real_time(localtime_r); }

OsTime real_utc_time() { return real_time(gmtime_r); }

uint64_t real_ticks_ms() {
    struct timespec ts;
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return static_cast<uint64_t>(ts.tv_sec) * 1000u + static_cast<uint64_t>(ts.tv_nsec / 1000000);
}

void real_sleep_ms(int ms) {
    if (ms <= 0) return;
    struct timespec ts{ms / 1000, (ms % 1000) * 1000000L};
    while (nanosleep(&ts, &ts) != 0) {
    }
}

void os_post_wave_done(int buffer_number) {
    OsEvent ev;
    ev.type = OsEventType::WaveDone;
    ev.param = buffer_number;
    os_post_event(ev);
}

void local_clipboard_set(const std::string& text) {
    std::lock_guard<std::mutex> g(g_clipboard.lock);
    g_clipboard.has_text = true;
    g_clipboard.text = text;
}

bool local_clipboard_get(std::string& text) {
    std::lock_guard<std::mutex> g(g_clipboard.lock);
    if (!g_clipboard.has_text) return false;
    text = g_clipboard.text;
    return true;
}
