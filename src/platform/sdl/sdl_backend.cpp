// The window backend: start and shutdown of SDL video, the event queue (SDL
// events translated for the console, events posted from other threads) and
// the screen calls routed to the window, drawing, keys and clipboard files.
#include <SDL2/SDL.h>

#include <atomic>
#include <cmath>
#include <cstdio>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <thread>

#include "platform/backend.h"
#include "platform/system.h"
#include "platform/event_ring.h"
#include "platform/held_keys.h"
#include "platform/sdl/sdl_clipboard.h"
#include "platform/sdl/sdl_draw.h"
#include "platform/sdl/sdl_keys.h"
#include "platform/sdl/sdl_magnifier.h"
#include "platform/sdl/sdl_session_bus.h"
#include "platform/sdl/sdl_window.h"

namespace {
constexpr int SDL_MAX_POSTED = 1024;
constexpr int SDL_MAX_PENDING = 2 * SDL_KEYS_MAX_OUT;
// Key messages kept while the console has no room (a typed character is a
// press, its text and a release); beyond them keyboard events stay in SDL's
// own queue.
constexpr int SDL_MAX_HELD = 4096;
// How often SDL's queue is looked at while keyboard events stay in it (they
// would end every wait at once).
constexpr int SDL_HELD_POLL_MS = 10;
// Pixel scrolling only pays while the whole window is on the screen.
constexpr int SDL_SCROLL_MARGIN = 32;
constexpr int SDL_BEEP_RATE = 11025;
constexpr int SDL_BEEP_SAMPLES = SDL_BEEP_RATE / 8;

// Events from other threads wait here; each one also pushes a wake event so
// that a blocked SDL_WaitEvent returns.
struct PostedQueue {
    std::mutex lock;
    EventRing<SDL_MAX_POSTED> events;
    // SDL wakes a blocked wait by sending an X event to the window; sent to a
    // window that is being destroyed, the display refuses it and Xlib ends
    // the program. So a wake is pushed, and the window destroyed, under this
    // lock, never both at once.
};

struct SdlState {
    // Read by threads that post events.
    std::atomic<bool> started{false};
    std::atomic<Uint32> wake_type{0};
    bool focused = false;
    bool close_requested = false;
    bool linger_installed = false;
    // Messages translated from one SDL event and not yet handed out: the
    // key messages wait for the console's room, the others go out at once.
    EventRing<SDL_MAX_PENDING> pending;
    HeldKeys<SDL_MAX_HELD> held;
    uint8_t beep[SDL_BEEP_SAMPLES] = {};
    bool beep_made = false;
} g_sdl;

PostedQueue g_posted;

void push_pending(const OsEvent& ev) {
    if (is_key_message(ev)) g_sdl.held.hold(ev);
    else g_sdl.pending.push_back(ev);
}

bool pop_pending(OsEvent& ev) { return g_sdl.pending.pop(ev); }

bool pop_posted(OsEvent& ev) {
    std::lock_guard<std::mutex> hold(g_posted.lock);
    return g_posted.events.pop(ev);
}

// The text of the text event right after a key press, if that is next.
bool peek_text(char* text, size_t size) {
    SDL_Event next;
    if (SDL_PeepEvents(&next, 1, SDL_PEEKEVENT, SDL_FIRSTEVENT, SDL_LASTEVENT) != 1 || next.type != SDL_TEXTINPUT)
        return false;
    SDL_strlcpy(text, next.text.text, size);
    return true;
}

void simple(OsEventType type) {
    OsEvent ev;
    ev.type = type;
    push_pending(ev);
}

void window_event(const SDL_WindowEvent& w) {
    if (w.windowID != sdl_window_id()) return;
    switch (w.event) {
        case SDL_WINDOWEVENT_EXPOSED:
        case SDL_WINDOWEVENT_SIZE_CHANGED:
        case SDL_WINDOWEVENT_RESTORED:
        case SDL_WINDOWEVENT_MAXIMIZED: sdl_window_refresh(); break;
        case SDL_WINDOWEVENT_FOCUS_GAINED:
            g_sdl.focused = true;
            simple(OsEventType::FocusIn);
            break;
        case SDL_WINDOWEVENT_FOCUS_LOST:
            g_sdl.focused = false;
            if (sdl_magnifier_active()) {
                sdl_magnifier_stop();
                sdl_window_refresh();
            }
            simple(OsEventType::FocusOut);
            break;
        case SDL_WINDOWEVENT_CLOSE:
            g_sdl.close_requested = true;
            simple(OsEventType::Close);
            break;
        default: break;
    }
}

// Turns one SDL event into zero or more pending messages; handles what only
// concerns the pixels (magnifier, uncovering) on the spot.
void translate(const SDL_Event& e) {
    switch (e.type) {
        case SDL_KEYDOWN:
        case SDL_KEYUP:
        case SDL_TEXTINPUT: {
            OsEvent out[SDL_KEYS_MAX_OUT];
            char next_text[SDL_TEXTINPUTEVENT_TEXT_SIZE];
            bool has_text = e.type == SDL_KEYDOWN && peek_text(next_text, sizeof next_text);
            int n = sdl_keys_translate(e, has_text ? next_text : nullptr, out, SDL_KEYS_MAX_OUT);
            for (int i = 0; i < n; ++i) {
                if (out[i].type == OsEventType::Close) g_sdl.close_requested = true;
                push_pending(out[i]);
            }
            break;
        }
        case SDL_MOUSEBUTTONDOWN:
            if (e.button.button == SDL_BUTTON_RIGHT && !sdl_magnifier_active() && sdl_window_is_open()) {
                sdl_magnifier_start(e.button.x, e.button.y, sdl_window_magnifier());
                sdl_window_refresh();
            }
            break;
        case SDL_MOUSEMOTION:
            if (sdl_magnifier_active()) {
                sdl_magnifier_move(e.motion.x, e.motion.y);
                sdl_window_refresh();
            }
            break;
        case SDL_MOUSEBUTTONUP:
            if (e.button.button == SDL_BUTTON_RIGHT && sdl_magnifier_active()) {
                sdl_magnifier_stop();
                sdl_window_refresh();
            }
            break;
        case SDL_WINDOWEVENT: window_event(e.window); break;
        case SDL_QUIT:
            // Closing the last window also sends a quit; only a quit of its
            // own (a signal) ends the program at once.
            if (!g_sdl.close_requested) simple(OsEventType::Quit);
            break;
        default: break;
    }
}

bool take_ready(OsEvent& ev) { return pop_pending(ev) || g_sdl.held.take(ev) || pop_posted(ev); }

// Whether the messages of one more keyboard event fit among the held keys.
bool held_has_room() { return g_sdl.held.size() <= SDL_MAX_HELD - SDL_KEYS_MAX_OUT; }

// Takes the next SDL event there is, but none of the keyboard's while the
// held keys have no room for it.
bool take_sdl_event(SDL_Event& e) {
    if (held_has_room()) return SDL_PollEvent(&e) == 1;
    SDL_PumpEvents();
    return SDL_PeepEvents(&e, 1, SDL_GETEVENT, SDL_FIRSTEVENT, SDL_KEYDOWN - 1) == 1 ||
           SDL_PeepEvents(&e, 1, SDL_GETEVENT, SDL_MOUSEMOTION, SDL_LASTEVENT) == 1;
}

// The same, waiting up to wait_ms (negative: no limit) for one.
bool wait_sdl_event(SDL_Event& e, int wait_ms) {
    if (held_has_room()) {
        if (wait_ms < 0) return SDL_WaitEvent(&e) == 1;
        return wait_ms > 0 ? SDL_WaitEventTimeout(&e, wait_ms) == 1 : SDL_PollEvent(&e) == 1;
    }
    if (take_sdl_event(e)) return true;
    if (wait_ms == 0) return false;
    SDL_Delay(wait_ms < 0 || wait_ms > SDL_HELD_POLL_MS ? SDL_HELD_POLL_MS : static_cast<Uint32>(wait_ms));
    return take_sdl_event(e);
}

bool start() {
    if (g_sdl.started) return true;
    SDL_SetHint(SDL_HINT_VIDEO_ALLOW_SCREENSAVER, "1");
    // The window's image is drawn in memory and copied as it is: a texture
    // for it would load the OpenGL stack first, a tenth of a second or more
    // of silence at every start.
    SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
    // fontconfig reads its configuration and caches while SDL connects to
    // the display: both come before the first sound.
    bool font_found = false;
    sdl_session_bus_hide_begin();
    std::thread fonts([&font_found] { font_found = sdl_font_available(); });
    bool video = SDL_InitSubSystem(SDL_INIT_VIDEO) == 0;
    fonts.join();
    sdl_session_bus_hide_end();
    if (!video) return false;
    if (!font_found) {
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
        return false;
    }
    Uint32 wake = SDL_RegisterEvents(1);
    if (wake == static_cast<Uint32>(-1)) {
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
        return false;
    }
    g_sdl.wake_type = wake;
    g_sdl.started = true;
    sdl_keys_reset();
    return true;
}

// Closes the window so that no other thread's wake is sent to it after.
void close_window() {
    std::lock_guard<std::mutex> hold(g_posted.lock);
    sdl_window_close();
}

void shutdown() {
    if (!g_sdl.started) return;
    close_window();
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
    g_sdl.started = false;
}

bool wait_event(OsEvent& ev, int timeout_ms, bool) {
    if (!g_sdl.started) return false;
    uint64_t deadline = timeout_ms >= 0 ? SDL_GetTicks64() + static_cast<uint64_t>(timeout_ms) : 0;
    for (;;) {
        if (take_ready(ev)) return true;
        sdl_window_present();
        int remaining = -1;
        if (timeout_ms >= 0) {
            uint64_t now = SDL_GetTicks64();
            remaining = now >= deadline ? 0 : static_cast<int>(deadline - now);
        }
        SDL_Event e;
        if (wait_sdl_event(e, remaining)) translate(e);
        else if (remaining == 0) return take_ready(ev);
        else if (timeout_ms < 0 && held_has_room()) SDL_Delay(10);  // SDL could not wait: do not spin
    }
}

bool poll_event(OsEvent& ev) {
    if (!g_sdl.started) return false;
    SDL_Event e;
    while (!take_ready(ev)) {
        if (!take_sdl_event(e)) {
            sdl_window_present_when_due();
            return take_ready(ev);
        }
        translate(e);
    }
    sdl_window_present_when_due();
    return true;
}

// The keyboard events still in SDL's queue were typed ahead too: they are
// translated (a close request among them still counts) and dropped with
// the held ones.
void discard_held_keys() {
    if (!g_sdl.started) return;
    SDL_PumpEvents();
    for (bool more = true; more;) {
        g_sdl.held.discard();
        more = false;
        SDL_Event e;
        while (held_has_room() && SDL_PeepEvents(&e, 1, SDL_GETEVENT, SDL_KEYDOWN, SDL_MOUSEMOTION - 1) == 1) {
            translate(e);
            more = true;
        }
    }
}

void post_event(const OsEvent& ev) {
    if (!g_sdl.started) return;
    std::lock_guard<std::mutex> hold(g_posted.lock);
    if (!g_posted.events.push_back(ev)) return;
    SDL_Event wake;
    SDL_zero(wake);
    wake.type = g_sdl.wake_type;
    SDL_PushEvent(&wake);
}

void sleep_ms(int ms) {
    sdl_window_present();
    real_sleep_ms(ms);
}

// A program that ends without closing its window leaves the last screen up,
// titled "Programa terminado", until the user closes it; then it ends as
// every exit does, so the logs are written.
void keep_last_screen() {
    if (!g_sdl.started || !sdl_window_is_open()) return;
    const char* driver = SDL_GetCurrentVideoDriver();
    // Nobody could close a window that is not shown.
    if (!driver || !std::strcmp(driver, "dummy") || !std::strcmp(driver, "offscreen")) return;
    sdl_draw_set_caret(false, 0, 0);
    sdl_window_title("Programa terminado");
    OsEvent ev;
    while (sdl_window_is_open()) {
        if (wait_event(ev, -1, false) && (ev.type == OsEventType::Close || ev.type == OsEventType::Quit)) break;
    }
    os_exit(0);
}

void screen_open(const OsScreenConfig& cfg) {
    if (!g_sdl.started) return;
    close_window();
    if (!sdl_window_open(cfg)) {
        // Without its window the program could never get a key: say why and
        // end instead of waiting for ever.
        std::fprintf(stderr, "fuga: the window cannot be opened (%s); FUGA_BACKEND=terminal plays in a terminal\n",
            SDL_GetError());
        os_exit(1);
    }
    if (!g_sdl.linger_installed) {
        g_sdl.linger_installed = true;
        std::atexit(keep_last_screen);
    }
    g_sdl.focused = false;
    g_sdl.close_requested = false;
    // The image starts black; the console paints it from its planes.
    OsEvent expose;
    expose.type = OsEventType::Expose;
    sdl_draw_cells_of(SDL_Rect{0, 0, sdl_draw_canvas()->w, sdl_draw_canvas()->h}, expose.col0, expose.row0,
        expose.col1, expose.row1);
    push_pending(expose);
}

void screen_draw(int col, int row, const unsigned char* chars, int count, OsRgb fg, OsRgb bg) {
    sdl_draw_run(col, row, chars, count, fg, bg);
}

void screen_caret(bool visible, int col, int row) { sdl_draw_set_caret(visible, col, row); }

bool screen_scrolled(OsRgb bg) {
    if (!sdl_window_is_open() || !sdl_window_slow_scroll() || !g_sdl.focused) return false;
    if (!sdl_window_clear_of_bottom(SDL_SCROLL_MARGIN)) return false;
    sdl_draw_scroll(bg);
    return true;
}

void screen_title(const std::string& title) {
    sdl_window_title(title);
    sdl_window_present();
}

// A short soft tone on the second sound stream stands in for the system beep.
void beep() {
    uint8_t* w = g_sdl.beep;
    if (!g_sdl.beep_made) {
        g_sdl.beep_made = true;
        for (int i = 0; i < SDL_BEEP_SAMPLES; ++i) {
            // 880 Hz, faded in and out so that it does not click.
            int edge = i < SDL_BEEP_SAMPLES - i ? i : SDL_BEEP_SAMPLES - i;
            double gain = edge < 200 ? edge / 200.0 : 1.0;
            w[i] = static_cast<uint8_t>(128 + 40 * gain * std::sin(2 * M_PI * 880.0 * i / SDL_BEEP_RATE));
        }
    }
    OsAudioFormat fmt;  // 8-bit mono
    fmt.rate = SDL_BEEP_RATE;
    os_audio_play_tone(fmt, w, sizeof g_sdl.beep);
}

bool screen_focused() { return sdl_window_is_open() && g_sdl.focused; }

void screen_close() {
    close_window();
    g_sdl.focused = false;
}

const OsBackend backend = {"sdl", start, shutdown, wait_event, poll_event, post_event, real_ticks_ms, sleep_ms,
    real_local_time, real_utc_time, screen_open, screen_draw, screen_caret, screen_scrolled, screen_title, beep,
    screen_focused, screen_close, sdl_clipboard_set, sdl_clipboard_get, sdl_window_message_box, discard_held_keys};
}  // namespace

const OsBackend* sdl_backend() { return &backend; }
