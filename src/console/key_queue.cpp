// The keyboard queue: key and character messages turned into bytes in PC
// codes (a 0 byte, then a scan code for extended and Alt keys), with the
// modifiers of the event that queued each byte.
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

struct KeyQueueState {
    uint8_t queue[CONSOLE_MAX_KEYS];
    uint8_t modifiers[CONSOLE_MAX_KEYS];  // of the key event that queued each byte
    int count = 0;
    bool break_checking = true;
    uint8_t event_modifiers = 0;  // of the last key event seen
    uint8_t read_modifiers = 0;   // of the byte read last: the key being handled
} g_queue;

// Tells the platform how much the queue can still take, so that it keeps
// what does not fit instead of handing it out to be dropped, and how much
// of it is still to be read.
void room_changed() {
    os_set_key_room(CONSOLE_MAX_KEYS - g_queue.count);
    os_set_keys_unread(g_queue.count);
}

void push_with(uint8_t b, uint8_t modifiers) {
    if (g_queue.count == CONSOLE_MAX_KEYS) return;
    g_queue.modifiers[g_queue.count] = modifiers;
    g_queue.queue[g_queue.count++] = b;
    room_changed();
}

void push(uint8_t b) { push_with(b, g_queue.event_modifiers); }

void note_modifiers(const OsEvent& ev) {
    g_queue.event_modifiers = uint8_t((ev.shift ? MOD_SHIFT : 0) | (ev.ctrl ? MOD_CTRL : 0) | (ev.alt ? MOD_ALT : 0));
}

void key_down(const OsEvent& ev) {
    int k = ev.vkey;
    if (k == VK_CANCEL_BREAK && g_queue.break_checking) console_quit();
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
            if (g_queue.count <= CONSOLE_MAX_KEYS - 2) {
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
    if (g_queue.count > CONSOLE_MAX_KEYS - 2) return;
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
    if (g_queue.count >= CONSOLE_MAX_KEYS) return;
    if (c == 8 && ev.ctrl) c = 127;
    else if (c == 13 && ev.ctrl) c = 10;
    push(c);
}

}  // namespace

void console_queue_key_event(const OsEvent& ev) {
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
        default:
            break;
    }
}

void console_key_queue_reset() {
    g_queue = KeyQueueState{};
    room_changed();
}

int console_keys_queued() { return g_queue.count; }

uint8_t console_take_key() {
    uint8_t b = g_queue.queue[0];
    g_queue.read_modifiers = g_queue.modifiers[0];
    std::memmove(g_queue.queue, g_queue.queue + 1, static_cast<size_t>(g_queue.count - 1));
    std::memmove(g_queue.modifiers, g_queue.modifiers + 1, static_cast<size_t>(g_queue.count - 1));
    g_queue.count--;
    room_changed();
    return b;
}

void console_discard_keys() {
    g_queue.count = 0;
    os_discard_held_keys();
    room_changed();
}

bool console_queue_key(uint8_t code) {
    if (g_queue.count >= CONSOLE_MAX_KEYS) return false;
    push_with(code, 0);
    return true;
}

bool console_shift_held() { return g_queue.read_modifiers & MOD_SHIFT; }
bool console_ctrl_held() { return g_queue.read_modifiers & MOD_CTRL; }
bool console_alt_held() { return g_queue.read_modifiers & MOD_ALT; }
