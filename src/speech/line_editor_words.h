// The line editor's text operations without sound: word moves, the word
// under the cursor, copy and paste. The text is the padded field (its length
// is the field's maximum length); positions are 1-based and may be one past
// the end.
#pragma once

#include <string>

// A move's new position; `boundary` true means the attention tone, else the
// click.
struct EditorMove {
    int position;
    bool boundary;
};

// Ctrl+Right: past the digits or the word (its first character and the
// letters after it), then past the blanks. When only blanks follow, the
// position goes just after the last non-blank character and it is a boundary.
EditorMove editor_word_right(const std::string& text, int position);
// Ctrl+Left: back over the blanks, then to the first character of the word
// or number before them. With nothing but blanks before the position (or at
// position 1) it goes to 1 and it is a boundary.
EditorMove editor_word_left(const std::string& text, int position);

// What Ctrl+Backspace removes: the moves it makes, in order (word left when
// the cursor is just after a non-blank, word right, word left), and the span.
struct EditorWordDelete {
    EditorMove moves[3];
    int move_count;
    int start;  // position of the first removed character
    int count;  // characters removed (0 when there is nothing)
};
EditorWordDelete editor_word_delete(const std::string& text, int position);

// What F1 reads at the position, after skipping blanks.
enum class EditorWordKind {
    Say,    // a number, or a word with a vowel: spoken
    Spell,  // a word of consonants only, or one other character: spelled
    End,    // only blanks up to the end: the attention tone, no move
};
struct EditorWord {
    EditorWordKind kind;
    std::string text;
    int next_position;  // past what was read (unchanged for End)
};
EditorWord editor_word_at(const std::string& text, int position);

// The word around the position that F12 opens: up to the blanks on either
// side, with brackets, quotes, stars, dashes, full stops, "<=>" and "_"
// stripped from both ends. "" when nothing remains.
std::string editor_open_target(const std::string& text, int position);

// The clipboard text of a copy: with a selection (start and end set and
// different, in either order) its characters, else the whole field without
// trailing blanks followed by CR LF.
std::string editor_copy_text(const std::string& text, int selection_start, int selection_end);

// A paste of `clip` (already cut at its first line end) over the selection
// [start, end) or, without one (start 0), at the position. The field keeps
// its length; the cursor goes to the start of the pasted text, which becomes
// the selection.
struct EditorPaste {
    std::string text;
    int position;
    int selection_start;
    int selection_end;
};
EditorPaste editor_paste(const std::string& text, int position, int selection_start, int selection_end,
                         const std::string& clip);

// The clipboard text up to its first CR or LF.
std::string editor_first_line(const std::string& clip);
// Index of the last non-blank character, 0 for an all-blank text.
int editor_last_nonblank(const std::string& text);
// The text without trailing blanks.
std::string editor_trim(const std::string& text);
