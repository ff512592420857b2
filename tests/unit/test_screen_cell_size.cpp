// The character cell every window backend sizes its font for.
#include <gtest/gtest.h>

#include "platform/screen_cell_size.h"

TEST(ScreenCellSize, CellSizeFollowsSettingsAndWorkArea) {
    OsScreenConfig cfg;
    int w = 0, h = 0;
    screen_cell_size(cfg, 1024, 734, w, h);
    EXPECT_EQ(w, 13);
    EXPECT_EQ(h, 28);
    screen_cell_size(cfg, 1280, 1024, w, h);  // 16.25 and 39.06
    EXPECT_EQ(w, 16);
    EXPECT_EQ(h, 39);
    screen_cell_size(cfg, 0, 0, w, h);  // no work area known: the reference size
    EXPECT_EQ(w, 13);
    EXPECT_EQ(h, 28);

    cfg.font_width = "20";
    cfg.font_height = "41px";
    screen_cell_size(cfg, 1280, 1024, w, h);
    EXPECT_EQ(w, 20);
    EXPECT_EQ(h, 41);
    cfg.font_width = "x";   // no digits: the face's own width
    cfg.font_height = "0";  // no height: the work-area height
    screen_cell_size(cfg, 1280, 1024, w, h);
    EXPECT_EQ(w, 0);
    EXPECT_EQ(h, 39);
    cfg.font_width = "-9";
    cfg.font_height = "99999999";
    screen_cell_size(cfg, 1280, 1024, w, h);
    EXPECT_EQ(w, 9);
    EXPECT_EQ(h, 256);

    EXPECT_EQ(screen_parse_size(" 42"), 42);
    EXPECT_EQ(screen_parse_size("-7a"), -7);
    EXPECT_EQ(screen_parse_size("+3"), 3);
    EXPECT_EQ(screen_parse_size("abc"), 0);
    EXPECT_EQ(screen_parse_size(""), 0);
}
