// The backend's message queues and the hidden message window: translated
// messages, key messages kept for the console's room, and events posted
// from other threads under a lock.
#include "platform/win32/win32_events.h"

#include <atomic>
#include <mutex>

#include "platform/event_ring.h"
#include "platform/held_keys.h"
#include "platform/win32/win32_wave.h"
#include "platform/win32/win32_window.h"

namespace {
constexpr int WIN32_MAX_PENDING = 1024;
constexpr int WIN32_MAX_POSTED = 1024;
// Key messages kept while the console has no room (a typed character is a
// press, its character and a release); beyond them key messages stay in the
// window's queue.
constexpr int WIN32_MAX_HELD = 4096;
// Announces that events wait in the posted queue.
constexpr UINT WIN32_POSTED_MESSAGE = WM_APP + 1;
constexpr const wchar_t* WIN32_MESSAGE_CLASS = L"FugaMensagens";

struct PostedQueue {
    std::mutex lock;
    EventRing<WIN32_MAX_POSTED> events;
};

struct EventsState {
    std::atomic<HWND> message_window{nullptr};
    bool class_registered = false;
    EventRing<WIN32_MAX_PENDING> pending;
    HeldKeys<WIN32_MAX_HELD> held;
} g_events;

PostedQueue g_posted;

// Everything posted so far joins the translated messages, in the order
// posted, whichever of the announcing messages comes first.
void take_posted() {
    std::lock_guard<std::mutex> hold(g_posted.lock);
    OsEvent ev;
    while (!g_events.pending.full() && g_posted.events.pop(ev)) g_events.pending.push_back(ev);
}

LRESULT CALLBACK message_window_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    if (win32_events_message(message, wparam, lparam)) return 0;
    return DefWindowProcW(window, message, wparam, lparam);
}
}  // namespace

bool win32_events_start() {
    if (g_events.message_window) return true;
    HINSTANCE instance = GetModuleHandleW(nullptr);
    if (!g_events.class_registered) {
        WNDCLASSW wc = {};
        wc.lpfnWndProc = message_window_proc;
        wc.hInstance = instance;
        wc.lpszClassName = WIN32_MESSAGE_CLASS;
        if (!RegisterClassW(&wc)) return false;
        g_events.class_registered = true;
    }
    HWND window = CreateWindowExW(0, WIN32_MESSAGE_CLASS, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, instance,
                                  nullptr);
    g_events.message_window = window;
    return window != nullptr;
}

void win32_events_stop() {
    HWND window = g_events.message_window.exchange(nullptr);
    if (window) DestroyWindow(window);
    g_events.pending.clear();
    g_events.held.discard();
}

HWND win32_events_target() {
    HWND console = win32_window_handle();
    return console ? console : g_events.message_window.load();
}

void win32_events_push(const OsEvent& ev) {
    if (is_key_message(ev) && g_events.held.hold(ev)) return;
    g_events.pending.push_back(ev);
}

bool win32_events_take(OsEvent& ev) {
    return g_events.pending.pop(ev) || g_events.held.take(ev);
}

bool win32_events_key_room() { return !g_events.held.full(); }

void win32_events_discard_held() { g_events.held.discard(); }

void win32_events_post(const OsEvent& ev) {
    {
        std::lock_guard<std::mutex> hold(g_posted.lock);
        if (!g_posted.events.push_back(ev)) return;
    }
    // The private wake-up messages go to the console window as themselves.
    bool wake = ev.type == OsEventType::Wake && (ev.param == int(WIN32_WAKE_SPEECH) || ev.param == int(WIN32_WAKE_ENGINE));
    PostMessageW(win32_events_target(), wake ? UINT(ev.param) : WIN32_POSTED_MESSAGE, 0, 0);
}

bool win32_events_message(UINT message, WPARAM wparam, LPARAM lparam) {
    OsEvent ev;
    switch (message) {
        case WIN32_WAKE_SPEECH:
        case WIN32_WAKE_ENGINE:
        case WIN32_POSTED_MESSAGE: take_posted(); return true;
        case MM_WOM_DONE: {
            int number = win32_wave_done(reinterpret_cast<HWAVEOUT>(wparam), reinterpret_cast<WAVEHDR*>(lparam));
            if (number > 0) {
                ev.type = OsEventType::WaveDone;
                ev.param = number;
                g_events.pending.push_back(ev);
            }
            return true;
        }
        default: return false;
    }
}
