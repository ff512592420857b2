// The console window on GDI: its class and procedure, the font and the size
// from the settings and the work area, the screen image kept in a memory
// bitmap and painted from it, caret, scrolling, the magnifier, the title,
// message boxes and closing.
#pragma once

#include <windows.h>

#include <string>

#include "platform/os.h"

// Creates the window (replacing one that is open). False when the window
// cannot be created.
bool win32_window_open(const OsScreenConfig& cfg);
// Destroys the window without a quit message.
void win32_window_close();
// The open console window, nullptr while there is none. Any thread.
HWND win32_window_handle();
bool win32_window_focused();

void win32_window_draw(int col, int row, const unsigned char* chars, int count, OsRgb fg, OsRgb bg);
void win32_window_caret(bool visible, int col, int row);
// Moves the image up one row when slow scrolling is on, the window is
// active and clear of the screen's bottom; false when the console must
// repaint instead.
bool win32_window_scroll(OsRgb bg);
void win32_window_title(const std::string& latin1_title);
bool win32_window_message_box(const std::string& latin1_title, const std::string& latin1_text);
// The end of a program that did not close its window: the last screen stays
// readable, titled "Programa terminado", with its Close item enabled.
void win32_window_show_ended();

// The character cell and grid of the open window (tests).
struct Win32WindowMetrics {
    int cell_w = 0, cell_h = 0, ascent = 0, overhang = 0;
    int columns = 0, rows = 0;
};
Win32WindowMetrics win32_window_metrics();
// The colour of a pixel of the screen image (tests); CLR_INVALID outside it.
COLORREF win32_window_image_pixel(int x, int y);
