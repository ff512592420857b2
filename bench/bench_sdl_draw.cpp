// Cost of the window backend's software drawing: a full-screen repaint, a
// one-row write, a pixel scroll and the magnifier, each with the copy onto
// a window-sized surface. Arguments: cell width and height in pixels.
#include <benchmark/benchmark.h>

#include <cstring>

#include "platform/sdl/sdl_draw.h"
#include "platform/sdl/sdl_font.h"
#include "platform/sdl/sdl_magnifier.h"

namespace {
const unsigned char* ROW_TEXT = reinterpret_cast<const unsigned char*>(
    "Voc\xEA est\xE1 no p\xE1tio da pris\xE3o. Sa\xED" "das: norte, sul e leste. Objetos: uma p\xE1 e uma chave.              ");

struct Screen {
    SDL_Surface* window = nullptr;
    bool open(int cell_w, int cell_h) {
        if (!sdl_font_open("Lucida Console", 700, cell_w, cell_h)) return false;
        if (!sdl_draw_create(80, 25, sdl_font_metrics())) return false;
        SDL_Surface* canvas = sdl_draw_canvas();
        window = SDL_CreateRGBSurfaceWithFormat(0, canvas->w, canvas->h, 32, SDL_PIXELFORMAT_RGB888);
        return window != nullptr;
    }
    void present() {
        SDL_Rect area;
        if (sdl_draw_take_dirty(area)) sdl_draw_compose(window, area);
    }
    ~Screen() {
        if (window) SDL_FreeSurface(window);
        sdl_magnifier_stop();
        sdl_draw_destroy();
        sdl_font_close();
    }
};

// A row as the game writes it: a yellow prompt, white text, a grey tail.
void draw_row(int row) {
    sdl_draw_run(0, row, ROW_TEXT, 11, OsRgb{255, 255, 0}, OsRgb{0, 0, 0});
    sdl_draw_run(11, row, ROW_TEXT + 11, 55, OsRgb{255, 255, 255}, OsRgb{0, 0, 0});
    sdl_draw_run(66, row, ROW_TEXT + 66, 14, OsRgb{192, 192, 192}, OsRgb{0, 0, 0});
}

void BM_FullRepaint(benchmark::State& state) {
    Screen s;
    if (!s.open(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)))) {
        state.SkipWithError("no font");
        return;
    }
    for (auto _ : state) {
        for (int row = 0; row < 25; ++row) draw_row(row);
        s.present();
    }
}
BENCHMARK(BM_FullRepaint)->Args({13, 28})->Args({16, 39})->Unit(benchmark::kMicrosecond);

void BM_OneRowWrite(benchmark::State& state) {
    Screen s;
    if (!s.open(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)))) {
        state.SkipWithError("no font");
        return;
    }
    for (auto _ : state) {
        sdl_draw_run(11, 24, ROW_TEXT + 11, 40, OsRgb{255, 255, 255}, OsRgb{0, 0, 0});
        s.present();
    }
}
BENCHMARK(BM_OneRowWrite)->Args({13, 28})->Args({16, 39})->Unit(benchmark::kMicrosecond);

void BM_PixelScroll(benchmark::State& state) {
    Screen s;
    if (!s.open(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)))) {
        state.SkipWithError("no font");
        return;
    }
    for (int row = 0; row < 25; ++row) draw_row(row);
    for (auto _ : state) {
        sdl_draw_scroll(OsRgb{0, 0, 0});
        s.present();
    }
}
BENCHMARK(BM_PixelScroll)->Args({13, 28})->Args({16, 39})->Unit(benchmark::kMicrosecond);

void BM_MagnifiedView(benchmark::State& state) {
    Screen s;
    if (!s.open(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)))) {
        state.SkipWithError("no font");
        return;
    }
    for (int row = 0; row < 25; ++row) draw_row(row);
    sdl_magnifier_start(400, 300, 2);
    for (auto _ : state) sdl_draw_compose(s.window, SDL_Rect{0, 0, s.window->w, s.window->h});
}
BENCHMARK(BM_MagnifiedView)->Args({13, 28})->Args({16, 39})->Unit(benchmark::kMicrosecond);
}  // namespace
