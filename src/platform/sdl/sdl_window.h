// The window: its size from the font settings and the work area, creation,
// the title, and bringing the screen image onto it.
#pragma once

#include <SDL2/SDL.h>

#include <string>

#include "platform/os.h"

// Opens the font, the screen image and the window. False when one of them
// cannot be created.
bool sdl_window_open(const OsScreenConfig& cfg);
void sdl_window_close();
bool sdl_window_is_open();
Uint32 sdl_window_id();
int sdl_window_magnifier();
bool sdl_window_slow_scroll();
// Whether the window's bottom edge is more than `margin` pixels above the
// bottom of its display.
bool sdl_window_clear_of_bottom(int margin);
void sdl_window_title(const std::string& latin1_title);
// A modal message box over the window (or on its own when none is open).
bool sdl_window_message_box(const std::string& latin1_title, const std::string& latin1_text);
// The window was resized or uncovered: everything is shown again.
void sdl_window_refresh();
// Shows on the window what changed in the screen image since the last call.
void sdl_window_present();
// The same, unless the window was last shown (or opened) less than a short
// interval ago: for polls, which come in bursts while the program writes.
void sdl_window_present_when_due();
