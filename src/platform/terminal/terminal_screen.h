// The 80x25 grid drawn on a terminal with 24-bit colour escapes: a cache of
// the cells the console drew and of what the terminal shows, so that only
// changed cells are sent. Pure: the bytes go to a writer function.
#pragma once

#include <cstddef>
#include <string>

#include "platform/os.h"

constexpr int TERM_SCREEN_MAX_COLUMNS = 80;
constexpr int TERM_SCREEN_MAX_ROWS = 25;

// Restores the start-up state: closed, every cell a blank in black.
void term_screen_reset();
// Where the escape bytes go.
void term_screen_set_writer(void (*write)(const char* bytes, size_t count));
// The calls below build their output; this sends it in one write (and puts
// the cursor under the caret). The backend flushes before every wait, so a
// whole repaint reaches the terminal at once.
void term_screen_flush();

// Takes over a terminal of cols x rows: clears it and paints the grid, or
// shows the too-small message.
void term_screen_open(int cols, int rows);
// Releases the terminal screen (cleared, cursor shown); draws are kept in the
// cache but not sent until the next open.
void term_screen_close();
bool term_screen_is_open();

// One run of Latin-1 characters in one colour pair at the zero-based cell
// (col, row); parts outside the grid are cut off.
void term_screen_draw(int col, int row, const unsigned char* chars, int count, OsRgb fg, OsRgb bg);
// The terminal cursor stands in for the caret.
void term_screen_caret(bool visible, int col, int row);
// The terminal now has cols x rows. Returns true when the grid was cleared
// and repainted from the cache (the console should repaint it too).
bool term_screen_resize(int cols, int rows);
// Clears and repaints everything from the cache (after the terminal was
// taken away, e.g. while the program was stopped).
void term_screen_repaint();
// Whether the terminal is smaller than the grid (the message is shown instead).
bool term_screen_too_small();
// The message shown on a terminal of cols x rows that cannot hold the grid (UTF-8).
std::string term_screen_small_message(int cols, int rows);

// The rows of the last screen drawn as plain UTF-8 lines, each ended by
// "\r\n", trailing blanks and trailing empty rows left out: what stays on the
// terminal's own screen when the program ends. Empty when no screen was opened.
std::string term_screen_final_rows();

// The terminal's title (Latin-1; control characters are dropped).
void term_screen_title(const std::string& title);
void term_screen_beep();
