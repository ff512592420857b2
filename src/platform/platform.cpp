// Backend choice and the routing of every os_ call to the chosen backend.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <vector>

#include "platform/backend.h"
#include "platform/system.h"

namespace {
constexpr uint64_t PLATFORM_AUDIO_RETRY_MS = 1000;

struct PlatformState {
    const OsBackend* backend = nullptr;
    const OsAudioDevice* audio = nullptr;
    void (*audio_announce)() = nullptr;
    bool announced = false;
    // The device that failed while the null device stands in, and when it
    // was last tried.
    const OsAudioDevice* lost_audio = nullptr;
    uint64_t lost_audio_tried_ms = 0;
    std::vector<void (*)()> exit_hooks;
    bool exiting = false;
    bool returning = false;
    int key_room = 1 << 30;
    int keys_unread = 0;
} g_platform;

const OsBackend* choose_backend() {
    const char* forced = std::getenv("FUGA_BACKEND");
    if (forced && *forced) {
        if (!std::strcmp(forced, "headless")) {
            if (headless_backend()->start()) return headless_backend();
        } else if (const OsBackend* named = system_backend_named(forced); named && named->start()) {
            return named;
        }
        // A forced backend that cannot run falls through to the usual choice.
    }
    if (const OsBackend* chosen = system_default_backend()) return chosen;
    headless_backend()->start();
    return headless_backend();
}

// Logs written, sound closed and the backend shut down, once, whichever way
// the program ends.
void finish_program() {
    if (g_platform.exiting) return;
    g_platform.exiting = true;
    for (auto fn : g_platform.exit_hooks) fn();
    if (g_platform.audio) g_platform.audio->close();
    if (g_platform.backend) g_platform.backend->shutdown();
}

// A program that returns from main (or calls exit) ends the same way as
// through os_exit. Registered after the backend started, so that it runs
// before the backend's own last-resort restoration.
void finish_at_return() {
    g_platform.returning = true;
    finish_program();
}

const OsBackend* backend() {
    if (!g_platform.backend) {
        system_start();
        g_platform.backend = choose_backend();
        std::atexit(finish_at_return);
    }
    return g_platform.backend;
}

const OsAudioDevice* audio() {
    if (!g_platform.audio) {
        backend();
        if (g_platform.backend == headless_backend()) g_platform.audio = headless_audio_device();
        else g_platform.audio = system_audio_device();
    }
    return g_platform.audio;
}
}  // namespace

void os_start() { backend(); }
const char* os_backend_name() { return backend()->name; }

void os_at_exit(void (*fn)()) { g_platform.exit_hooks.push_back(fn); }

bool os_ending_by_return() { return g_platform.returning; }

void os_exit(int code) {
    finish_program();
    // Only the streams the program writes to: flushing every stream would
    // wait for the lock of one that a library's thread holds while it blocks
    // reading a socket (libspeechd's reply reader), and the exit would hang.
    // The logs flush and close their own files.
    std::fflush(stdout);
    std::fflush(stderr);
    std::_Exit(code);
}

bool os_wait_event(OsEvent& ev, int timeout_ms, bool reading_key) {
    return backend()->wait_event(ev, timeout_ms, reading_key);
}
bool os_poll_event(OsEvent& ev) { return backend()->poll_event(ev); }
void os_post_event(const OsEvent& ev) { backend()->post_event(ev); }
void os_set_key_room(int bytes) { g_platform.key_room = bytes; }
void os_discard_held_keys() {
    if (g_platform.backend && g_platform.backend->discard_held_keys) g_platform.backend->discard_held_keys();
}
int os_key_room() { return g_platform.key_room; }
void os_set_keys_unread(int bytes) { g_platform.keys_unread = bytes; }
int os_keys_unread() { return g_platform.keys_unread; }

OsTime os_local_time() { return backend()->local_time(); }
OsTime os_utc_time() { return backend()->utc_time(); }
uint64_t os_ticks_ms() { return backend()->ticks_ms(); }
void os_sleep_ms(int ms) { backend()->sleep_ms(ms); }

void os_clipboard_set(const std::string& text) { backend()->clipboard_set(text); }
bool os_clipboard_get(std::string& text) { return backend()->clipboard_get(text); }

bool os_message_box(const std::string& title, const std::string& text) {
    const OsBackend* b = backend();
    return b->message_box && b->message_box(title, text);
}

void os_screen_open(const OsScreenConfig& cfg) { backend()->screen_open(cfg); }
void os_screen_draw(int col, int row, const unsigned char* chars, int count, OsRgb fg, OsRgb bg) {
    backend()->screen_draw(col, row, chars, count, fg, bg);
}
void os_screen_caret(bool visible, int col, int row) { backend()->screen_caret(visible, col, row); }
bool os_screen_scrolled(OsRgb bg) { return backend()->screen_scrolled(bg); }
void os_screen_title(const std::string& title) { backend()->screen_title(title); }
void os_beep() { backend()->beep(); }
bool os_screen_focused() { return backend()->screen_focused(); }
void os_screen_close() { backend()->screen_close(); }

OsAudioOpen os_audio_open(const OsAudioFormat& fmt) {
    audio();
    // Standing in for a card that failed: the card is tried again at a sound,
    // at most once a second (an open that fails can take a while), so that
    // sound comes back when its server does.
    if (g_platform.audio == null_audio_device() && g_platform.lost_audio) {
        uint64_t now = os_ticks_ms();
        if (now - g_platform.lost_audio_tried_ms >= PLATFORM_AUDIO_RETRY_MS) {
            g_platform.lost_audio_tried_ms = now;
            g_platform.audio->close();
            OsAudioOpen again = g_platform.lost_audio->open(fmt);
            if (again != OsAudioOpen::NoDevice) {
                g_platform.audio = g_platform.lost_audio;
                g_platform.lost_audio = nullptr;
                // A later loss is news again.
                g_platform.announced = false;
                return again;
            }
        }
    }
    OsAudioOpen r = audio()->open(fmt);
    if (r == OsAudioOpen::NoDevice && g_platform.audio != null_audio_device()) {
        g_platform.lost_audio = g_platform.audio;
        g_platform.lost_audio_tried_ms = os_ticks_ms();
        g_platform.audio = null_audio_device();
        r = g_platform.audio->open(fmt);
        if (!g_platform.announced && g_platform.audio_announce) {
            g_platform.announced = true;
            g_platform.audio_announce();
        }
    }
    return r;
}
bool os_audio_write(int buffer_number, const uint8_t* data, size_t bytes) {
    return audio()->write(buffer_number, data, bytes);
}
void os_audio_reset() { audio()->reset(); }
void os_audio_close() { audio()->close(); }
void os_audio_play_tone(const OsAudioFormat& fmt, const uint8_t* samples, size_t bytes) {
    audio()->play_tone(fmt, samples, bytes);
}
void os_set_audio_announce(void (*announce)()) { g_platform.audio_announce = announce; }
void os_set_audio_device_for_tests(const OsAudioDevice* device) {
    if (g_platform.audio && g_platform.audio != device) g_platform.audio->close();
    g_platform.audio = device;
    g_platform.lost_audio = nullptr;
    g_platform.announced = false;
}
