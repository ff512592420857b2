// Keyboard translation for the window: SDL key codes to virtual keys, and
// text input to the program's one-byte characters.
#include "platform/sdl/sdl_keys.h"

#include "platform/key_translation.h"
#include "platform/sdl/sdl_font.h"
#include "util/latin1.h"

#include <string_view>

namespace {
struct KeysState {
    // Windows types no character for Alt combinations, and Ctrl combinations
    // type control characters instead of the text SDL would report.
    bool suppress_text = false;
} g_keys;

constexpr int VK_PAUSE_KEY = 19;
constexpr int VK_CAPITAL_KEY = 20;
constexpr int VK_CLEAR_KEY = 12;
constexpr int VK_NUMPAD0_KEY = 96;

int keypad_key(SDL_Scancode sc, bool numlock) {
    // Digits 1..9 then 0, then the decimal point.
    static const int navigation[] = {VK_END_KEY, VK_DOWN_KEY, VK_NEXT_KEY, VK_LEFT_KEY, VK_CLEAR_KEY,
        VK_RIGHT_KEY, VK_HOME_KEY, VK_UP_KEY, VK_PRIOR_KEY, VK_INSERT_KEY};
    if (sc == SDL_SCANCODE_KP_PERIOD) return numlock ? 110 : VK_DELETE_KEY;
    int digit = sc == SDL_SCANCODE_KP_0 ? 0 : sc - SDL_SCANCODE_KP_1 + 1;
    if (numlock) return VK_NUMPAD0_KEY + digit;
    return navigation[digit == 0 ? 9 : digit - 1];
}

void add(OsEvent* out, int capacity, int& n, const OsEvent& ev) {
    if (n < capacity) out[n++] = ev;
}

// With layouts that have a third level the right Alt is AltGr: the key types
// another character. Where it is a plain Alt, X still reports the key's own
// letter as text.
bool is_altgr(const SDL_KeyboardEvent& key, const char* next_text) {
    if (!(key.keysym.mod & KMOD_RALT) || !next_text || !*next_text) return false;
    unsigned char c = static_cast<unsigned char>(next_text[0]);
    if (c >= 'A' && c <= 'Z') c = static_cast<unsigned char>(c + 32);
    return next_text[1] != 0 || static_cast<SDL_Keycode>(c) != key.keysym.sym;
}

int key_down(const SDL_KeyboardEvent& key, const char* next_text, OsEvent* out, int capacity) {
    int n = 0;
    Uint16 mod = key.keysym.mod;
    bool altgr = is_altgr(key, next_text);
    OsEvent ev;
    ev.shift = mod & KMOD_SHIFT;
    ev.ctrl = (mod & KMOD_CTRL) && !altgr;
    ev.alt = (mod & KMOD_ALT) && !altgr;
    ev.vkey = sdl_keys_vkey(key.keysym.sym, key.keysym.scancode, mod);
    g_keys.suppress_text = ev.alt || ev.ctrl;
    if (ev.vkey == 0) return 0;
    if (key_closes_window(ev.vkey, ev.ctrl, ev.alt)) {
        OsEvent close;
        close.type = OsEventType::Close;
        add(out, capacity, n, close);
        return n;
    }
    ev.type = OsEventType::KeyDown;
    add(out, capacity, n, ev);
    // What the other keys type alone comes as a text event.
    int plain = -1;
    switch (ev.vkey) {
        case VK_RETURN_KEY: plain = 13; break;
        case VK_BACK_KEY: plain = 8; break;
        case VK_ESCAPE_KEY: plain = 27; break;
        case VK_TAB_KEY: plain = 9; break;
        default: break;
    }
    int ch = key_typed_char(ev.vkey, plain, ev.ctrl, ev.alt);
    // Ctrl with the bracket and backslash keys of the layout gives their
    // control codes, found by the character the key has there.
    if (ch < 0 && ev.ctrl && !ev.alt) {
        if (key.keysym.sym == SDLK_LEFTBRACKET) ch = 27;
        else if (key.keysym.sym == SDLK_BACKSLASH) ch = 28;
        else if (key.keysym.sym == SDLK_RIGHTBRACKET) ch = 29;
    }
    if (ch >= 0) {
        OsEvent c = ev;
        c.type = OsEventType::Char;
        c.vkey = 0;
        c.ch = static_cast<unsigned char>(ch);
        add(out, capacity, n, c);
    }
    return n;
}

int text_input(const SDL_TextInputEvent& text, OsEvent* out, int capacity) {
    int n = 0;
    if (g_keys.suppress_text) return 0;
    std::string_view typed(text.text);
    for (size_t i = 0; i < typed.size();) {
        unsigned cp = 0;
        size_t len = utf8_decode(typed, i, cp);
        i += len ? len : 1;
        if (len == 0 || cp < 32 || (cp >= 127 && cp < 160)) continue;
        int byte = sdl_codepage_byte(static_cast<Uint32>(cp));
        OsEvent ev;
        // Text the code page cannot hold is not dropped unheard.
        ev.type = byte < 0 ? OsEventType::Untypeable : OsEventType::Char;
        ev.ch = static_cast<unsigned char>(byte < 0 ? 0 : byte);
        add(out, capacity, n, ev);
    }
    return n;
}
}  // namespace

void sdl_keys_reset() { g_keys = KeysState{}; }

int sdl_keys_vkey(SDL_Keycode sym, SDL_Scancode sc, Uint16 mod) {
    if (sym >= 'a' && sym <= 'z') return static_cast<int>(sym - 'a' + 'A');
    bool keypad = sc >= SDL_SCANCODE_KP_DIVIDE && sc <= SDL_SCANCODE_KP_PERIOD;
    if (!keypad && sym >= '0' && sym <= '9') return static_cast<int>(sym);
    if (sc >= SDL_SCANCODE_F1 && sc <= SDL_SCANCODE_F12) return VK_F1_KEY + (sc - SDL_SCANCODE_F1);
    if (sc >= SDL_SCANCODE_F13 && sc <= SDL_SCANCODE_F24) return VK_F12_KEY + 1 + (sc - SDL_SCANCODE_F13);
    if (sc >= SDL_SCANCODE_KP_1 && sc <= SDL_SCANCODE_KP_PERIOD) return keypad_key(sc, mod & KMOD_NUM);
    switch (sc) {
        case SDL_SCANCODE_RETURN: case SDL_SCANCODE_RETURN2: case SDL_SCANCODE_KP_ENTER: return VK_RETURN_KEY;
        case SDL_SCANCODE_ESCAPE: return VK_ESCAPE_KEY;
        case SDL_SCANCODE_BACKSPACE: return VK_BACK_KEY;
        case SDL_SCANCODE_TAB: return VK_TAB_KEY;
        case SDL_SCANCODE_SPACE: return VK_SPACE_KEY;
        case SDL_SCANCODE_INSERT: return VK_INSERT_KEY;
        case SDL_SCANCODE_DELETE: return VK_DELETE_KEY;
        case SDL_SCANCODE_HOME: return VK_HOME_KEY;
        case SDL_SCANCODE_END: return VK_END_KEY;
        case SDL_SCANCODE_PAGEUP: return VK_PRIOR_KEY;
        case SDL_SCANCODE_PAGEDOWN: return VK_NEXT_KEY;
        case SDL_SCANCODE_LEFT: return VK_LEFT_KEY;
        case SDL_SCANCODE_RIGHT: return VK_RIGHT_KEY;
        case SDL_SCANCODE_UP: return VK_UP_KEY;
        case SDL_SCANCODE_DOWN: return VK_DOWN_KEY;
        case SDL_SCANCODE_PAUSE: return (mod & KMOD_CTRL) ? VK_CANCEL_BREAK : VK_PAUSE_KEY;
        case SDL_SCANCODE_CANCEL: return VK_CANCEL_BREAK;
        case SDL_SCANCODE_LSHIFT: case SDL_SCANCODE_RSHIFT: return VK_SHIFT_KEY;
        case SDL_SCANCODE_LCTRL: case SDL_SCANCODE_RCTRL: return VK_CONTROL_KEY;
        case SDL_SCANCODE_LALT: case SDL_SCANCODE_RALT: return VK_MENU_KEY;
        case SDL_SCANCODE_LGUI: return 91;
        case SDL_SCANCODE_RGUI: return 92;
        case SDL_SCANCODE_APPLICATION: return 93;
        case SDL_SCANCODE_CAPSLOCK: return VK_CAPITAL_KEY;
        case SDL_SCANCODE_NUMLOCKCLEAR: return 144;
        case SDL_SCANCODE_SCROLLLOCK: return 145;
        case SDL_SCANCODE_PRINTSCREEN: return 44;
        case SDL_SCANCODE_KP_MULTIPLY: return 106;
        case SDL_SCANCODE_KP_PLUS: return 107;
        case SDL_SCANCODE_KP_MINUS: return 109;
        case SDL_SCANCODE_KP_DIVIDE: return 111;
        case SDL_SCANCODE_SEMICOLON: return 186;
        case SDL_SCANCODE_EQUALS: return 187;
        case SDL_SCANCODE_COMMA: return 188;
        case SDL_SCANCODE_MINUS: return 189;
        case SDL_SCANCODE_PERIOD: return 190;
        case SDL_SCANCODE_SLASH: return 191;
        case SDL_SCANCODE_GRAVE: return 192;
        case SDL_SCANCODE_INTERNATIONAL1: return 193;
        case SDL_SCANCODE_LEFTBRACKET: return 219;
        case SDL_SCANCODE_BACKSLASH: case SDL_SCANCODE_NONUSHASH: return 220;
        case SDL_SCANCODE_RIGHTBRACKET: return 221;
        case SDL_SCANCODE_APOSTROPHE: return 222;
        case SDL_SCANCODE_NONUSBACKSLASH: return 226;
        default: break;
    }
    // Layouts whose letter keys type no Latin letter keep their positions.
    if (sc >= SDL_SCANCODE_A && sc <= SDL_SCANCODE_Z) return 'A' + (sc - SDL_SCANCODE_A);
    if (sc >= SDL_SCANCODE_1 && sc <= SDL_SCANCODE_9) return '1' + (sc - SDL_SCANCODE_1);
    if (sc == SDL_SCANCODE_0) return '0';
    return 0;
}

int sdl_keys_translate(const SDL_Event& event, const char* next_text, OsEvent* out, int capacity) {
    switch (event.type) {
        case SDL_KEYDOWN: return key_down(event.key, next_text, out, capacity);
        case SDL_KEYUP: {
            const SDL_KeyboardEvent& key = event.key;
            OsEvent ev;
            ev.type = OsEventType::KeyUp;
            ev.vkey = sdl_keys_vkey(key.keysym.sym, key.keysym.scancode, key.keysym.mod);
            ev.shift = key.keysym.mod & KMOD_SHIFT;
            ev.ctrl = key.keysym.mod & KMOD_CTRL;
            ev.alt = key.keysym.mod & KMOD_ALT;
            if (ev.vkey == 0 || capacity < 1) return 0;
            out[0] = ev;
            return 1;
        }
        case SDL_TEXTINPUT: return text_input(event.text, out, capacity);
        default: return 0;
    }
}
