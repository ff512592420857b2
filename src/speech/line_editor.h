// The spoken line editor: a one-line field at a console position that a
// blind user drives by ear. speech_read_line (speech.h) reads the game's
// commands through it.
#pragma once

#include <cstdint>
#include <string>

// The longest field the editor keeps; a larger maximum is cut to it.
constexpr int EDITOR_MAX_LENGTH = 2048;

// Edits `text` in a field of `width` visible columns starting at (column,
// row), keeping at most `maximum_length` characters. A read-only field
// (editable false) moves, reads and copies but never changes. Returns the
// key code that ended the edit (13 Return, 27 Esc, 9 Tab, 10 Ctrl+Return, or
// an extended code such as 72 Up); `text` comes back without trailing blanks.
uint8_t speech_edit_field(std::string& text, int column, int row, bool editable, int width, int maximum_length);

// Installs the screen review mode that Ctrl+Alt+F9 enters (it sits above
// the front end, which speaks for it); without one the key beeps.
void speech_set_screen_review(void (*run)());

// speech_edit_field with the width from the column to the right edge of the
// screen (78 for a field at column 1).
uint8_t speech_edit_at_cursor(std::string& text, int column, int row, bool editable, int maximum_length);
