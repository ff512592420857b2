// The terminal screen: cell cache, changed-cell output, caret, too-small message.
#include "platform/terminal/terminal_screen.h"
#include "util/latin1.h"

#include <cstdio>

namespace {
struct Cell {
    unsigned char ch = ' ';
    OsRgb fg{0, 0, 0};
    OsRgb bg{0, 0, 0};
};

struct TerminalScreenState {
    void (*write)(const char*, size_t) = nullptr;
    bool open = false;
    bool ever_opened = false;
    bool too_small = false;
    int cols = TERM_SCREEN_MAX_COLUMNS, rows = TERM_SCREEN_MAX_ROWS;
    // What the console drew, and what the terminal shows (valid where known).
    Cell want[TERM_SCREEN_MAX_ROWS][TERM_SCREEN_MAX_COLUMNS];
    Cell shown[TERM_SCREEN_MAX_ROWS][TERM_SCREEN_MAX_COLUMNS];
    bool shown_known[TERM_SCREEN_MAX_ROWS][TERM_SCREEN_MAX_COLUMNS] = {};
    // The terminal's current colours and cursor (-1: not known).
    bool sgr_known = false;
    OsRgb sgr_fg{0, 0, 0}, sgr_bg{0, 0, 0};
    int cur_row = -1, cur_col = -1;
    bool cursor_shown = false;
    bool caret_visible = false;
    int caret_col = 0, caret_row = 0;
    std::string out;
} g_screen;

// Cells this many or fewer between two changed cells are sent again rather
// than jumped over (a cursor move costs about as much).
constexpr int SCREEN_MAX_GAP = 3;

bool same_rgb(OsRgb a, OsRgb b) { return a.r == b.r && a.g == b.g && a.b == b.b; }

bool clean(int r, int c) {
    if (!g_screen.shown_known[r][c]) return false;
    const Cell& w = g_screen.want[r][c];
    const Cell& s = g_screen.shown[r][c];
    // A blank looks the same whatever its foreground.
    if (w.ch == ' ' && s.ch == ' ') return same_rgb(w.bg, s.bg);
    return w.ch == s.ch && same_rgb(w.fg, s.fg) && same_rgb(w.bg, s.bg);
}

void put_number(int n) {
    char buf[16];
    int len = std::snprintf(buf, sizeof buf, "%d", n);
    g_screen.out.append(buf, static_cast<size_t>(len));
}

void put_rgb(OsRgb c) {
    put_number(c.r);
    g_screen.out += ';';
    put_number(c.g);
    g_screen.out += ';';
    put_number(c.b);
}

void move_to(int r, int c) {
    if (g_screen.cur_row == r && g_screen.cur_col == c) return;
    g_screen.out += "\x1b[";
    put_number(r + 1);
    g_screen.out += ';';
    put_number(c + 1);
    g_screen.out += 'H';
    g_screen.cur_row = r;
    g_screen.cur_col = c;
}

void set_colours(OsRgb fg, OsRgb bg) {
    bool fg_ok = g_screen.sgr_known && same_rgb(g_screen.sgr_fg, fg);
    bool bg_ok = g_screen.sgr_known && same_rgb(g_screen.sgr_bg, bg);
    if (fg_ok && bg_ok) return;
    g_screen.out += "\x1b[";
    if (!fg_ok) {
        g_screen.out += "38;2;";
        put_rgb(fg);
    }
    if (!bg_ok) {
        if (!fg_ok) g_screen.out += ';';
        g_screen.out += "48;2;";
        put_rgb(bg);
    }
    g_screen.out += 'm';
    g_screen.sgr_known = true;
    g_screen.sgr_fg = fg;
    g_screen.sgr_bg = bg;
}

void put_code_point(unsigned cp, std::string& o = g_screen.out) { utf8_append(o, cp); }

// The glyph a window shows for a byte of the ANSI code page: Latin-1, with the
// code page's printable characters in 0x80..0x9F; control bytes as blanks so
// that nothing in the grid can act on the terminal.
unsigned display_code_point(unsigned char ch) {
    if (ch < 32 || ch == 127) return ' ';
    unsigned cp = codepage_code_point(ch);
    return cp == 0 ? ' ' : cp;
}

void send_cell(int r, int c) {
    const Cell& w = g_screen.want[r][c];
    move_to(r, c);
    set_colours(w.fg, w.bg);
    put_code_point(display_code_point(w.ch));
    g_screen.shown[r][c] = w;
    g_screen.shown_known[r][c] = true;
    // Autowrap is off: after the last column the cursor stays on it.
    if (c + 1 < TERM_SCREEN_MAX_COLUMNS) g_screen.cur_col = c + 1;
    else g_screen.cur_row = g_screen.cur_col = -1;
}

// Sends the changed cells of row r in [a, b).
void sync_span(int r, int a, int b) {
    int c = a;
    while (c < b) {
        if (clean(r, c)) {
            ++c;
            continue;
        }
        send_cell(r, c++);
        int j = c;
        while (j < b && clean(r, j)) ++j;
        if (j == c || j == b || j - c > SCREEN_MAX_GAP) {
            c = j;
            continue;
        }
        bool same_colours = true;
        for (int k = c; k < j; ++k)
            same_colours = same_colours && same_rgb(g_screen.want[r][k].fg, g_screen.sgr_fg) &&
                           same_rgb(g_screen.want[r][k].bg, g_screen.sgr_bg);
        if (!same_colours) {
            c = j;
            continue;
        }
        while (c < j) send_cell(r, c++);
    }
}

void forget_terminal() {
    for (auto& row : g_screen.shown_known)
        for (bool& k : row) k = false;
    g_screen.sgr_known = false;
    g_screen.cur_row = g_screen.cur_col = -1;
}

void clear_terminal() {
    g_screen.out += "\x1b[0m\x1b[H\x1b[2J";
    forget_terminal();
    g_screen.cur_row = g_screen.cur_col = 0;
}

size_t utf8_length(const std::string& s) {
    size_t n = 0;
    for (unsigned char c : s) n += (c & 0xC0) != 0x80;
    return n;
}

void show_small_message() {
    clear_terminal();
    if (g_screen.cursor_shown) {
        g_screen.out += "\x1b[?25l";
        g_screen.cursor_shown = false;
    }
    // Word-wrapped to the terminal's width, as much as its height holds.
    std::string text = term_screen_small_message(g_screen.cols, g_screen.rows);
    size_t width = g_screen.cols > 0 ? static_cast<size_t>(g_screen.cols) : 1;
    int row = 0;
    size_t pos = 0;
    while (pos < text.size() && (g_screen.rows <= 0 || row < g_screen.rows)) {
        std::string line;
        size_t line_len = 0;
        while (pos < text.size()) {
            size_t end = text.find(' ', pos);
            if (end == std::string::npos) end = text.size();
            std::string word = text.substr(pos, end - pos);
            size_t wlen = utf8_length(word);
            size_t need = line_len + (line_len ? 1 : 0) + wlen;
            if (line_len && need > width) break;
            if (!line_len && wlen > width) {  // a word longer than the line: cut it
                size_t i = 0, n = 0;
                while (i < word.size() && n < width) {
                    ++i;
                    while (i < word.size() && (static_cast<unsigned char>(word[i]) & 0xC0) == 0x80) ++i;
                    ++n;
                }
                line = word.substr(0, i);
                pos += i;
                line_len = n;
                break;
            }
            if (line_len) line += ' ';
            line += word;
            line_len = need;
            pos = end < text.size() ? end + 1 : end;
        }
        g_screen.cur_row = g_screen.cur_col = -1;
        move_to(row++, 0);
        g_screen.out += line;
    }
    g_screen.cur_row = g_screen.cur_col = -1;
}

void paint_all() {
    for (int r = 0; r < TERM_SCREEN_MAX_ROWS; ++r) sync_span(r, 0, TERM_SCREEN_MAX_COLUMNS);
}

// Output waits for the next flush unless this much has piled up.
constexpr size_t SCREEN_MAX_BUFFERED = 32 * 1024;

// Puts the cursor where the caret is, or hides it, then writes what was built.
void write_out() {
    if (g_screen.open && !g_screen.too_small) {
        if (g_screen.caret_visible) {
            move_to(g_screen.caret_row, g_screen.caret_col);
            if (!g_screen.cursor_shown) {
                g_screen.out += "\x1b[?25h";
                g_screen.cursor_shown = true;
            }
        } else if (g_screen.cursor_shown) {
            g_screen.out += "\x1b[?25l";
            g_screen.cursor_shown = false;
        }
    }
    if (!g_screen.out.empty() && g_screen.write) g_screen.write(g_screen.out.data(), g_screen.out.size());
    g_screen.out.clear();
}

void finish() {
    if (g_screen.out.size() >= SCREEN_MAX_BUFFERED) write_out();
}

void redraw_everything() {
    clear_terminal();
    if (g_screen.too_small) show_small_message();
    else paint_all();
}
}  // namespace

void term_screen_reset() {
    void (*write)(const char*, size_t) = g_screen.write;
    g_screen = TerminalScreenState{};
    g_screen.write = write;
}

void term_screen_set_writer(void (*write)(const char* bytes, size_t count)) { g_screen.write = write; }

void term_screen_flush() { write_out(); }

std::string term_screen_small_message(int cols, int rows) {
    char size[32];
    std::snprintf(size, sizeof size, "%dx%d", cols, rows);
    return std::string("Terminal pequeno demais: são precisas ") + std::to_string(TERM_SCREEN_MAX_COLUMNS) +
           " colunas e " + std::to_string(TERM_SCREEN_MAX_ROWS) + " linhas (tem " + size + "). Aumente a janela.";
}

void term_screen_open(int cols, int rows) {
    g_screen.open = true;
    g_screen.ever_opened = true;
    g_screen.cols = cols;
    g_screen.rows = rows;
    g_screen.too_small = cols < TERM_SCREEN_MAX_COLUMNS || rows < TERM_SCREEN_MAX_ROWS;
    // The caret is a line under the cell, as in the window.
    g_screen.out += "\x1b[?25l\x1b[4 q";
    g_screen.cursor_shown = false;
    redraw_everything();
    finish();
}

void term_screen_close() {
    if (!g_screen.open) return;
    clear_terminal();
    g_screen.out += "\x1b[?25h";
    g_screen.cursor_shown = true;
    g_screen.open = false;
    g_screen.caret_visible = false;
    finish();
}

bool term_screen_is_open() { return g_screen.open; }

void term_screen_draw(int col, int row, const unsigned char* chars, int count, OsRgb fg, OsRgb bg) {
    if (!chars || count <= 0 || row < 0 || row >= TERM_SCREEN_MAX_ROWS || col >= TERM_SCREEN_MAX_COLUMNS) return;
    int first = 0;
    if (col < 0) {
        first = -col;
        col = 0;
    }
    int end = col + (count - first);
    if (first >= count) return;
    if (end > TERM_SCREEN_MAX_COLUMNS) end = TERM_SCREEN_MAX_COLUMNS;
    for (int c = col, i = first; c < end; ++c, ++i) {
        Cell& cell = g_screen.want[row][c];
        cell.ch = chars[i];
        cell.fg = fg;
        cell.bg = bg;
    }
    if (!g_screen.open || g_screen.too_small) return;
    sync_span(row, col, end);
    finish();
}

void term_screen_caret(bool visible, int col, int row) {
    if (col < 0) col = 0;
    if (col >= TERM_SCREEN_MAX_COLUMNS) col = TERM_SCREEN_MAX_COLUMNS - 1;
    if (row < 0) row = 0;
    if (row >= TERM_SCREEN_MAX_ROWS) row = TERM_SCREEN_MAX_ROWS - 1;
    g_screen.caret_visible = visible;
    g_screen.caret_col = col;
    g_screen.caret_row = row;
    finish();
}

bool term_screen_resize(int cols, int rows) {
    bool small = cols < TERM_SCREEN_MAX_COLUMNS || rows < TERM_SCREEN_MAX_ROWS;
    bool changed = small || g_screen.too_small || cols != g_screen.cols || rows != g_screen.rows;
    g_screen.cols = cols;
    g_screen.rows = rows;
    g_screen.too_small = small;
    if (!g_screen.open || !changed) return false;
    redraw_everything();
    finish();
    return !small;
}

void term_screen_repaint() {
    if (!g_screen.open) return;
    g_screen.cursor_shown = false;
    g_screen.out += "\x1b[?25l\x1b[4 q";
    redraw_everything();
    finish();
}

bool term_screen_too_small() { return g_screen.too_small; }

std::string term_screen_final_rows() {
    if (!g_screen.ever_opened) return "";
    std::string text, blank_rows;
    for (int r = 0; r < TERM_SCREEN_MAX_ROWS; ++r) {
        int end = TERM_SCREEN_MAX_COLUMNS;
        while (end > 0 && display_code_point(g_screen.want[r][end - 1].ch) == ' ') --end;
        if (end == 0) {
            blank_rows += "\r\n";  // kept only if a row with text follows
            continue;
        }
        text += blank_rows;
        blank_rows.clear();
        for (int c = 0; c < end; ++c) put_code_point(display_code_point(g_screen.want[r][c].ch), text);
        text += "\r\n";
    }
    return text;
}

void term_screen_title(const std::string& title) {
    g_screen.out += "\x1b]0;";
    size_t n = 0;
    for (unsigned char ch : title) {
        if (ch < 32 || (ch >= 127 && ch < 0xA0)) continue;
        if (++n > 255) break;
        put_code_point(ch);
    }
    g_screen.out += '\a';
    finish();
}

void term_screen_beep() {
    g_screen.out += '\a';
    finish();
}
