// The magnifier: while the right mouse button is held the window shows the
// screen image enlarged around the mouse, the point under it staying put.
#pragma once

#include <SDL2/SDL.h>

// factor < 1 is taken as 2.
void sdl_magnifier_start(int x, int y, int factor);
void sdl_magnifier_move(int x, int y);
void sdl_magnifier_stop();
bool sdl_magnifier_active();

// The part of a w x h image shown over the whole of it with the mouse at
// (x, y): it starts at (max(0, x - x/f), max(0, y - y/f)) and is w/f x h/f.
SDL_Rect sdl_magnifier_source(int x, int y, int factor, int w, int h);
// Draws the magnified `image` over the whole of `target`.
void sdl_magnifier_draw(SDL_Surface* image, SDL_Surface* target);
