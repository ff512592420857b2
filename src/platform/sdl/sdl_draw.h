// The screen image of the window: a software surface of columns x rows
// cells that every draw call paints, and its composition with the caret and
// the magnifier onto a target surface (the window's, or a test's).
#pragma once

#include <SDL2/SDL.h>

#include "platform/os.h"
#include "platform/sdl/sdl_font.h"

// Creates the image (black) for a grid of the given size in the font's cells.
bool sdl_draw_create(int columns, int rows, const SdlFontMetrics& metrics);
void sdl_draw_destroy();
SDL_Surface* sdl_draw_canvas();
SdlFontMetrics sdl_draw_metrics();
int sdl_draw_columns();
int sdl_draw_rows();

// One run of one attribute at the zero-based cell (col, row): the cells are
// filled with bg and the characters drawn with a single render call. Cells
// outside the grid are cut off. The glyphs are rendered, in the order of the
// runs, when the image is next used (sdl_draw_canvas, scroll, compose).
void sdl_draw_run(int col, int row, const unsigned char* chars, int count, OsRgb fg, OsRgb bg);
// Moves the image up one row and fills the freed bottom row with bg.
void sdl_draw_scroll(OsRgb bg);

// The caret: one cell wide, two pixels high, at the baseline of its cell.
void sdl_draw_set_caret(bool visible, int col, int row);
bool sdl_draw_caret_visible();
SDL_Rect sdl_draw_caret_rect();

// The area of the image changed since the last call; false when none.
bool sdl_draw_take_dirty(SDL_Rect& area);
void sdl_draw_mark_dirty(const SDL_Rect& area);

// Paints `area` of `target` from the image: black beyond the image, the
// caret inverted over it; the whole target shows the magnified image while
// the magnifier is on.
void sdl_draw_compose(SDL_Surface* target, SDL_Rect area);

// The cells a pixel rectangle touches, clipped to the grid: [col0,col1) x
// [row0,row1).
void sdl_draw_cells_of(const SDL_Rect& pixels, int& col0, int& row0, int& col1, int& row1);
