// The window: size from the font settings and the work area, creation, the
// title, and presenting the screen image on the window surface.
#include "platform/sdl/sdl_window.h"

#include "platform/screen_cell_size.h"
#include "platform/sdl/sdl_draw.h"
#include "platform/sdl/sdl_font.h"
#include "platform/sdl/sdl_magnifier.h"
#include "util/latin1.h"

namespace {
// The grid the window is sized for and the smallest part of it kept visible.
constexpr int WINDOW_COLUMNS = 80;
constexpr int WINDOW_MIN_COLUMNS = 16;
constexpr int WINDOW_MIN_ROWS = 4;
// A program that writes and polls in a burst (its start, a long text) is
// shown at most this often while it polls; a wait shows everything at once.
constexpr Uint64 WINDOW_POLL_PRESENT_MS = 30;

struct WindowState {
    SDL_Window* window = nullptr;
    int magnifier = 2;
    bool slow_scroll = false;
    bool full_refresh = false;
    Uint64 shown_at = 0;  // when the image was last put on the window
} g_window;

int clamp(int v, int lo, int hi) { return v < lo ? lo : (v > hi ? hi : v); }
}  // namespace

bool sdl_window_open(const OsScreenConfig& cfg) {
    sdl_window_close();
    SDL_Rect work{0, 0, 0, 0};
    if (SDL_GetDisplayUsableBounds(0, &work) != 0) work = SDL_Rect{0, 0, 0, 0};
    SDL_Rect screen{0, 0, 0, 0};
    if (SDL_GetDisplayBounds(0, &screen) != 0) screen = work;
    int cell_w = 0, cell_h = 0;
    screen_cell_size(cfg, work.w, work.h, cell_w, cell_h);
    if (!sdl_font_open(cfg.font_face, cfg.font_weight, cell_w, cell_h)) return false;
    SdlFontMetrics m = sdl_font_metrics();
    int columns = clamp(cfg.columns, 1, 1000), rows = clamp(cfg.rows, 1, 1000);
    if (!sdl_draw_create(columns, rows, m)) {
        sdl_font_close();
        return false;
    }
    int width = WINDOW_COLUMNS * m.cell_w, height = rows * m.cell_h;
    int max_w = screen.w > 0 && screen.w < width ? screen.w : width;
    int max_h = screen.h > 0 && screen.h < height ? screen.h : height;
    Uint32 flags = SDL_WINDOW_RESIZABLE | (cfg.start_maximised ? SDL_WINDOW_MAXIMIZED : 0);
    // The maximised window is no larger than the grid, so it sits at the top
    // left corner of the work area.
    int x = cfg.start_maximised ? work.x : static_cast<int>(SDL_WINDOWPOS_UNDEFINED);
    int y = cfg.start_maximised ? work.y : static_cast<int>(SDL_WINDOWPOS_UNDEFINED);
    g_window.window = SDL_CreateWindow(utf8(cfg.title).c_str(), x, y, max_w, max_h, flags);
    if (!g_window.window) {
        sdl_draw_destroy();
        sdl_font_close();
        return false;
    }
    SDL_SetWindowMinimumSize(g_window.window, WINDOW_MIN_COLUMNS * m.cell_w, WINDOW_MIN_ROWS * m.cell_h);
    SDL_SetWindowMaximumSize(g_window.window, max_w, max_h);
    g_window.magnifier = cfg.magnifier < 1 ? 2 : cfg.magnifier;
    g_window.slow_scroll = cfg.slow_scroll;
    SDL_StartTextInput();
    // Drawn at the next wait for a message, after the program has written
    // its first screen and started its first sound: the polls of the first
    // writes come before the interval has passed.
    sdl_window_refresh();
    g_window.shown_at = SDL_GetTicks64();
    return true;
}

void sdl_window_close() {
    if (g_window.window) {
        SDL_StopTextInput();
        SDL_DestroyWindow(g_window.window);
    }
    sdl_magnifier_stop();
    sdl_draw_destroy();
    sdl_font_close();
    g_window = WindowState{};
}

bool sdl_window_is_open() { return g_window.window != nullptr; }
Uint32 sdl_window_id() { return g_window.window ? SDL_GetWindowID(g_window.window) : 0; }
int sdl_window_magnifier() { return g_window.magnifier; }
bool sdl_window_slow_scroll() { return g_window.slow_scroll; }

bool sdl_window_clear_of_bottom(int margin) {
    if (!g_window.window) return false;
    int x = 0, y = 0, w = 0, h = 0, top = 0, left = 0, bottom = 0, right = 0;
    SDL_GetWindowPosition(g_window.window, &x, &y);
    SDL_GetWindowSize(g_window.window, &w, &h);
    if (SDL_GetWindowBordersSize(g_window.window, &top, &left, &bottom, &right) != 0) bottom = 0;
    int display = SDL_GetWindowDisplayIndex(g_window.window);
    SDL_Rect screen;
    if (display < 0 || SDL_GetDisplayBounds(display, &screen) != 0) return false;
    return y + h + bottom < screen.y + screen.h - margin;
}

void sdl_window_title(const std::string& latin1_title) {
    if (g_window.window) SDL_SetWindowTitle(g_window.window, utf8(latin1_title).c_str());
}

bool sdl_window_message_box(const std::string& latin1_title, const std::string& latin1_text) {
    return SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_WARNING, utf8(latin1_title).c_str(), utf8(latin1_text).c_str(),
                                    g_window.window) == 0;
}

void sdl_window_refresh() {
    g_window.full_refresh = true;
}

void sdl_window_present() {
    if (!g_window.window) return;
    SDL_Rect area;
    bool changed = sdl_draw_take_dirty(area);
    if (!changed && !g_window.full_refresh) return;
    SDL_Surface* surface = SDL_GetWindowSurface(g_window.window);
    if (!surface) return;
    if (g_window.full_refresh || sdl_magnifier_active()) area = SDL_Rect{0, 0, surface->w, surface->h};
    g_window.full_refresh = false;
    SDL_Rect bounds{0, 0, surface->w, surface->h};
    if (!SDL_IntersectRect(&area, &bounds, &area)) return;
    sdl_draw_compose(surface, area);
    SDL_UpdateWindowSurfaceRects(g_window.window, &area, 1);
    g_window.shown_at = SDL_GetTicks64();
}

void sdl_window_present_when_due() {
    if (g_window.window && SDL_GetTicks64() - g_window.shown_at >= WINDOW_POLL_PRESENT_MS) sdl_window_present();
}
