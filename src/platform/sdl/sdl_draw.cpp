// The window's screen image: runs of text, scrolling, the caret and the
// composition onto the window surface.
#include "platform/sdl/sdl_draw.h"

#include <cstring>
#include <string>
#include <vector>

#include "platform/sdl/sdl_magnifier.h"

namespace {
constexpr int DRAW_CARET_HEIGHT = 2;
// Runs kept before they are rendered; more are rendered at once.
constexpr size_t DRAW_MAX_PENDING = 512;

// A run whose glyphs are not rendered yet.
struct PendingRun {
    int col, row;
    std::string chars;
    OsRgb fg, bg;
};

struct DrawState {
    SDL_Surface* canvas = nullptr;
    SdlFontMetrics metrics;
    int columns = 0, rows = 0;
    bool caret_visible = false;
    int caret_col = 0, caret_row = 0;
    bool dirty = false;
    SDL_Rect dirty_area{0, 0, 0, 0};
    // Rendering glyphs is the slow part of drawing: it waits until the image
    // is looked at, so a program that writes and then speaks is heard first.
    std::vector<PendingRun> pending;
} g_draw;

Uint32 map(OsRgb c) { return SDL_MapRGB(g_draw.canvas->format, c.r, c.g, c.b); }

void add_dirty(const SDL_Rect& area) {
    if (area.w <= 0 || area.h <= 0) return;
    if (!g_draw.dirty) {
        g_draw.dirty_area = area;
        g_draw.dirty = true;
    } else {
        SDL_UnionRect(&g_draw.dirty_area, &area, &g_draw.dirty_area);
    }
}

// Draws one render call's worth of characters into the cells at (x, y).
void draw_chunk(int x, int y, const unsigned char* chars, int count, OsRgb fg, OsRgb bg) {
    const SdlFontMetrics& m = g_draw.metrics;
    SDL_Surface* text = sdl_font_render(chars, count, SDL_Color{fg.r, fg.g, fg.b, 255}, SDL_Color{bg.r, bg.g, bg.b, 255});
    if (!text) return;
    int width = count * m.cell_w;
    int height = text->h < m.cell_h ? text->h : m.cell_h;
    if (sdl_font_fits_cells() || text->w == width) {
        SDL_Rect source{0, 0, text->w < width ? text->w : width, height};
        SDL_Rect dest{x, y, source.w, height};
        SDL_BlitSurface(text, &source, g_draw.canvas, &dest);
    } else if (SDL_Surface* full = SDL_ConvertSurface(text, g_draw.canvas->format, 0)) {
        // A face whose letters are not one cell wide is stretched onto the
        // cells, so the grid stays aligned.
        SDL_Rect source{0, 0, full->w, height};
        SDL_Rect dest{x, y, width, height};
        SDL_SoftStretchLinear(full, &source, g_draw.canvas, &dest);
        SDL_FreeSurface(full);
    }
    SDL_FreeSurface(text);
}

void render(const PendingRun& run) {
    const SdlFontMetrics& m = g_draw.metrics;
    int count = static_cast<int>(run.chars.size());
    SDL_Rect cells{run.col * m.cell_w, run.row * m.cell_h, count * m.cell_w, m.cell_h};
    SDL_FillRect(g_draw.canvas, &cells, map(run.bg));
    const unsigned char* chars = reinterpret_cast<const unsigned char*>(run.chars.data());
    for (int done = 0; done < count; done += SDL_FONT_MAX_RUN) {
        int n = count - done < SDL_FONT_MAX_RUN ? count - done : SDL_FONT_MAX_RUN;
        draw_chunk(cells.x + done * m.cell_w, cells.y, chars + done, n, run.fg, run.bg);
    }
}

// Renders the pending runs in the order they were drawn.
void render_pending() {
    for (const PendingRun& run : g_draw.pending) render(run);
    g_draw.pending.clear();
}

void invert(SDL_Surface* target, SDL_Rect area) {
    if (target->format->BytesPerPixel != 4) {
        SDL_FillRect(target, &area, SDL_MapRGB(target->format, 255, 255, 255));
        return;
    }
    Uint32 mask = target->format->Rmask | target->format->Gmask | target->format->Bmask;
    if (SDL_MUSTLOCK(target)) SDL_LockSurface(target);
    for (int y = area.y; y < area.y + area.h; ++y) {
        Uint32* row = reinterpret_cast<Uint32*>(static_cast<Uint8*>(target->pixels) + y * target->pitch);
        for (int x = area.x; x < area.x + area.w; ++x) row[x] ^= mask;
    }
    if (SDL_MUSTLOCK(target)) SDL_UnlockSurface(target);
}
}  // namespace

bool sdl_draw_create(int columns, int rows, const SdlFontMetrics& metrics) {
    sdl_draw_destroy();
    if (columns < 1 || rows < 1 || metrics.cell_w < 1 || metrics.cell_h < 1) return false;
    g_draw.canvas = SDL_CreateRGBSurfaceWithFormat(0, columns * metrics.cell_w, rows * metrics.cell_h, 32, SDL_PIXELFORMAT_RGB888);
    if (!g_draw.canvas) return false;
    SDL_FillRect(g_draw.canvas, nullptr, SDL_MapRGB(g_draw.canvas->format, 0, 0, 0));
    g_draw.metrics = metrics;
    g_draw.columns = columns;
    g_draw.rows = rows;
    add_dirty(SDL_Rect{0, 0, g_draw.canvas->w, g_draw.canvas->h});
    return true;
}

void sdl_draw_destroy() {
    if (g_draw.canvas) SDL_FreeSurface(g_draw.canvas);
    g_draw = DrawState{};
}

SDL_Surface* sdl_draw_canvas() {
    render_pending();
    return g_draw.canvas;
}
SdlFontMetrics sdl_draw_metrics() { return g_draw.metrics; }
int sdl_draw_columns() { return g_draw.columns; }
int sdl_draw_rows() { return g_draw.rows; }

void sdl_draw_run(int col, int row, const unsigned char* chars, int count, OsRgb fg, OsRgb bg) {
    if (!g_draw.canvas || !chars || row < 0 || row >= g_draw.rows || col >= g_draw.columns) return;
    if (col < 0) {
        chars -= col;
        count += col;
        col = 0;
    }
    if (count > g_draw.columns - col) count = g_draw.columns - col;
    if (count <= 0) return;
    const SdlFontMetrics& m = g_draw.metrics;
    if (g_draw.pending.size() == DRAW_MAX_PENDING) render_pending();
    g_draw.pending.push_back(PendingRun{col, row, std::string(reinterpret_cast<const char*>(chars), size_t(count)), fg, bg});
    add_dirty(SDL_Rect{col * m.cell_w, row * m.cell_h, count * m.cell_w, m.cell_h});
}

void sdl_draw_scroll(OsRgb bg) {
    if (!g_draw.canvas) return;
    render_pending();
    SDL_Surface* s = g_draw.canvas;
    int line = g_draw.metrics.cell_h;
    int moved = s->h - line;
    if (SDL_MUSTLOCK(s)) SDL_LockSurface(s);
    Uint8* pixels = static_cast<Uint8*>(s->pixels);
    if (moved > 0) std::memmove(pixels, pixels + line * s->pitch, static_cast<size_t>(moved) * s->pitch);
    if (SDL_MUSTLOCK(s)) SDL_UnlockSurface(s);
    SDL_Rect bottom{0, moved > 0 ? moved : 0, s->w, moved > 0 ? line : s->h};
    SDL_FillRect(s, &bottom, map(bg));
    add_dirty(SDL_Rect{0, 0, s->w, s->h});
}

void sdl_draw_set_caret(bool visible, int col, int row) {
    if (g_draw.caret_visible) add_dirty(sdl_draw_caret_rect());
    g_draw.caret_visible = visible;
    g_draw.caret_col = col;
    g_draw.caret_row = row;
    if (visible) add_dirty(sdl_draw_caret_rect());
}

bool sdl_draw_caret_visible() { return g_draw.caret_visible; }

SDL_Rect sdl_draw_caret_rect() {
    const SdlFontMetrics& m = g_draw.metrics;
    int height = DRAW_CARET_HEIGHT;
    if (m.ascent + height > m.cell_h) height = m.cell_h - m.ascent;
    return SDL_Rect{g_draw.caret_col * m.cell_w, g_draw.caret_row * m.cell_h + m.ascent, m.cell_w, height};
}

bool sdl_draw_take_dirty(SDL_Rect& area) {
    if (!g_draw.dirty) return false;
    area = g_draw.dirty_area;
    g_draw.dirty = false;
    return true;
}

void sdl_draw_mark_dirty(const SDL_Rect& area) { add_dirty(area); }

void sdl_draw_compose(SDL_Surface* target, SDL_Rect area) {
    if (!target) return;
    SDL_Rect bounds{0, 0, target->w, target->h};
    if (!SDL_IntersectRect(&area, &bounds, &area)) return;
    render_pending();
    if (sdl_magnifier_active() && g_draw.canvas) {
        sdl_magnifier_draw(g_draw.canvas, target);
        return;
    }
    SDL_Rect image{0, 0, g_draw.canvas ? g_draw.canvas->w : 0, g_draw.canvas ? g_draw.canvas->h : 0};
    SDL_Rect inside;
    bool has_inside = SDL_IntersectRect(&area, &image, &inside);
    if (!has_inside || !SDL_RectEquals(&inside, &area))
        SDL_FillRect(target, &area, SDL_MapRGB(target->format, 0, 0, 0));
    if (!has_inside) return;
    SDL_Rect dest = inside;
    SDL_BlitSurface(g_draw.canvas, &inside, target, &dest);
    if (g_draw.caret_visible) {
        SDL_Rect caret = sdl_draw_caret_rect(), shown;
        if (SDL_IntersectRect(&caret, &inside, &shown)) invert(target, shown);
    }
}

void sdl_draw_cells_of(const SDL_Rect& pixels, int& col0, int& row0, int& col1, int& row1) {
    int cw = g_draw.metrics.cell_w > 0 ? g_draw.metrics.cell_w : 1;
    int ch = g_draw.metrics.cell_h > 0 ? g_draw.metrics.cell_h : 1;
    int left = pixels.x, top = pixels.y, right = pixels.x + pixels.w, bottom = pixels.y + pixels.h;
    col0 = left / cw;
    if (col0 < 0) col0 = 0;
    col1 = (right + cw - 1) / cw;
    if (col1 > g_draw.columns) col1 = g_draw.columns;
    row0 = top / ch;
    if (row0 < 0) row0 = 0;
    row1 = (bottom + ch - 1) / ch;
    if (row1 > g_draw.rows) row1 = g_draw.rows;
}
