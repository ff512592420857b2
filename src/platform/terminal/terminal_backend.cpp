// The terminal backend: the event queue, the wait on the tty and the
// self-pipe, and the routing of the screen calls to the terminal screen.
//
// Keys come as key-down and character events only: a terminal reports no
// key releases, so the braille chord keyboard (which acts on releases) does
// not work here.
#include <poll.h>

#include <mutex>
#include <string>

#include "platform/backend.h"
#include "platform/system.h"
#include "platform/event_ring.h"
#include "platform/held_keys.h"
#include "platform/key_translation.h"
#include "platform/terminal/key_decoder.h"
#include "platform/terminal/terminal_screen.h"
#include "platform/terminal/tty.h"

namespace {
// Events posted and not yet taken (sound blocks, wake-ups, signals, repaints).
constexpr int TERMINAL_MAX_EVENTS = 1024;
// Bytes read from the tty at a time.
constexpr int TERMINAL_MAX_READ = 256;
// Key messages decoded ahead while the console has no room (two for each
// character of a paste).
constexpr int TERMINAL_MAX_HELD = 1024;

struct TerminalState {
    bool started = false;
    std::mutex lock;  // guards the posted-event ring
    EventRing<TERMINAL_MAX_EVENTS> posted;
    bool input_closed = false;
    bool close_sent = false;
    bool quit_sent = false;
    // Decoded ahead of the console, so that a close request (Alt+F4) behind
    // a long paste acts at once; the rest of a longer paste waits in the
    // decoder and in the terminal's own input buffer.
    HeldKeys<TERMINAL_MAX_HELD> held;
} g_term;

void push_event(const OsEvent& ev) {
    {
        std::lock_guard<std::mutex> guard(g_term.lock);
        if (!g_term.posted.push_back(ev)) return;
    }
    tty_wake();
}

bool pop_posted(OsEvent& ev) {
    std::lock_guard<std::mutex> guard(g_term.lock);
    return g_term.posted.pop(ev);
}

void post_simple(OsEventType type) {
    OsEvent ev;
    ev.type = type;
    push_event(ev);
}

void post_expose_all() {
    OsEvent ev;
    ev.type = OsEventType::Expose;
    ev.col1 = TERM_SCREEN_MAX_COLUMNS;
    ev.row1 = TERM_SCREEN_MAX_ROWS;
    push_event(ev);
}

void post_close_once() {
    if (g_term.close_sent) return;
    g_term.close_sent = true;
    post_simple(OsEventType::Close);
}

void handle_signals() {
    int bits = tty_take_signals();
    if ((bits & TTY_SIGNAL_QUIT) && !g_term.quit_sent) {
        g_term.quit_sent = true;
        post_simple(OsEventType::Quit);
    }
    if (bits & TTY_SIGNAL_HANGUP) post_close_once();
    if ((bits & TTY_SIGNAL_CONTINUED) && !g_term.close_sent) {
        tty_reenter();
        int cols = 0, rows = 0;
        if (tty_size(cols, rows)) term_screen_resize(cols, rows);
        if (term_screen_is_open()) {
            term_screen_repaint();
            post_expose_all();
        }
    }
    if (bits & TTY_SIGNAL_RESIZE) {
        int cols = 0, rows = 0;
        if (tty_size(cols, rows) && term_screen_resize(cols, rows)) post_expose_all();
    }
}

void read_input() {
    unsigned char buf[TERMINAL_MAX_READ];
    int room = term_keys_room();
    if (room <= 0) return;
    long n = tty_read(buf, room < TERMINAL_MAX_READ ? static_cast<size_t>(room) : sizeof buf);
    if (n > 0) {
        term_keys_feed(buf, static_cast<size_t>(n), real_ticks_ms());
    } else if (n == 0) {
        // End of input: the terminal went away.
        g_term.input_closed = true;
        post_close_once();
    }
}

// Waits up to wait_ms (negative: no limit) for the tty or the self-pipe, then
// takes what arrived.
void pump(int wait_ms) {
    term_screen_flush();
    struct pollfd fds[2];
    int nfds = 0;
    fds[nfds++] = {tty_wake_fd(), POLLIN, 0};
    bool poll_tty = !g_term.input_closed && term_keys_room() > 0;
    if (poll_tty) fds[nfds++] = {tty_input_fd(), POLLIN, 0};
    int r = poll(fds, static_cast<nfds_t>(nfds), wait_ms);
    if (r > 0) {
        if (fds[0].revents) tty_drain_wake();
        if (poll_tty && fds[1].revents) read_input();
    }
    handle_signals();
    term_screen_flush();
}

// What the console drops as typed ahead goes with what waits here.
void discard_held_keys() {
    g_term.held.discard();
    term_keys_discard();
    if (g_term.started && !g_term.input_closed) tty_discard_input();
}

bool closes_window(const OsEvent& ev) {
    return ev.type == OsEventType::KeyDown && key_closes_window(ev.vkey, ev.ctrl, ev.alt);
}

void read_ahead() {
    OsEvent ev;
    while (!g_term.held.full() && term_keys_next(ev, real_ticks_ms())) {
        if (closes_window(ev)) post_close_once();
        g_term.held.hold(ev);
    }
}

bool take_event(OsEvent& ev) {
    if (pop_posted(ev)) return true;
    if (!console_has_key_room()) {
        read_ahead();
        if (pop_posted(ev)) return true;
    }
    if (g_term.held.take(ev)) return true;
    if (!console_has_key_room() || !term_keys_next(ev, real_ticks_ms())) return false;
    if (closes_window(ev)) post_close_once();
    return true;
}

bool start() {
    if (g_term.started) return true;
    if (!tty_start()) return false;
    term_keys_reset();
    term_keys_set_erase(tty_erase_char());
    term_screen_reset();
    term_screen_set_writer(tty_write);
    g_term.input_closed = g_term.close_sent = g_term.quit_sent = false;
    g_term.held.discard();
    g_term.started = true;
    return true;
}

// The last screen is left on the terminal's own screen (the alternate one
// goes away), so that the ending can still be read once the program is gone.
// Crashes and forced ends only restore the terminal (tty.cpp).
void shutdown() {
    bool was_started = g_term.started;
    tty_stop();
    g_term.started = false;
    if (!was_started) return;
    std::string rows = term_screen_final_rows();
    if (!rows.empty()) tty_write(rows.data(), rows.size());
}

bool wait_event(OsEvent& ev, int timeout_ms, bool) {
    const uint64_t t0 = real_ticks_ms();
    pump(0);
    for (;;) {
        if (take_event(ev)) return true;
        int wait = -1;
        if (timeout_ms >= 0) {
            uint64_t elapsed = real_ticks_ms() - t0;
            if (elapsed >= static_cast<uint64_t>(timeout_ms)) return false;
            wait = timeout_ms - static_cast<int>(elapsed);
        }
        bool decoding = console_has_key_room() || !g_term.held.full();
        int key_wait = decoding ? term_keys_wait_ms(real_ticks_ms()) : -1;
        if (key_wait >= 0 && (wait < 0 || key_wait < wait)) wait = key_wait;
        pump(wait);
    }
}

bool poll_event(OsEvent& ev) { return wait_event(ev, 0, false); }

void post_event(const OsEvent& ev) { push_event(ev); }

void sleep_ms(int ms) {
    term_screen_flush();
    real_sleep_ms(ms);
}

void screen_open(const OsScreenConfig& cfg) {
    int cols = TERM_SCREEN_MAX_COLUMNS, rows = TERM_SCREEN_MAX_ROWS;
    tty_size(cols, rows);  // when unknown, assume the grid fits
    term_screen_open(cols, rows);
    if (!cfg.title.empty()) term_screen_title(cfg.title);
    post_expose_all();
}

void screen_draw(int col, int row, const unsigned char* chars, int count, OsRgb fg, OsRgb bg) {
    term_screen_draw(col, row, chars, count, fg, bg);
}

void screen_caret(bool visible, int col, int row) { term_screen_caret(visible, col, row); }
// The console repaints every row; the cell cache sends only what changed.
bool screen_scrolled(OsRgb) { return false; }
void screen_title(const std::string& title) { term_screen_title(title); }
void beep() { term_screen_beep(); }
bool screen_focused() { return true; }
void screen_close() {
    term_screen_close();
    term_screen_flush();
}

const OsBackend backend = {"terminal", start, shutdown, wait_event, poll_event, post_event, real_ticks_ms,
    sleep_ms, real_local_time, real_utc_time, screen_open, screen_draw, screen_caret, screen_scrolled,
    screen_title, beep, screen_focused, screen_close, local_clipboard_set, local_clipboard_get, nullptr,
    discard_held_keys};
}  // namespace

const OsBackend* terminal_backend() { return &backend; }
