// A console that draws through SDL itself.
#include <SDL2/SDL.h>
#include "SDL_ttf.h"
