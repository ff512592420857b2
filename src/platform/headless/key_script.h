// Key scripts of the headless backend (FUGA_KEYS): parsing the file's text
// into key items and turning each item into the events a window would give.
//
// Script syntax (UTF-8 text; a file that is not valid UTF-8 is read as
// Latin-1 bytes):
//   plain text        typed character by character; a tab types Tab; a
//                     character outside the code page arrives as untypeable
//   line end          types Return ("\n", "\r\n" or a lone "\r")
//   {Name}            a named key: Esc Enter Tab Backspace Delete Insert Home
//                     End PageUp PageDown Up Down Left Right F1..F12 Space,
//                     Break (Ctrl+Break) and Close (the window's close request);
//                     also a single letter or digit
//   {Ctrl+Alt+Name}   the same with modifiers Ctrl, Alt, Shift joined by "+";
//                     {Alt+F4} also asks the window to close, as a window does
//   {down K} {up K}   only the key-down or key-up of K (braille chords)
//   {wait N}          the next key comes N virtual milliseconds after the
//                     previous one, whether or not the program waits for it;
//                     at the end of the script it times the close request
//   {{                types "{"
// Names are compared without regard to case.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "platform/os.h"

constexpr size_t KEY_SCRIPT_MAX_ITEMS = 1000000;
// The longest script file read; a longer one is refused.
constexpr size_t KEY_SCRIPT_MAX_BYTES = 16 * 1024 * 1024;
constexpr int KEY_SCRIPT_MAX_WAIT_MS = 3600000;
// The most events one key item becomes (key-down, character or close, key-up).
constexpr int KEY_SCRIPT_MAX_EVENTS = 3;

enum class KeyItemKind {
    Press,  // key-down, the character it types (if any), key-up
    Down,   // key-down only
    Up,     // key-up only
    Close,  // the window's close request
    Untypeable,  // a character outside the code page: the program beeps
};

struct KeyItem {
    KeyItemKind kind = KeyItemKind::Press;
    int vkey = 0;           // Windows virtual key; 0 for characters without one
    unsigned char ch = 0;   // Latin-1 character the key types unmodified; 0: none
    bool shift = false, ctrl = false, alt = false;
    int wait_ms = -1;       // -1: delivered when the program waits for a key
    int line = 1;           // line of the script it came from
};

struct KeyScriptError {
    int line = 0;
    std::string message;
};

// Parses a whole script. On failure returns false, fills `error` with the
// line and a message, and leaves `items` with what was parsed before it.
bool key_script_parse(std::string_view text, std::vector<KeyItem>& items, KeyScriptError& error);

// The events a window gives for one item, in order; returns their count
// (at most KEY_SCRIPT_MAX_EVENTS).
int key_item_events(const KeyItem& item, OsEvent out[KEY_SCRIPT_MAX_EVENTS]);
