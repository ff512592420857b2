// The window's character cell from the font settings and the work area.
#include "platform/screen_cell_size.h"

#include <cmath>
#include <cstdlib>

#include "util/number_scan.h"

namespace {
constexpr int SCREEN_MAX_CELL_W = 128;
constexpr int SCREEN_MAX_CELL_H = 256;
constexpr int SCREEN_MIN_CELL_H = 4;

int clamp(int v, int lo, int hi) { return v < lo ? lo : (v > hi ? hi : v); }
}  // namespace

int screen_parse_size(const std::string& text) {
    ScannedNumber n = scan_leading_number(text, 1000001);
    long value = n.value > 1000000 ? 1000000 : n.value;
    return static_cast<int>(n.negative ? -value : value);
}

void screen_cell_size(const OsScreenConfig& cfg, int work_w, int work_h, int& cell_w, int& cell_h) {
    if (work_w <= 0 || work_h <= 0) {
        work_w = 1024;
        work_h = 734;
    }
    int derived_w = static_cast<int>(std::lround(work_w / 1024.0 * 13));
    int derived_h = static_cast<int>(std::lround(work_h / 734.0 * 28));
    cell_w = cfg.font_width.empty() ? derived_w : std::abs(screen_parse_size(cfg.font_width));
    cell_h = cfg.font_height.empty() ? derived_h : std::abs(screen_parse_size(cfg.font_height));
    if (cell_h == 0) cell_h = derived_h;
    cell_w = clamp(cell_w, 0, SCREEN_MAX_CELL_W);
    cell_h = clamp(cell_h, SCREEN_MIN_CELL_H, SCREEN_MAX_CELL_H);
}
