// The character cell a window backend sizes its font for: the same rule on
// every system, from the font settings and the work area.
#pragma once

#include <string>

#include "platform/os.h"

// A setting's number: signed decimal, cut at the first character that is not
// a digit (0 when there is none); sizes beyond a million are a million.
int screen_parse_size(const std::string& text);
// The character cell for the font settings on a work area of the given size:
// an empty width is work_w / 1024 * 13 and an empty height work_h / 734 * 28,
// rounded (a work area of 0 x 0 is taken as 1024 x 734). A width of 0 means
// the face's own width (returned as 0); a height of 0 is the derived one.
void screen_cell_size(const OsScreenConfig& cfg, int work_w, int work_h, int& cell_w, int& cell_h);
