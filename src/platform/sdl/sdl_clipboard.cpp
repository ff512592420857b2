// The system clipboard through SDL, converted between UTF-8 and Latin-1.
#include "platform/sdl/sdl_clipboard.h"

#include <SDL2/SDL.h>

#include "util/latin1.h"

void sdl_clipboard_set(const std::string& text) {
    // The program's strings may carry a terminating zero; the clipboard's
    // text ends there.
    std::string shown = text.substr(0, text.find('\0'));
    SDL_SetClipboardText(utf8(shown).c_str());
}

bool sdl_clipboard_get(std::string& text) {
    if (!SDL_HasClipboardText()) return false;
    char* raw = SDL_GetClipboardText();
    if (!raw) return false;
    text = latin1(raw);
    SDL_free(raw);
    return !text.empty();
}
