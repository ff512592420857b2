// The window's font: the configured face found through fontconfig, fitted to
// the character cell, and the rendering of one run of text.
#pragma once

#include <SDL2/SDL.h>

#include <string>

// The longest run one render call takes.
constexpr int SDL_FONT_MAX_RUN = 256;

struct SdlFontMetrics {
    int cell_w = 0, cell_h = 0;  // one character cell in pixels
    int ascent = 0;              // baseline, from the top of the cell
};

// Opens `face` (Latin-1 name; DejaVu Sans Mono when it is not installed) with
// the given weight (>= 600 is bold), fitted so that its line is at most cell_h
// pixels high and its characters cell_w pixels wide. cell_w <= 0 keeps the
// face's own width at that height. False when no usable font exists at all.
bool sdl_font_open(const std::string& face, int weight, int cell_w, int cell_h);
void sdl_font_close();
bool sdl_font_ready();
SdlFontMetrics sdl_font_metrics();
// The font file in use, and whether the configured face itself was found.
std::string sdl_font_file();
bool sdl_font_face_found();
// True when every character advances exactly one cell, so runs are drawn
// unscaled; false means runs are stretched to their cells.
bool sdl_font_fits_cells();
// Whether any font file can be found (the backend cannot run without one).
bool sdl_font_available();

// Renders `count` Latin-1 characters (bytes 128..159 as the Windows code
// page shows them) in one call, antialiased from bg to fg. The caller frees
// the surface. Null when the text has no width. At most SDL_FONT_MAX_RUN
// characters are taken.
SDL_Surface* sdl_font_render(const unsigned char* chars, int count, SDL_Color fg, SDL_Color bg);

// The program's one-byte character set: Latin-1, with bytes 128..159 as the
// Windows code page has them. The character a byte shows, and the byte of a
// character (-1 when the set has none).
Uint32 sdl_codepage_char(unsigned char byte);
int sdl_codepage_byte(Uint32 code_point);
