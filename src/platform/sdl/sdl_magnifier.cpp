// The magnifier: its state while the right button is held and the stretched
// view of the screen image.
#include "platform/sdl/sdl_magnifier.h"

namespace {
struct MagnifierState {
    bool active = false;
    int x = 0, y = 0;
    int factor = 2;
} g_magnifier;
}  // namespace

void sdl_magnifier_start(int x, int y, int factor) {
    g_magnifier.active = true;
    g_magnifier.x = x;
    g_magnifier.y = y;
    g_magnifier.factor = factor < 1 ? 2 : factor;
}

void sdl_magnifier_move(int x, int y) {
    g_magnifier.x = x;
    g_magnifier.y = y;
}

void sdl_magnifier_stop() { g_magnifier.active = false; }
bool sdl_magnifier_active() { return g_magnifier.active; }

SDL_Rect sdl_magnifier_source(int x, int y, int factor, int w, int h) {
    if (factor < 1) factor = 2;
    int sx = x - x / factor, sy = y - y / factor;
    return SDL_Rect{sx < 0 ? 0 : sx, sy < 0 ? 0 : sy, w / factor, h / factor};
}

void sdl_magnifier_draw(SDL_Surface* image, SDL_Surface* target) {
    if (!image || !target) return;
    SDL_FillRect(target, nullptr, SDL_MapRGB(target->format, 0, 0, 0));
    SDL_Rect source = sdl_magnifier_source(g_magnifier.x, g_magnifier.y, g_magnifier.factor, image->w, image->h);
    if (source.w <= 0 || source.h <= 0) return;
    SDL_Rect dest{0, 0, image->w, image->h};
    // Nearest-neighbour keeps the enlarged letters sharp; SDL clips a source
    // that reaches past the image and shrinks the destination to match.
    SDL_BlitScaled(image, &source, target, &dest);
}
