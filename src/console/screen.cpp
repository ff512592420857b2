// The console's screen: character and attribute planes, the text cursor,
// colours from the VIDEO settings, text output with wrap and scroll, and
// drawing of changed spans through the platform's screen.
#include <cstdlib>
#include <cstring>

#include "console/console.h"
#include "console/console_internal.h"
#include "console/sound_log.h"
#include "platform/os.h"
#include "platform/profile.h"
#include "util/number_scan.h"

namespace {
constexpr int CONSOLE_MAX_CELLS = CONSOLE_MAX_COLUMNS * CONSOLE_MAX_ROWS;
const char* const CONSOLE_SETTINGS_FILE = "TALUNE.INI";

const OsRgb COLOUR_TABLE[16] = {
    {0, 0, 0},       {0, 0, 255},     {0, 255, 0},     {0, 255, 255}, {255, 0, 0},     {142, 0, 142},
    {68, 34, 34},    {192, 192, 192}, {128, 128, 128}, {128, 128, 255}, {128, 255, 128}, {128, 255, 255},
    {255, 128, 128}, {255, 128, 255}, {255, 255, 0},   {255, 255, 255},
};

struct ScreenState {
    int width = CONSOLE_MAX_COLUMNS;
    int height = CONSOLE_MAX_ROWS;
    unsigned char chars[CONSOLE_MAX_CELLS];
    unsigned char attrs[CONSOLE_MAX_CELLS];
    uint8_t attribute = 0x0F;
    bool colours_fixed = false;
    int cursor_col = 0, cursor_row = 0;
    int win_left = 0, win_top = 0, win_right = CONSOLE_MAX_COLUMNS - 1, win_bottom = CONSOLE_MAX_ROWS - 1;
    int colour_map[16];
    bool slow_scroll = false;
    int magnifier = 2;
    int braille_mode_setting = 0;
    bool created = false;
    bool opening = false;
} g_screen;

std::string read_video(const char* section, const char* key, const char* def, size_t capacity = 80) {
    return profile_read_string(section, key, def, CONSOLE_SETTINGS_FILE, capacity);
}

bool first_is_yes(const std::string& v) { return !v.empty() && (v[0] == 'S' || v[0] == 's'); }

void read_settings() {
    std::string map = read_video("VIDEO", "TABCORES", "0,1,2,3,4,5,6,7,8,9,10,11,12,13,14,15");
    console_parse_colour_map(map, g_screen.colour_map);
    g_screen.colours_fixed = first_is_yes(read_video("VIDEO", "CORESFIXAS", "N"));
    g_screen.slow_scroll = first_is_yes(read_video("VIDEO", "LENTO", "N"));
    int background = console_parse_leading_number(read_video("VIDEO", "CORFUNDO", "0"));
    // A foreground key present but empty leaves 7, as the text-mode default.
    std::string fg_text = read_video("VIDEO", "CORLETRA", "15");
    int foreground = fg_text.empty() ? 7 : console_parse_leading_number(fg_text);
    g_screen.attribute = static_cast<uint8_t>(((background & 0x0F) << 4) | (foreground & 0x0F));
    std::string modo = read_video("BRAILLE", "MODO", "0");
    g_screen.braille_mode_setting = modo.empty() ? 0 : (static_cast<unsigned char>(modo[0]) & 3);
    std::string amplif = read_video("VIDEO", "AMPLIF", "2", 2);
    int factor = amplif.empty() ? 0 : (static_cast<unsigned char>(amplif[0]) & 7);
    g_screen.magnifier = factor < 1 ? 2 : factor;
}

OsScreenConfig screen_config() {
    OsScreenConfig cfg;
    cfg.columns = g_screen.width;
    cfg.rows = g_screen.height;
    cfg.font_face = read_video("VIDEO", "FONTE", "Lucida Console");
    cfg.font_width = read_video("VIDEO", "LARGURALETRA", "");
    cfg.font_height = read_video("VIDEO", "ALTURALETRA", "");
    cfg.font_weight = console_parse_leading_number(read_video("VIDEO", "PESOLETRA", "700"));
    cfg.start_maximised = !first_is_yes(read_video("VIDEO", "CANTOTELA", "SIM"));
    cfg.slow_scroll = g_screen.slow_scroll;
    cfg.magnifier = g_screen.magnifier;
    cfg.title = os_program_path().substr(0, 80);
    return cfg;
}

OsRgb rgb_of(int index) {
    int mapped = g_screen.colour_map[index & 15];
    return (mapped >= 0 && mapped <= 15) ? COLOUR_TABLE[mapped] : OsRgb{0, 0, 0};
}

int cell_index(int col, int row) { return row * g_screen.width + col; }

// Draws columns [a, b) of a grid row, one platform call per attribute run.
void draw_span(int row, int a, int b) {
    if (!g_screen.created) return;
    if (a < 0) a = 0;
    if (b > g_screen.width) b = g_screen.width;
    while (a < b) {
        int start = a;
        uint8_t attr = g_screen.attrs[cell_index(start, row)];
        while (a < b && g_screen.attrs[cell_index(a, row)] == attr) ++a;
        os_screen_draw(start, row, &g_screen.chars[cell_index(start, row)], a - start, rgb_of(attr & 15),
                       rgb_of(attr >> 4));
    }
}

void fill_row(int row, int from, int to) {
    for (int c = from; c <= to; ++c) {
        g_screen.chars[cell_index(c, row)] = ' ';
        g_screen.attrs[cell_index(c, row)] = g_screen.attribute;
    }
}

struct DirtySpan {
    int left, right;
};

void new_line(DirtySpan& span) {
    draw_span(g_screen.win_top + g_screen.cursor_row, g_screen.win_left + span.left, g_screen.win_left + span.right);
    span = {0, 0};
    int old_row = g_screen.cursor_row;
    g_screen.cursor_row++;
    if (old_row < g_screen.win_bottom - g_screen.win_top) return;
    g_screen.cursor_row = g_screen.win_bottom - g_screen.win_top;
    int cols = g_screen.win_right - g_screen.win_left + 1;
    console_screen_log_scrolled(&g_screen.chars[cell_index(g_screen.win_left, g_screen.win_top)], cols);
    for (int r = g_screen.win_top; r < g_screen.win_bottom; ++r) {
        std::memmove(&g_screen.chars[cell_index(g_screen.win_left, r)], &g_screen.chars[cell_index(g_screen.win_left, r + 1)],
                     cols);
        std::memmove(&g_screen.attrs[cell_index(g_screen.win_left, r)], &g_screen.attrs[cell_index(g_screen.win_left, r + 1)],
                     cols);
    }
    fill_row(g_screen.win_bottom, g_screen.win_left, g_screen.win_right);
    if (!g_screen.slow_scroll || !os_screen_scrolled(rgb_of(g_screen.attribute >> 4))) {
        console_paint(0, 0, g_screen.width, g_screen.height);
    }
}
}  // namespace

int console_parse_leading_number(const std::string& text) {
    ScannedNumber n = scan_leading_number(text, 1000000001L);
    return static_cast<int>(n.negative ? -n.value : n.value);
}

void console_parse_colour_map(const std::string& value, int map[16]) {
    for (int i = 0; i < 16; ++i) map[i] = i;
    std::string rest = value + ",";
    for (int i = 0; i < 16; ++i) {
        size_t b = rest.find_first_not_of(" \t");
        size_t e = rest.find_last_not_of(" \t");
        rest = b == std::string::npos ? std::string() : rest.substr(b, e - b + 1);
        size_t comma = rest.find(',');
        if (comma == std::string::npos) return;
        std::string item = rest.substr(0, comma);
        ScannedNumber n = scan_leading_number(item, 100000, false);
        bool complete = n.used == item.size() && n.used > n.digits;
        map[i] = static_cast<int>(n.negative ? -n.value : n.value);
        // A bad entry keeps its leading digits and ends the list.
        if (!complete) return;
        rest.erase(0, comma + 1);
    }
}

void console_screen_reset() {
    g_screen = ScreenState{};
    for (int i = 0; i < 16; ++i) g_screen.colour_map[i] = i;
    std::memset(g_screen.chars, ' ', sizeof g_screen.chars);
    std::memset(g_screen.attrs, 0, sizeof g_screen.attrs);
}

bool console_is_open() { return g_screen.created; }
int console_configured_braille_mode() { return g_screen.braille_mode_setting; }

void console_open() {
    if (g_screen.created || g_screen.opening) return;
    g_screen.opening = true;
    for (int i = 0; i < 16; ++i) g_screen.colour_map[i] = i;
    read_settings();
    os_screen_open(screen_config());
    g_screen.created = true;
    std::memset(g_screen.chars, ' ', sizeof g_screen.chars);
    std::memset(g_screen.attrs, g_screen.attribute, sizeof g_screen.attrs);
    g_screen.win_left = 0;
    g_screen.win_top = 0;
    g_screen.win_right = g_screen.width - 1;
    g_screen.win_bottom = g_screen.height - 1;
    console_paint(0, 0, g_screen.width, g_screen.height);
    g_screen.opening = false;
    console_screen_log_install();
    console_apply_braille_mode(g_screen.braille_mode_setting);
}

void console_screen_closed() {
    g_screen.created = false;
    g_screen.cursor_col = 0;
    g_screen.cursor_row = 0;
}

void console_beep() {
    sound_log("beep", "");
    os_beep();
}

void console_write_text(const std::string& text) { console_write_text(text.data(), text.size()); }

void console_write_text(const char* chars, size_t count) {
    console_open();
    DirtySpan span{g_screen.cursor_col, g_screen.cursor_col};
    int cols = g_screen.win_right - g_screen.win_left + 1;
    for (size_t i = 0; i < count; ++i) {
        unsigned char c = static_cast<unsigned char>(chars[i]);
        if (c == 7) {
            console_beep();
        } else if (c == 8) {
            if (g_screen.cursor_col >= 1) {
                g_screen.cursor_col--;
                int cell = cell_index(g_screen.win_left + g_screen.cursor_col, g_screen.win_top + g_screen.cursor_row);
                g_screen.chars[cell] = ' ';
                g_screen.attrs[cell] = g_screen.attribute;
                if (g_screen.cursor_col < span.left) span.left = g_screen.cursor_col;
            }
        } else if (c == 10) {
            new_line(span);
            g_screen.cursor_col = 0;
        } else if (c == 13) {
            g_screen.cursor_col = 0;
            // Later characters of the row may start left of the old span.
            span.left = 0;
        } else if (c >= 32) {
            if (g_screen.cursor_col == cols) {
                g_screen.cursor_col = 0;
                new_line(span);
            }
            int cell = cell_index(g_screen.win_left + g_screen.cursor_col, g_screen.win_top + g_screen.cursor_row);
            g_screen.chars[cell] = c;
            g_screen.attrs[cell] = g_screen.attribute;
            g_screen.cursor_col++;
            if (g_screen.cursor_col > span.right) span.right = g_screen.cursor_col;
        }
    }
    draw_span(g_screen.win_top + g_screen.cursor_row, g_screen.win_left + span.left, g_screen.win_left + span.right);
}

void console_set_text_colour(uint8_t colour) {
    console_open();
    if (g_screen.colours_fixed) return;
    g_screen.attribute = static_cast<uint8_t>((g_screen.attribute & 0xF0) | (colour & 0x0F));
}

void console_set_background_colour(uint8_t colour) {
    console_open();
    if (g_screen.colours_fixed) return;
    g_screen.attribute = static_cast<uint8_t>((g_screen.attribute & 0x0F) | (colour << 4));
}

uint8_t console_current_attribute() { return g_screen.attribute; }

void console_move_cursor(int column, int row) {
    console_open();
    int max_col = g_screen.win_right - g_screen.win_left;
    int max_row = g_screen.win_bottom - g_screen.win_top;
    g_screen.cursor_col = column - 1 < 0 ? 0 : (column - 1 > max_col ? max_col : column - 1);
    g_screen.cursor_row = row - 1 < 0 ? 0 : (row - 1 > max_row ? max_row : row - 1);
}

int console_cursor_column() { return g_screen.cursor_col + 1; }
int console_cursor_row() { return g_screen.cursor_row + 1; }

void console_start_line() {
    if (g_screen.cursor_col != 0) console_write_text("\r\n");
}

void console_clear_to_end_of_line() {
    console_open();
    int row = g_screen.win_top + g_screen.cursor_row;
    int from = g_screen.win_left + g_screen.cursor_col;
    if (from > g_screen.win_right) return;
    fill_row(row, from, g_screen.win_right);
    draw_span(row, from, g_screen.win_right + 1);
}

static bool inside(int column, int row) {
    return column >= 1 && row >= 1 && column <= g_screen.win_right - g_screen.win_left + 1 &&
           row <= g_screen.win_bottom - g_screen.win_top + 1;
}

uint8_t console_char_at(int column, int row) {
    if (!inside(column, row)) return ' ';
    return g_screen.chars[cell_index(g_screen.win_left + column - 1, g_screen.win_top + row - 1)];
}

uint8_t console_attribute_at(int column, int row) {
    if (!inside(column, row)) return g_screen.attribute;
    return g_screen.attrs[cell_index(g_screen.win_left + column - 1, g_screen.win_top + row - 1)];
}

void console_colour_rgb(int index, uint8_t& r, uint8_t& g, uint8_t& b) {
    OsRgb c = rgb_of(index);
    r = c.r;
    g = c.g;
    b = c.b;
}

void console_paint(int col0, int row0, int col1, int row1) {
    if (!g_screen.created) return;
    if (row0 < 0) row0 = 0;
    if (row1 > g_screen.height) row1 = g_screen.height;
    for (int r = row0; r < row1; ++r) draw_span(r, col0, col1);
}

void console_caret_place(bool visible) {
    if (!g_screen.created) return;
    os_screen_caret(visible, g_screen.win_left + g_screen.cursor_col, g_screen.win_top + g_screen.cursor_row);
}

