// The keyboard of the console window: key-down, key-up and character
// messages turned into the console's messages (virtual keys with Shift, Ctrl
// and Alt, releases for the braille chords, Latin-1 characters).
#pragma once

#include <windows.h>

// Handles a keyboard message of the console window. False when it belongs
// to the system's default handling as well (Alt+F4, Alt+Space, the Alt key
// tapped alone): the caller passes it on.
bool win32_keys_message(UINT message, WPARAM wparam, LPARAM lparam);
void win32_keys_reset();
