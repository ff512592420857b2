// The console window on GDI. The grid is drawn into a memory bitmap with the
// configured font and painted from it, so uncovering the window, scrolling
// and the magnifier need nothing from the console's planes.
#include "platform/win32/win32_window.h"

#include <atomic>

#include "platform/screen_cell_size.h"
#include "platform/win32/win32_events.h"
#include "platform/win32/win32_keys.h"
#include "platform/win32/win32_text.h"
#include "util/latin1.h"

namespace {
constexpr const wchar_t* WIN32_WINDOW_CLASS = L"FugaConsole";
constexpr DWORD WIN32_WINDOW_STYLE = WS_OVERLAPPEDWINDOW;
// The window is as wide as 80 columns whatever the grid.
constexpr int WIN32_WINDOW_COLUMNS = 80;
// The smallest part of the grid the user can size the window down to.
constexpr int WIN32_MIN_COLUMNS = 16;
constexpr int WIN32_MIN_ROWS = 4;
constexpr int WIN32_MAX_GRID = 1000;
// Pixel scrolling only pays while the whole window is on the screen.
constexpr int WIN32_SCROLL_MARGIN = 32;
// Cells drawn by one text call; a longer run is drawn in pieces.
constexpr int WIN32_MAX_RUN = 256;
constexpr int WIN32_CARET_HEIGHT = 2;

struct WindowState {
    std::atomic<HWND> window{nullptr};
    bool class_registered = false;
    HFONT font = nullptr;
    HDC image = nullptr;  // the screen image: a memory bitmap with the font selected
    HBITMAP bitmap = nullptr;
    HGDIOBJ old_bitmap = nullptr, old_font = nullptr;
    Win32WindowMetrics m;
    int image_w = 0, image_h = 0;
    int magnifier = 2;
    bool slow_scroll = false;
    bool magnifying = false;
    int mag_x = 0, mag_y = 0;
    bool focused = false;
    bool caret = false;
    bool closing = false;
} g_window;

int clamp(int v, int lo, int hi) { return v < lo ? lo : (v > hi ? hi : v); }
COLORREF colour(OsRgb c) { return RGB(c.r, c.g, c.b); }

// The outer size of a window whose client area is w x h.
SIZE outer_size(int w, int h) {
    RECT r = {0, 0, w, h};
    AdjustWindowRectEx(&r, WIN32_WINDOW_STYLE, FALSE, 0);
    return SIZE{r.right - r.left, r.bottom - r.top};
}

// The magnified view: the source rectangle keeps the point under the mouse
// under the mouse, and stays inside the image.
RECT magnifier_source() {
    int f = g_window.magnifier, w = g_window.image_w / f, h = g_window.image_h / f;
    int x = clamp(g_window.mag_x, 0, g_window.image_w), y = clamp(g_window.mag_y, 0, g_window.image_h);
    int sx = clamp(x - x / f, 0, g_window.image_w - w), sy = clamp(y - y / f, 0, g_window.image_h - h);
    return RECT{sx, sy, sx + w, sy + h};
}

void paint(HWND hwnd) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd, &ps);
    RECT client;
    GetClientRect(hwnd, &client);
    HBRUSH black = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    if (g_window.magnifying) {
        RECT s = magnifier_source();
        SetStretchBltMode(dc, COLORONCOLOR);
        StretchBlt(dc, 0, 0, g_window.image_w, g_window.image_h, g_window.image, s.left, s.top, s.right - s.left,
                   s.bottom - s.top, SRCCOPY);
    } else {
        RECT r = ps.rcPaint;
        int right = r.right < g_window.image_w ? r.right : g_window.image_w;
        int bottom = r.bottom < g_window.image_h ? r.bottom : g_window.image_h;
        if (right > r.left && bottom > r.top)
            BitBlt(dc, r.left, r.top, right - r.left, bottom - r.top, g_window.image, r.left, r.top, SRCCOPY);
    }
    // What lies beyond the image when the window is larger than the grid.
    RECT beyond_right = {g_window.image_w, 0, client.right, client.bottom};
    RECT beyond_bottom = {0, g_window.image_h, client.right, client.bottom};
    if (beyond_right.right > beyond_right.left) FillRect(dc, &beyond_right, black);
    if (beyond_bottom.bottom > beyond_bottom.top) FillRect(dc, &beyond_bottom, black);
    EndPaint(hwnd, &ps);
}

void stop_magnifier(HWND hwnd) {
    if (!g_window.magnifying) return;
    g_window.magnifying = false;
    if (GetCapture() == hwnd) ReleaseCapture();
    InvalidateRect(hwnd, nullptr, TRUE);
}

void size_limits(MINMAXINFO* info) {
    if (g_window.m.cell_w <= 0) return;
    int screen_w = GetSystemMetrics(SM_CXSCREEN), screen_h = GetSystemMetrics(SM_CYSCREEN);
    int grid_w = WIN32_WINDOW_COLUMNS * g_window.m.cell_w, grid_h = g_window.m.rows * g_window.m.cell_h;
    SIZE largest = outer_size(screen_w > 0 && screen_w < grid_w ? screen_w : grid_w,
                              screen_h > 0 && screen_h < grid_h ? screen_h : grid_h);
    SIZE smallest = outer_size(WIN32_MIN_COLUMNS * g_window.m.cell_w, WIN32_MIN_ROWS * g_window.m.cell_h);
    info->ptMaxSize = POINT{largest.cx, largest.cy};
    info->ptMaxTrackSize = POINT{largest.cx, largest.cy};
    info->ptMinTrackSize = POINT{smallest.cx, smallest.cy};
    // Maximised, the window is no larger than the grid: it sits at the top
    // left corner of the work area.
    RECT work;
    if (SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0)) info->ptMaxPosition = POINT{work.left, work.top};
}

void push_simple(OsEventType type) {
    OsEvent ev;
    ev.type = type;
    win32_events_push(ev);
}

LRESULT CALLBACK window_proc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
    if (win32_events_message(message, wparam, lparam)) return 0;
    if (message >= WM_KEYFIRST && message <= WM_KEYLAST) {
        if (win32_keys_message(message, wparam, lparam)) return 0;
        return DefWindowProcW(hwnd, message, wparam, lparam);
    }
    switch (message) {
        case WM_PAINT:
            if (g_window.image) {
                paint(hwnd);
                return 0;
            }
            break;
        case WM_ERASEBKGND: return g_window.image ? 1 : DefWindowProcW(hwnd, message, wparam, lparam);
        case WM_GETMINMAXINFO: size_limits(reinterpret_cast<MINMAXINFO*>(lparam)); return 0;
        case WM_SETFOCUS:
            g_window.focused = true;
            push_simple(OsEventType::FocusIn);
            return 0;
        case WM_KILLFOCUS:
            g_window.focused = false;
            stop_magnifier(hwnd);
            push_simple(OsEventType::FocusOut);
            return 0;
        case WM_RBUTTONDOWN:
            if (!g_window.magnifying) {
                g_window.magnifying = true;
                SetCapture(hwnd);
            }
            g_window.mag_x = short(LOWORD(lparam));
            g_window.mag_y = short(HIWORD(lparam));
            InvalidateRect(hwnd, nullptr, FALSE);
            return 0;
        case WM_MOUSEMOVE:
            if (g_window.magnifying) {
                g_window.mag_x = short(LOWORD(lparam));
                g_window.mag_y = short(HIWORD(lparam));
                InvalidateRect(hwnd, nullptr, FALSE);
            }
            return 0;
        case WM_RBUTTONUP: stop_magnifier(hwnd); return 0;
        case WM_CAPTURECHANGED:
            if (reinterpret_cast<HWND>(lparam) != hwnd) stop_magnifier(hwnd);
            return 0;
        case WM_CLOSE: push_simple(OsEventType::Close); return 0;
        case WM_DESTROY:
            // Destroyed by anyone but us: the program ends as on a quit message.
            if (!g_window.closing) PostQuitMessage(0);
            return 0;
        default: break;
    }
    return DefWindowProcW(hwnd, message, wparam, lparam);
}

bool register_class(HINSTANCE instance) {
    if (g_window.class_registered) return true;
    WNDCLASSW wc = {};
    wc.style = CS_HREDRAW | CS_VREDRAW;
    wc.lpfnWndProc = window_proc;
    wc.hInstance = instance;
    wc.hIcon = LoadIconW(nullptr, reinterpret_cast<LPCWSTR>(IDI_APPLICATION));
    wc.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    wc.lpszClassName = WIN32_WINDOW_CLASS;
    g_window.class_registered = RegisterClassW(&wc) != 0;
    return g_window.class_registered;
}

// The font of the settings; a face the system does not have gives the
// nearest fixed-pitch one. Measured on the screen.
void create_font(const OsScreenConfig& cfg, int cell_w, int cell_h) {
    g_window.font = CreateFontW(cell_h, cell_w, 0, 0, clamp(cfg.font_weight, 0, 1000), FALSE, FALSE, FALSE,
                                ANSI_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                                FIXED_PITCH | FF_MODERN, win32_wide(cfg.font_face).c_str());
    HDC screen = GetDC(nullptr);
    HGDIOBJ old = SelectObject(screen, g_window.font ? static_cast<HGDIOBJ>(g_window.font)
                                                      : GetStockObject(SYSTEM_FIXED_FONT));
    TEXTMETRICW tm = {};
    GetTextMetricsW(screen, &tm);
    SelectObject(screen, old);
    ReleaseDC(nullptr, screen);
    g_window.m.cell_w = tm.tmAveCharWidth > 0 ? int(tm.tmAveCharWidth) : 8;
    g_window.m.cell_h = tm.tmHeight + tm.tmExternalLeading > 0 ? int(tm.tmHeight + tm.tmExternalLeading) : 16;
    g_window.m.ascent = int(tm.tmAscent);
    g_window.m.overhang = int(tm.tmOverhang);
}

bool create_image() {
    HDC screen = GetDC(nullptr);
    g_window.image = CreateCompatibleDC(screen);
    g_window.bitmap = g_window.image ? CreateCompatibleBitmap(screen, g_window.image_w, g_window.image_h) : nullptr;
    ReleaseDC(nullptr, screen);
    if (!g_window.bitmap) return false;
    g_window.old_bitmap = SelectObject(g_window.image, g_window.bitmap);
    g_window.old_font = SelectObject(g_window.image, g_window.font ? static_cast<HGDIOBJ>(g_window.font)
                                                                   : GetStockObject(SYSTEM_FIXED_FONT));
    RECT all = {0, 0, g_window.image_w, g_window.image_h};
    FillRect(g_window.image, &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    SetBkMode(g_window.image, OPAQUE);
    SetTextAlign(g_window.image, TA_LEFT | TA_TOP | TA_NOUPDATECP);
    return true;
}

void release_gdi() {
    if (g_window.image) {
        if (g_window.old_font) SelectObject(g_window.image, g_window.old_font);
        if (g_window.old_bitmap) SelectObject(g_window.image, g_window.old_bitmap);
        DeleteDC(g_window.image);
    }
    if (g_window.bitmap) DeleteObject(g_window.bitmap);
    if (g_window.font) DeleteObject(g_window.font);
    g_window.image = nullptr;
    g_window.bitmap = nullptr;
    g_window.font = nullptr;
    g_window.old_bitmap = g_window.old_font = nullptr;
}
}  // namespace

bool win32_window_open(const OsScreenConfig& cfg) {
    win32_window_close();
    HINSTANCE instance = GetModuleHandleW(nullptr);
    if (!register_class(instance)) return false;
    RECT work = {0, 0, 0, 0};
    if (!SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0)) work = RECT{0, 0, 0, 0};
    int cell_w = 0, cell_h = 0;
    screen_cell_size(cfg, work.right - work.left, work.bottom - work.top, cell_w, cell_h);
    create_font(cfg, cell_w, cell_h);
    g_window.m.columns = clamp(cfg.columns, 1, WIN32_MAX_GRID);
    g_window.m.rows = clamp(cfg.rows, 1, WIN32_MAX_GRID);
    g_window.image_w = g_window.m.columns * g_window.m.cell_w;
    g_window.image_h = g_window.m.rows * g_window.m.cell_h;
    g_window.magnifier = cfg.magnifier < 1 ? 2 : cfg.magnifier;
    g_window.slow_scroll = cfg.slow_scroll;
    if (!create_image()) {
        release_gdi();
        return false;
    }
    SIZE size = outer_size(WIN32_WINDOW_COLUMNS * g_window.m.cell_w, g_window.image_h);
    HWND hwnd = CreateWindowExW(0, WIN32_WINDOW_CLASS, win32_wide(cfg.title).c_str(), WIN32_WINDOW_STYLE,
                                CW_USEDEFAULT, CW_USEDEFAULT, size.cx, size.cy, nullptr, nullptr, instance, nullptr);
    if (!hwnd) {
        release_gdi();
        return false;
    }
    g_window.window = hwnd;
    win32_keys_reset();
    ShowWindow(hwnd, cfg.start_maximised ? SW_SHOWMAXIMIZED : SW_SHOWNORMAL);
    UpdateWindow(hwnd);
    // The image starts black; the console paints it from its planes.
    OsEvent expose;
    expose.type = OsEventType::Expose;
    expose.col1 = g_window.m.columns;
    expose.row1 = g_window.m.rows;
    win32_events_push(expose);
    return true;
}

void win32_window_close() {
    HWND hwnd = g_window.window.exchange(nullptr);
    if (hwnd) {
        g_window.closing = true;
        if (g_window.caret) DestroyCaret();
        if (GetCapture() == hwnd) ReleaseCapture();
        SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(DefWindowProcW));
        DestroyWindow(hwnd);
    }
    release_gdi();
    bool registered = g_window.class_registered;
    g_window.m = Win32WindowMetrics{};
    g_window.image_w = g_window.image_h = 0;
    g_window.magnifying = g_window.focused = g_window.caret = g_window.closing = false;
    g_window.class_registered = registered;
}

HWND win32_window_handle() { return g_window.window.load(); }
bool win32_window_focused() { return g_window.window && g_window.focused; }

void win32_window_draw(int col, int row, const unsigned char* chars, int count, OsRgb fg, OsRgb bg) {
    HWND hwnd = g_window.window;
    if (!hwnd || !g_window.image || !chars || count <= 0 || row < 0 || row >= g_window.m.rows || col < 0) return;
    if (col + count > g_window.m.columns) count = g_window.m.columns - col;
    SetTextColor(g_window.image, colour(fg));
    SetBkColor(g_window.image, colour(bg));
    int cw = g_window.m.cell_w, ch = g_window.m.cell_h;
    wchar_t text[WIN32_MAX_RUN];
    INT advance[WIN32_MAX_RUN];
    for (int done = 0; done < count;) {
        int n = count - done < WIN32_MAX_RUN ? count - done : WIN32_MAX_RUN;
        for (int i = 0; i < n; ++i) {
            unsigned cp = codepage_code_point(chars[done + i]);
            text[i] = static_cast<wchar_t>(cp ? cp : '?');
            advance[i] = cw;  // every glyph on its cell, whatever face was found
        }
        int x = (col + done) * cw;
        RECT cells = {x, row * ch, x + n * cw, (row + 1) * ch};
        ExtTextOutW(g_window.image, x + g_window.m.overhang, row * ch, ETO_OPAQUE | ETO_CLIPPED, &cells, text,
                    UINT(n), advance);
        InvalidateRect(hwnd, g_window.magnifying ? nullptr : &cells, FALSE);
        done += n;
    }
}

void win32_window_caret(bool visible, int col, int row) {
    HWND hwnd = g_window.window;
    if (!hwnd) return;
    if (!visible) {
        if (g_window.caret) DestroyCaret();
        g_window.caret = false;
        return;
    }
    if (!g_window.caret) g_window.caret = CreateCaret(hwnd, nullptr, g_window.m.cell_w, WIN32_CARET_HEIGHT);
    if (!g_window.caret) return;
    SetCaretPos(col * g_window.m.cell_w, row * g_window.m.cell_h + g_window.m.ascent);
    ShowCaret(hwnd);
}

bool win32_window_scroll(OsRgb bg) {
    HWND hwnd = g_window.window;
    if (!hwnd || !g_window.image || !g_window.slow_scroll || GetForegroundWindow() != hwnd) return false;
    RECT outer;
    if (!GetWindowRect(hwnd, &outer) || outer.bottom >= GetSystemMetrics(SM_CYSCREEN) - WIN32_SCROLL_MARGIN)
        return false;
    int ch = g_window.m.cell_h, w = g_window.image_w, h = g_window.image_h;
    BitBlt(g_window.image, 0, 0, w, h - ch, g_window.image, 0, ch, SRCCOPY);
    HBRUSH brush = CreateSolidBrush(colour(bg));
    RECT freed = {0, h - ch, w, h};
    FillRect(g_window.image, &freed, brush);
    DeleteObject(brush);
    InvalidateRect(hwnd, nullptr, FALSE);
    return true;
}

void win32_window_title(const std::string& latin1_title) {
    HWND hwnd = g_window.window;
    if (hwnd) SetWindowTextW(hwnd, win32_wide(latin1_title).c_str());
}

bool win32_window_message_box(const std::string& latin1_title, const std::string& latin1_text) {
    return MessageBoxW(g_window.window, win32_wide(latin1_text).c_str(), win32_wide(latin1_title).c_str(),
                       MB_OK | MB_ICONWARNING | MB_SETFOREGROUND) != 0;
}

void win32_window_show_ended() {
    HWND hwnd = g_window.window;
    if (!hwnd) return;
    win32_window_caret(false, 0, 0);
    SetWindowTextW(hwnd, L"Programa terminado");
    EnableMenuItem(GetSystemMenu(hwnd, FALSE), SC_CLOSE, MF_BYCOMMAND | MF_ENABLED);
}

Win32WindowMetrics win32_window_metrics() { return g_window.m; }

COLORREF win32_window_image_pixel(int x, int y) {
    if (!g_window.image || x < 0 || y < 0 || x >= g_window.image_w || y >= g_window.image_h) return CLR_INVALID;
    return GetPixel(g_window.image, x, y);
}
