// The window backend on Windows: the message pump (PeekMessage, WaitMessage)
// that feeds the console, posts from other threads, and the screen calls
// routed to the console window.
#include "platform/win32/win32_backend.h"

#include <windows.h>

#include <cstdio>
#include <cstdlib>

#include "platform/system.h"
#include "platform/win32/win32_clipboard.h"
#include "platform/win32/win32_events.h"
#include "platform/win32/win32_window.h"

namespace {
// How often the queue is looked at while key messages stay in it for want
// of room (they would end every wait at once).
constexpr int WIN32_HELD_POLL_MS = 10;

struct BackendState {
    bool started = false;
    bool linger_installed = false;
} g_backend;

// The next message of the thread, but no key message while there is no room
// to keep one.
bool peek(MSG& m) {
    if (win32_events_key_room()) return PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE);
    return PeekMessageW(&m, nullptr, 0, WM_KEYFIRST - 1, PM_REMOVE) ||
           PeekMessageW(&m, nullptr, WM_KEYLAST + 1, 0xFFFF, PM_REMOVE);
}

// Translates and dispatches one message; false when the queue had none.
bool pump_one() {
    MSG m;
    if (!peek(m)) return false;
    if (m.message == WM_QUIT) {
        OsEvent ev;
        ev.type = OsEventType::Quit;
        win32_events_push(ev);
        return true;
    }
    TranslateMessage(&m);
    DispatchMessageW(&m);
    return true;
}

// Whether the desktop takes a window at all (under Wine without a display
// it does not): without one the program could never be seen or get a key.
bool desktop_has_room() {
    HWND probe = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr,
                                 GetModuleHandleW(nullptr), nullptr);
    if (!probe) return false;
    DestroyWindow(probe);
    return true;
}

bool start() {
    if (g_backend.started) return true;
    if (!desktop_has_room() || !win32_events_start()) return false;
    g_backend.started = true;
    return true;
}

void shutdown() {
    if (!g_backend.started) return;
    win32_window_close();
    win32_events_stop();
    g_backend.started = false;
}

bool wait_event(OsEvent& ev, int timeout_ms, bool) {
    if (!g_backend.started) return false;
    ULONGLONG deadline = timeout_ms >= 0 ? GetTickCount64() + ULONGLONG(timeout_ms) : 0;
    for (;;) {
        if (win32_events_take(ev)) return true;
        if (pump_one()) continue;
        int remaining = -1;
        if (timeout_ms >= 0) {
            ULONGLONG now = GetTickCount64();
            remaining = now >= deadline ? 0 : int(deadline - now);
        }
        if (remaining == 0) return false;
        if (!win32_events_key_room()) {
            Sleep(DWORD(remaining < 0 || remaining > WIN32_HELD_POLL_MS ? WIN32_HELD_POLL_MS : remaining));
        } else if (remaining < 0) {
            WaitMessage();
        } else {
            MsgWaitForMultipleObjectsEx(0, nullptr, DWORD(remaining), QS_ALLINPUT, MWMO_INPUTAVAILABLE);
        }
    }
}

bool poll_event(OsEvent& ev) {
    if (!g_backend.started) return false;
    for (;;) {
        if (win32_events_take(ev)) return true;
        if (!pump_one()) return false;
    }
}

void post_event(const OsEvent& ev) {
    if (g_backend.started) win32_events_post(ev);
}

// The key messages still in the window's queue were typed ahead too: they
// are translated (a close request among them still counts) and dropped with
// the kept ones.
void discard_held_keys() {
    if (!g_backend.started) return;
    MSG m;
    for (bool more = true; more;) {
        win32_events_discard_held();
        more = false;
        while (win32_events_key_room() && PeekMessageW(&m, nullptr, WM_KEYFIRST, WM_KEYLAST, PM_REMOVE)) {
            TranslateMessage(&m);
            DispatchMessageW(&m);
            more = true;
        }
    }
}

// A program that ends without closing its window leaves the last screen up
// until the user closes it; then it ends as every exit does, so the logs are
// written.
void keep_last_screen() {
    if (!g_backend.started || !win32_window_handle()) return;
    win32_window_show_ended();
    OsEvent ev;
    while (win32_window_handle()) {
        if (wait_event(ev, -1, false) && (ev.type == OsEventType::Close || ev.type == OsEventType::Quit)) break;
    }
    os_exit(0);
}

void screen_open(const OsScreenConfig& cfg) {
    if (!g_backend.started) return;
    if (!win32_window_open(cfg)) {
        // Without its window the program could never get a key: say why and
        // end instead of waiting for ever.
        std::fprintf(stderr, "fuga: the window cannot be opened (error %lu); FUGA_BACKEND=headless runs without one\n",
                     GetLastError());
        MessageBoxW(nullptr, L"A janela do programa não pôde ser aberta.", L"FUGA DE VAL MORVELA",
                    MB_OK | MB_ICONERROR);
        os_exit(1);
    }
    if (!g_backend.linger_installed) {
        g_backend.linger_installed = true;
        std::atexit(keep_last_screen);
    }
}

void screen_draw(int col, int row, const unsigned char* chars, int count, OsRgb fg, OsRgb bg) {
    win32_window_draw(col, row, chars, count, fg, bg);
}

void screen_caret(bool visible, int col, int row) { win32_window_caret(visible, col, row); }
bool screen_scrolled(OsRgb bg) { return win32_window_scroll(bg); }
void screen_title(const std::string& title) { win32_window_title(title); }
void beep() { MessageBeep(MB_OK); }
bool screen_focused() { return win32_window_focused(); }
void screen_close() { win32_window_close(); }

const OsBackend backend = {"window", start, shutdown, wait_event, poll_event, post_event, real_ticks_ms,
    real_sleep_ms, real_local_time, real_utc_time, screen_open, screen_draw, screen_caret, screen_scrolled,
    screen_title, beep, screen_focused, screen_close, win32_clipboard_set, win32_clipboard_get,
    win32_window_message_box, discard_held_keys};
}  // namespace

const OsBackend* win32_backend() { return &backend; }
