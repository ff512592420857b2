// How a window translates a key press, the same for every backend: which
// presses also type a character, and which one asks the window to close.
#pragma once

#include "platform/os.h"

// The character message a press gives, -1 for none. `plain` is what the key
// types with no modifier (-1: nothing, or it comes by another way, such as a
// text event). Alt types nothing; Ctrl makes a letter's control code, keeps
// the characters of Backspace, Return, Esc and Space (the console reads the
// Ctrl flag of those) and types nothing else.
// Inline: it runs for every byte a terminal sends.
inline int key_typed_char(int vkey, int plain, bool ctrl, bool alt) {
    if (alt) return -1;
    if (!ctrl) return plain;
    if (vkey >= 'A' && vkey <= 'Z') return vkey & 31;
    switch (vkey) {
    case VK_BACK_KEY: return 8;
    case VK_RETURN_KEY: return 13;
    case VK_ESCAPE_KEY: return 27;
    case VK_SPACE_KEY: return ' ';
    default: return -1;
    }
}

// Alt+F4 (without Ctrl) is the window's close request, as a window manager
// takes it.
inline bool key_closes_window(int vkey, bool ctrl, bool alt) { return alt && !ctrl && vkey == VK_F1_KEY + 3; }
