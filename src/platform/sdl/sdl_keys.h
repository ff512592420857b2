// The keyboard of the window: SDL key and text events translated into the
// console's messages (virtual keys with Shift, Ctrl and Alt, key releases,
// Latin-1 characters and the control characters a keyboard types).
#pragma once

#include <SDL2/SDL.h>

#include "platform/os.h"

// Most messages one SDL event turns into (a text event of single bytes).
constexpr int SDL_KEYS_MAX_OUT = SDL_TEXTINPUTEVENT_TEXT_SIZE;

// Forgets what the last key press said about the text that follows it.
void sdl_keys_reset();
// The virtual key of a physical key; 0 for keys without one.
int sdl_keys_vkey(SDL_Keycode sym, SDL_Scancode scancode, Uint16 mod);
// Translates one keyboard or text event into up to `capacity` messages and
// returns how many. `next_text` is the text of a text event queued right
// after a key press (null when there is none): a right Alt with which a key
// types something else than its own letter is the AltGr shift, not Alt.
int sdl_keys_translate(const SDL_Event& event, const char* next_text, OsEvent* out, int capacity);
