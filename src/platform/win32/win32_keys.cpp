// Keyboard messages of the console window as the console's key messages.
#include "platform/win32/win32_keys.h"

#include "platform/os.h"
#include "platform/win32/win32_events.h"
#include "util/latin1.h"

namespace {
struct KeysState {
    // The Alt key went down and no other key since: its release is the
    // system's (the window menu), as it is for every Windows program.
    bool alt_alone = false;
} g_keys;

bool held(int vkey) { return GetKeyState(vkey) < 0; }

// A system key message says itself whether Alt is down (its context code);
// Ctrl+Alt combinations come as plain key messages and ask the key state.
bool alt_held(LPARAM lparam) { return (lparam & (LPARAM(1) << 29)) != 0 || held(VK_MENU); }

OsEvent key_event(OsEventType type, WPARAM wparam, LPARAM lparam) {
    OsEvent ev;
    ev.type = type;
    ev.vkey = int(wparam & 0xFF);
    ev.shift = held(VK_SHIFT);
    ev.ctrl = held(VK_CONTROL);
    ev.alt = alt_held(lparam);
    return ev;
}

// Alt combinations the console takes itself: Alt with a letter or a digit
// (its Alt code) and Alt+Left, Alt+Right (moved as plain Left and Right).
bool console_takes_alt(int vkey) {
    return (vkey >= 'A' && vkey <= 'Z') || (vkey >= '0' && vkey <= '9') || vkey == VK_LEFT || vkey == VK_RIGHT;
}

bool key_down(UINT message, WPARAM wparam, LPARAM lparam) {
    OsEvent ev = key_event(OsEventType::KeyDown, wparam, lparam);
    win32_events_push(ev);
    if (ev.vkey == VK_MENU) {
        if (message == WM_SYSKEYDOWN) g_keys.alt_alone = true;
        return false;
    }
    g_keys.alt_alone = false;
    // Without Alt a system key is F10: the console's, not the menu's.
    if (message != WM_SYSKEYDOWN || !ev.alt || ev.ctrl) return true;
    return console_takes_alt(ev.vkey);
}

bool key_up(UINT message, WPARAM wparam, LPARAM lparam) {
    OsEvent ev = key_event(OsEventType::KeyUp, wparam, lparam);
    win32_events_push(ev);
    if (message != WM_SYSKEYUP || ev.vkey != VK_MENU) return true;
    bool alone = g_keys.alt_alone;
    g_keys.alt_alone = false;
    return !alone;
}

void character(WPARAM wparam, LPARAM lparam) {
    unsigned unit = unsigned(wparam & 0xFFFF);
    if (unit >= 0xDC00 && unit <= 0xDFFF) return;  // the second half of a pair already counted
    OsEvent ev;
    ev.shift = held(VK_SHIFT);
    ev.ctrl = held(VK_CONTROL);
    ev.alt = alt_held(lparam);
    int b = unit >= 0xD800 && unit <= 0xDBFF ? -1 : codepage_byte(unit);
    if (b < 0) {
        ev.type = OsEventType::Untypeable;
    } else {
        ev.type = OsEventType::Char;
        ev.ch = static_cast<unsigned char>(b);
    }
    win32_events_push(ev);
}
}  // namespace

void win32_keys_reset() { g_keys = KeysState{}; }

bool win32_keys_message(UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
        case WM_KEYDOWN:
        case WM_SYSKEYDOWN: return key_down(message, wparam, lparam);
        case WM_KEYUP:
        case WM_SYSKEYUP: return key_up(message, wparam, lparam);
        case WM_CHAR: character(wparam, lparam); return true;
        case WM_SYSCHAR:
            // Alt+letter and Alt+digit already gave their Alt code; the
            // system would only beep for a menu that is not there.
            return console_takes_alt(wparam >= 'a' && wparam <= 'z' ? int(wparam) - 32 : int(wparam));
        case WM_DEADCHAR:
        case WM_SYSDEADCHAR: return true;
        default: return false;
    }
}
