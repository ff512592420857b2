// The screen review mode: a key-driven reader of the console grid (by
// character, word, line, colour field, range, search and go-to) that speaks
// only through the speech front end and never changes the grid. Positions
// are 1-based (row, column); the review column may be 81, just past the last
// column.
#pragma once

#include <cstdint>
#include <string>

// The review reads 80 columns whatever else the console could do.
constexpr int REVIEW_COLUMNS = 80;
// The longest search text kept.
constexpr int REVIEW_MAX_SEARCH = 255;

// Back to the start-up state: cursor at (1, 1), no field, empty search text.
void review_reset();

// The mode: beeps, walks the screen by the keys until Esc, beeps twice and
// puts the console cursor back where it was. Owns the keyboard while it runs.
void review_run();

// The review cursor (tests, and the line editor's view of where it ended).
int review_row();
int review_column();
void review_set_position(int row, int column);
int review_field_start();
int review_field_end();
// The text that the search commands look for; it outlives the mode.
const std::string& review_search_text();
void review_set_search_text(const std::string& text);

// The grid as the review sees it: a blank (attribute 0) outside the 80
// columns and the console's rows.
uint8_t review_char_at(int row, int column);
uint8_t review_attribute_at(int row, int column);

// Character classes: letters, digits and the Portuguese accented letters;
// the consonant letters (no accented one); the marks that end a field.
bool review_is_word_char(uint8_t c);
bool review_is_consonant(uint8_t c);
bool review_is_field_separator(uint8_t c);

// What a cursor move sounds like.
enum class ReviewSound { None, Click, Beep };
struct ReviewMove {
    int column;
    ReviewSound sound;
};
// The word moves on one row (Ctrl+Left, Ctrl+Right). At the row's end the
// next-word move beeps and lands just after the row's last character.
ReviewMove review_previous_word(int row, int column);
ReviewMove review_next_word(int row, int column);
// 1 + the last column of the row holding a non-blank character: 1 for a
// blank row, 81 when column 80 is not blank.
int review_end_of_line_column(int row);

// The run of cells of the colour at (row, column) that holds no separator.
// When the cell itself fails, start is column + 1 and end column - 1.
struct ReviewField {
    int start;
    int end;
};
ReviewField review_field_at(int row, int column);

// The first letter A..Z or a..z of the screen (rows from the top, columns
// left to right) and the last one (from the bottom, right to left); false
// and nothing changed when the screen holds none.
bool review_first_letter(int& row, int& column);
bool review_last_letter(int& row, int& column);

// Puts a position back inside the grid: column 1..81 becomes 1 or 80 at
// the edges past them, row 1..rows. Returns how many of the four edges were
// crossed (each one beeps and drops the keys typed ahead).
int review_clamp(int& row, int& column, int rows);

// The whole screen, each row's 80 characters followed by CR LF.
std::string review_screen_text();
// The column (1-based) where `text` first occurs on `row` after column
// `after`, 0 when it does not (an empty text never occurs).
int review_find_in_row(int row, int after, const std::string& text);

// The reading operations at the review cursor. review_field_bounds measures
// the field under the cursor into field start and end; review_end_of_line
// moves the cursor just after the row's last character.
void review_field_bounds();
void review_end_of_line();
// Reads the word at the cursor (skipping blanks first) and moves past it:
// a run of one character is said as at most three, a word of consonants
// only is spelled.
void review_read_word();
// Reads the rows from (start row, start column) to (end row, end column),
// each row after the first from its column 1, and stops at a key. With
// `returns` the cursor comes back where it was; otherwise it stays at the
// end of what was read.
void review_read_range(int start_row, int start_column, int end_row, int end_column, bool returns);
