// How a window translates a key press, the same for every backend: which
// presses also type a character, and which one asks the window to close.
#pragma once

// The character message a press gives, -1 for none. `plain` is what the key
// types with no modifier (-1: nothing, or it comes by another way, such as a
// text event). Alt types nothing; Ctrl makes a letter's control code, keeps
// the characters of Backspace, Return, Esc and Space (the console reads the
// Ctrl flag of those) and types nothing else.
int key_typed_char(int vkey, int plain, bool ctrl, bool alt);

// Alt+F4 (without Ctrl) is the window's close request, as a window manager
// takes it.
bool key_closes_window(int vkey, bool ctrl, bool alt);
