// The message pump every wait loop of the program uses: messages from the
// platform handed to the key queue, the screen and the sound hook, and the
// blocking key read that shows the caret while it waits.
#include "console/console.h"
#include "console/console_internal.h"
#include "platform/os.h"

namespace {
struct PumpState {
    bool reading = false;
    bool focused = true;
    void (*wave_done_hook)(int) = nullptr;
    bool wave_done_enabled = false;
    void (*wake_hook)() = nullptr;
    bool waking = false;        // within the wake hook
    bool woken_again = false;  // a wake came meanwhile
} g_pump;
}  // namespace

void console_handle_event(const OsEvent& ev) {
    switch (ev.type) {
        case OsEventType::KeyDown:
        case OsEventType::KeyUp:
        case OsEventType::Char:
            console_queue_key_event(ev);
            break;
        case OsEventType::Untypeable:
            console_beep();
            break;
        case OsEventType::Close:
            console_close();
        case OsEventType::Quit:
            console_quit();
        case OsEventType::WaveDone:
            if (g_pump.wave_done_enabled && g_pump.wave_done_hook) g_pump.wave_done_hook(ev.param);
            break;
        case OsEventType::Expose:
            console_paint(ev.col0, ev.row0, ev.col1, ev.row1);
            break;
        case OsEventType::FocusIn:
            g_pump.focused = true;
            if (g_pump.reading) console_caret_place(true);
            break;
        case OsEventType::FocusOut:
            g_pump.focused = false;
            if (g_pump.reading) console_caret_place(false);
            break;
        case OsEventType::Wake:
            if (!g_pump.wake_hook) break;
            // The hook's own waits let messages run: a wake among them is not
            // run within the hook but after it, or what it announced would
            // wait for the next one.
            if (g_pump.waking) {
                g_pump.woken_again = true;
                break;
            }
            g_pump.waking = true;
            do {
                g_pump.woken_again = false;
                g_pump.wake_hook();
            } while (g_pump.woken_again);
            g_pump.waking = false;
            break;
        case OsEventType::None:
            break;
    }
}

void console_keyboard_reset() {
    g_pump = PumpState{};
    console_key_queue_reset();
}

bool console_reading_key() { return g_pump.reading; }
bool console_reading_focused() { return g_pump.reading && g_pump.focused; }

void console_dispatch_messages() {
    // One wake a pass: an engine that asks to be looked at again from within
    // the wake hook would otherwise keep the pass going for as long as it
    // speaks, and the caller would never come to see the key that cuts it.
    // A later wake is put back, so the next wait runs the hook again.
    OsEvent ev, later_wake;
    bool woken = false, put_back = false;
    while (os_poll_event(ev)) {
        if (ev.type == OsEventType::Wake) {
            if (woken) {
                later_wake = ev;
                put_back = true;
                continue;
            }
            woken = true;
        }
        console_handle_event(ev);
    }
    if (put_back) os_post_event(later_wake);
}

void console_wait_message(int timeout_ms) {
    OsEvent ev;
    if (os_wait_event(ev, timeout_ms, false)) console_handle_event(ev);
    console_dispatch_messages();
}

bool console_key_waiting() {
    console_open();
    console_dispatch_messages();
    return console_keys_queued() > 0;
}

uint8_t console_read_key() {
    if (!console_key_waiting()) {
        g_pump.reading = true;
        g_pump.focused = os_screen_focused();
        if (g_pump.focused) console_caret_place(true);
        while (console_keys_queued() == 0) {
            OsEvent ev;
            if (os_wait_event(ev, -1, true)) console_handle_event(ev);
            console_dispatch_messages();
        }
        console_caret_place(false);
        g_pump.reading = false;
    }
    return console_take_key();
}

void console_set_wave_done_hook(void (*hook)(int)) { g_pump.wave_done_hook = hook; }
void console_set_wake_hook(void (*hook)()) { g_pump.wake_hook = hook; }
void console_enable_wave_done_hook(bool enabled) { g_pump.wave_done_enabled = enabled; }
