// The console's keyboard queue in PC codes, the message pump every wait loop
// uses, the delay, closing, the raw line read, clipboard and clock.
#include <cstring>

#include "console/console.h"
#include "console/console_internal.h"
#include "platform/os.h"

namespace {
struct ExtendedKey {
    int vkey;
    uint8_t code;
    uint8_t ctrl_code;
};

constexpr ExtendedKey function_key(int n) {
    return {VK_F1_KEY + n, uint8_t(KEY_F1 + n), uint8_t(KEY_CTRL_F1 + n)};
}

const ExtendedKey EXTENDED_KEYS[] = {
    function_key(0),  function_key(1),  function_key(2),  function_key(3),
    function_key(4),  function_key(5),  function_key(6),  function_key(7),
    function_key(8),  function_key(9),  function_key(10), function_key(11),
    {VK_INSERT_KEY, KEY_INSERT, KEY_CTRL_INSERT},   {VK_DELETE_KEY, KEY_DELETE, KEY_DELETE},
    {VK_HOME_KEY, KEY_HOME, KEY_CTRL_HOME},         {VK_END_KEY, KEY_END, KEY_CTRL_END},
    {VK_PRIOR_KEY, KEY_PAGE_UP, KEY_CTRL_PAGE_UP},  {VK_NEXT_KEY, KEY_PAGE_DOWN, KEY_CTRL_PAGE_DOWN},
    {VK_UP_KEY, KEY_UP, KEY_CTRL_UP},               {VK_DOWN_KEY, KEY_DOWN, KEY_CTRL_DOWN},
    {VK_LEFT_KEY, KEY_LEFT, KEY_CTRL_LEFT},         {VK_RIGHT_KEY, KEY_RIGHT, KEY_CTRL_RIGHT},
};

// Alt codes of the letters A..Z and of the digits 1..9, 0.
const uint8_t ALT_LETTER_CODES[26] = {30, 48, 46, 32, 18, 33, 34, 35, 23, 36, 37, 38, 50,
                                      49, 24, 25, 16, 19, 31, 20, 22, 47, 17, 45, 21, 44};
const uint8_t ALT_DIGIT_CODES[10] = {129, 120, 121, 122, 123, 124, 125, 126, 127, 128};  // '0'..'9'

// Modifier bits kept with each queued byte.
constexpr uint8_t MOD_SHIFT = 1, MOD_CTRL = 2, MOD_ALT = 4;

struct KeyboardState {
    uint8_t queue[CONSOLE_MAX_KEYS];
    uint8_t modifiers[CONSOLE_MAX_KEYS];  // of the key event that queued each byte
    int count = 0;
    bool break_checking = true;
    bool reading = false;
    bool focused = true;
    uint8_t event_modifiers = 0;  // of the last key event seen
    uint8_t read_modifiers = 0;   // of the byte read last: the key being handled
    void (*wave_done_hook)(int) = nullptr;
    bool wave_done_enabled = false;
} g_keys;

// Tells the platform how much the queue can still take, so that it keeps
// what does not fit instead of handing it out to be dropped, and how much
// of it is still to be read.
void room_changed() {
    os_set_key_room(CONSOLE_MAX_KEYS - g_keys.count);
    os_set_keys_unread(g_keys.count);
}

void push_with(uint8_t b, uint8_t modifiers) {
    if (g_keys.count == CONSOLE_MAX_KEYS) return;
    g_keys.modifiers[g_keys.count] = modifiers;
    g_keys.queue[g_keys.count++] = b;
    room_changed();
}

void push(uint8_t b) { push_with(b, g_keys.event_modifiers); }

void note_modifiers(const OsEvent& ev) {
    g_keys.event_modifiers = uint8_t((ev.shift ? MOD_SHIFT : 0) | (ev.ctrl ? MOD_CTRL : 0) | (ev.alt ? MOD_ALT : 0));
}

void key_down(const OsEvent& ev) {
    int k = ev.vkey;
    if (k == VK_CANCEL_BREAK && g_keys.break_checking) console_quit();
    if (ev.alt) {
        if (ev.ctrl && k == VK_F12_KEY) {
            console_set_braille_mode(0);
            return;
        }
        if (ev.ctrl && k == VK_F1_KEY + 10) {
            console_set_braille_mode(console_braille_mode() + 1);
            return;
        }
        bool digit = k >= '0' && k <= '9';
        bool letter = k >= 'A' && k <= 'Z';
        if (digit || letter) {
            if (g_keys.count <= CONSOLE_MAX_KEYS - 2) {
                push(0);
                push(digit ? ALT_DIGIT_CODES[k - '0'] : ALT_LETTER_CODES[k - 'A']);
            }
            return;
        }
        // Alt without Ctrl is a system key: only Left and Right get through;
        // the rest is the platform's (Alt+F4 reaches us as a close request).
        if (!ev.ctrl && k != VK_LEFT_KEY && k != VK_RIGHT_KEY) return;
    }
    if (!ev.ctrl && console_braille_mode() != 0 && console_braille_key_down(k)) return;
    if (g_keys.count > CONSOLE_MAX_KEYS - 2) return;
    for (const ExtendedKey& e : EXTENDED_KEYS) {
        if (e.vkey != k) continue;
        push(0);
        if (ev.ctrl) push(e.ctrl_code);
        else if (k == VK_INSERT_KEY) push(ev.shift ? KEY_SHIFT_INSERT : KEY_INSERT);
        else push(e.code);
        return;
    }
}

void character(const OsEvent& ev) {
    unsigned char c = ev.ch;
    int mode = console_braille_mode();
    if ((mode == 1 || mode == 2) && (c == ' ' || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'))) return;
    if (g_keys.count >= CONSOLE_MAX_KEYS) return;
    if (c == 8 && ev.ctrl) c = 127;
    else if (c == 13 && ev.ctrl) c = 10;
    push(c);
}

}  // namespace

void console_handle_event(const OsEvent& ev) {
    switch (ev.type) {
        case OsEventType::KeyDown:
            note_modifiers(ev);
            key_down(ev);
            break;
        case OsEventType::KeyUp:
            note_modifiers(ev);
            console_braille_key_up(ev.vkey, ev.ctrl);
            break;
        case OsEventType::Char:
            character(ev);
            break;
        case OsEventType::Untypeable:
            console_beep();
            break;
        case OsEventType::Close:
            console_close();
        case OsEventType::Quit:
            console_quit();
        case OsEventType::WaveDone:
            if (g_keys.wave_done_enabled && g_keys.wave_done_hook) g_keys.wave_done_hook(ev.param);
            break;
        case OsEventType::Expose:
            console_paint(ev.col0, ev.row0, ev.col1, ev.row1);
            break;
        case OsEventType::FocusIn:
            g_keys.focused = true;
            if (g_keys.reading) console_caret_place(true);
            break;
        case OsEventType::FocusOut:
            g_keys.focused = false;
            if (g_keys.reading) console_caret_place(false);
            break;
        case OsEventType::Wake:
        case OsEventType::None:
            break;
    }
}

void console_keyboard_reset() {
    g_keys = KeyboardState{};
    room_changed();
}

void console_reset() {
    console_screen_reset();
    console_keyboard_reset();
    console_braille_reset();
    console_screen_log_reset();
}

void console_dispatch_messages() {
    OsEvent ev;
    while (os_poll_event(ev)) console_handle_event(ev);
}

void console_wait_message(int timeout_ms) {
    OsEvent ev;
    if (os_wait_event(ev, timeout_ms, false)) console_handle_event(ev);
    console_dispatch_messages();
}

bool console_key_waiting() {
    console_open();
    console_dispatch_messages();
    return g_keys.count > 0;
}

uint8_t console_read_key() {
    if (!console_key_waiting()) {
        g_keys.reading = true;
        g_keys.focused = os_screen_focused();
        if (g_keys.focused) console_caret_place(true);
        while (g_keys.count == 0) {
            OsEvent ev;
            if (os_wait_event(ev, -1, true)) console_handle_event(ev);
            console_dispatch_messages();
        }
        console_caret_place(false);
        g_keys.reading = false;
    }
    uint8_t b = g_keys.queue[0];
    g_keys.read_modifiers = g_keys.modifiers[0];
    std::memmove(g_keys.queue, g_keys.queue + 1, static_cast<size_t>(g_keys.count - 1));
    std::memmove(g_keys.modifiers, g_keys.modifiers + 1, static_cast<size_t>(g_keys.count - 1));
    g_keys.count--;
    room_changed();
    return b;
}

void console_delay(unsigned ms) {
    ms &= 0xFFFF;
    uint64_t deadline = os_ticks_ms() + ms;
    // A timed wait that keeps handling messages, so the screen stays alive.
    for (;;) {
        uint64_t now = os_ticks_ms();
        if (now >= deadline) break;
        OsEvent ev;
        if (os_wait_event(ev, static_cast<int>(deadline - now), false)) console_handle_event(ev);
    }
    console_dispatch_messages();
}

void console_discard_keys() {
    g_keys.count = 0;
    os_discard_held_keys();
    room_changed();
}

bool console_queue_key(uint8_t code) {
    if (g_keys.count >= CONSOLE_MAX_KEYS) return false;
    push_with(code, 0);
    return true;
}

bool console_shift_held() { return g_keys.read_modifiers & MOD_SHIFT; }
bool console_ctrl_held() { return g_keys.read_modifiers & MOD_CTRL; }
bool console_alt_held() { return g_keys.read_modifiers & MOD_ALT; }

void console_close() {
    if (console_is_open()) {
        console_discard_keys();
        if (g_keys.reading) console_caret_place(false);
        os_screen_close();
        console_screen_closed();
    }
    os_exit(0);
}

void console_quit() {
    if (g_keys.reading && g_keys.focused) console_caret_place(false);
    os_exit(255);
}

int console_read_line_raw(char* buffer, int capacity) {
    int i = 0;
    uint8_t b;
    do {
        b = console_read_key();
        if (b == 8) {
            if (i > 0) {
                console_write_text("\b", 1);
                --i;
            }
        } else if (b >= 32 && i < capacity - 2) {
            buffer[i++] = static_cast<char>(b);
            console_write_text(reinterpret_cast<const char*>(&b), 1);
        }
    } while (b != 13);
    if (capacity < 2) return 0;
    buffer[i] = 13;
    buffer[i + 1] = 10;
    console_write_text("\r\n", 2);
    return i + 2;
}

void console_set_wave_done_hook(void (*hook)(int)) { g_keys.wave_done_hook = hook; }
void console_enable_wave_done_hook(bool enabled) { g_keys.wave_done_enabled = enabled; }

void console_copy_to_clipboard(const std::string& text) {
    console_open();
    // The clipboard holds text up to its terminating zero, as plain text does.
    os_clipboard_set(text.substr(0, text.find('\0')));
}

std::string console_paste_from_clipboard(size_t size) {
    if (size == 0) return "";
    std::string text;
    if (!os_clipboard_get(text)) return "";
    text = text.substr(0, text.find('\0'));
    if (text.size() > size - 1) text.resize(size - 1);
    return text;
}

ConsoleDate console_get_date() {
    OsTime t = os_local_time();
    return {t.year, t.month, t.day, t.weekday};
}

ConsoleTime console_get_time() {
    OsTime t = os_local_time();
    return {t.hour, t.minute, t.second, t.millisecond / 10};
}
