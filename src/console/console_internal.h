// Links between the console's own files (screen, keyboard, braille, screen
// log); not for other modules.
#pragma once

#include <cstdint>
#include <string>

// Screen.
void console_screen_reset();
bool console_is_open();
void console_screen_closed();
int console_configured_braille_mode();
// Shows the caret at the cursor cell, or hides it.
void console_caret_place(bool visible);
// A number the way the console's settings are read: optional blanks and
// sign, then the digits before the first bad character (0 if none).
int console_parse_leading_number(const std::string& text);
// The TABCORES value into the 16-entry colour map.
void console_parse_colour_map(const std::string& value, int map[16]);

// Screen log (FUGA_SCREEN_LOG).
void console_screen_log_install();
void console_screen_log_scrolled(const unsigned char* row, int count);
void console_screen_log_reset();
// The rows that scrolled off followed by the current screen, UTF-8, trailing
// blanks and trailing empty rows removed.
std::string console_screen_log_text();

// Key queue (key_queue.cpp).
struct OsEvent;
// Turns a key-down, key-up or character message into queued bytes.
void console_queue_key_event(const OsEvent& ev);
void console_key_queue_reset();
int console_keys_queued();
// Removes and returns the first queued byte; the queue must not be empty.
uint8_t console_take_key();

// Message pump (message_pump.cpp).
// Resets the pump and the key queue.
void console_keyboard_reset();
// Handles one message from the platform (key, character, close, paint...).
void console_handle_event(const OsEvent& ev);
// Whether console_read_key is waiting for a key; and whether it also shows
// the caret because the screen has the focus.
bool console_reading_key();
bool console_reading_focused();

// Braille keyboard.
void console_braille_reset();
// Applies a mode change (with its announcement tones).
void console_apply_braille_mode(int mode);
// True when the key was taken as a chord key.
bool console_braille_key_down(int vkey);
// True when the key-up was handled by the braille keyboard.
bool console_braille_key_up(int vkey, bool ctrl);
