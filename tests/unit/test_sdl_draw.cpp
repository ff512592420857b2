// The window backend's screen image: cell geometry, the font fitted to the
// cell, runs, the caret, scrolling and the magnifier, checked pixel by pixel.
#include <gtest/gtest.h>

#include <cstdlib>

#include "platform/sdl/sdl_draw.h"
#include "platform/sdl/sdl_font.h"
#include "platform/sdl/sdl_magnifier.h"
#include "platform/sdl/sdl_window.h"

namespace {
struct Rgb {
    int r, g, b;
};

Rgb pixel(SDL_Surface* s, int x, int y) {
    Uint32 v = reinterpret_cast<Uint32*>(static_cast<Uint8*>(s->pixels) + y * s->pitch)[x];
    Uint8 r, g, b;
    SDL_GetRGB(v, s->format, &r, &g, &b);
    return Rgb{r, g, b};
}

bool same(Rgb a, Rgb b) { return a.r == b.r && a.g == b.g && a.b == b.b; }
bool same(Rgb a, OsRgb b) { return a.r == b.r && a.g == b.g && a.b == b.b; }

constexpr OsRgb RED{255, 0, 0}, BLUE{0, 0, 255}, GREEN{0, 255, 0}, WHITE{255, 255, 255}, MAGENTA{142, 0, 142};

class SdlDraw : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(sdl_font_open("Lucida Console", 700, 12, 24));
        m = sdl_font_metrics();
        ASSERT_TRUE(sdl_draw_create(80, 25, m));
        canvas = sdl_draw_canvas();
        SDL_Rect ignored;
        sdl_draw_take_dirty(ignored);
    }
    void TearDown() override {
        sdl_magnifier_stop();
        sdl_draw_destroy();
        sdl_font_close();
    }
    const unsigned char* text(const char* s) { return reinterpret_cast<const unsigned char*>(s); }
    SdlFontMetrics m;
    SDL_Surface* canvas = nullptr;
};
}  // namespace

TEST(SdlFont, MissingFaceFallsBackAndFitsTheCell) {
    ASSERT_TRUE(sdl_font_open("Lucida Console", 700, 16, 39));
    EXPECT_FALSE(sdl_font_face_found());
    EXPECT_NE(sdl_font_file().find("DejaVuSansMono-Bold"), std::string::npos) << sdl_font_file();
    SdlFontMetrics m = sdl_font_metrics();
    EXPECT_EQ(m.cell_w, 16);
    EXPECT_EQ(m.cell_h, 39);
    EXPECT_TRUE(sdl_font_fits_cells());
    EXPECT_GT(m.ascent, m.cell_h / 2);
    EXPECT_LT(m.ascent, m.cell_h);

    ASSERT_TRUE(sdl_font_open("dejavu sans mono", 400, 0, 20));
    EXPECT_TRUE(sdl_font_face_found());
    EXPECT_EQ(sdl_font_file().find("Bold"), std::string::npos) << sdl_font_file();
    EXPECT_GT(sdl_font_metrics().cell_w, 5);
    EXPECT_LT(sdl_font_metrics().cell_w, 20);
    sdl_font_close();
}

TEST(SdlFont, CodePageMapsBothWays) {
    EXPECT_EQ(sdl_codepage_char(0xE7), 0xE7u);  // c cedilla
    EXPECT_EQ(sdl_codepage_char(0x80), 0x20ACu);
    EXPECT_EQ(sdl_codepage_byte(0xE3), 0xE3);
    EXPECT_EQ(sdl_codepage_byte(0x20AC), 0x80);
    EXPECT_EQ(sdl_codepage_byte(0x0432), -1);  // Cyrillic: not in the set
    EXPECT_EQ(sdl_codepage_byte(0x85), -1);    // a C1 control is no character
}

TEST_F(SdlDraw, RunHasItsColoursAndEndsAtTheCellBoundary) {
    sdl_draw_run(3, 2, text("HM"), 2, RED, BLUE);
    sdl_draw_run(5, 2, text("  "), 2, WHITE, GREEN);
    int y0 = 2 * m.cell_h;
    int fg = 0, bg = 0;
    for (int y = y0; y < y0 + m.cell_h; ++y) {
        for (int x = 3 * m.cell_w; x < 5 * m.cell_w; ++x) {
            Rgb p = pixel(sdl_draw_canvas(), x, y);
            // Antialiased text blends from the background to the foreground.
            ASSERT_EQ(p.g, 0) << x << "," << y;
            ASSERT_NEAR(p.r + p.b, 255, 2) << x << "," << y;
            fg += same(p, RED);
            bg += same(p, BLUE);
        }
        for (int x = 5 * m.cell_w; x < 7 * m.cell_w; ++x) ASSERT_TRUE(same(pixel(sdl_draw_canvas(), x, y), GREEN));
        ASSERT_TRUE(same(pixel(sdl_draw_canvas(), 3 * m.cell_w - 1, y), Rgb{0, 0, 0}));
        ASSERT_TRUE(same(pixel(sdl_draw_canvas(), 7 * m.cell_w, y), Rgb{0, 0, 0}));
    }
    EXPECT_GT(fg, 20);
    EXPECT_GT(bg, m.cell_w * m.cell_h / 2);
    EXPECT_TRUE(same(pixel(sdl_draw_canvas(), 4 * m.cell_w, y0 - 1), Rgb{0, 0, 0}));
    EXPECT_TRUE(same(pixel(sdl_draw_canvas(), 4 * m.cell_w, y0 + m.cell_h), Rgb{0, 0, 0}));

    SDL_Rect dirty;
    ASSERT_TRUE(sdl_draw_take_dirty(dirty));
    EXPECT_EQ(dirty.x, 3 * m.cell_w);
    EXPECT_EQ(dirty.y, y0);
    EXPECT_EQ(dirty.w, 4 * m.cell_w);
    EXPECT_EQ(dirty.h, m.cell_h);
    EXPECT_FALSE(sdl_draw_take_dirty(dirty));
}

TEST_F(SdlDraw, AccentedLettersHaveMarksAboveTheBaseLetter) {
    // The marks of a tilde and an acute lie above the height of the plain
    // letter; a Latin-1 byte that rendered as a box or a plain letter would not.
    auto ink_top = [&](int col) {
        for (int y = 0; y < m.cell_h; ++y)
            for (int x = col * m.cell_w; x < (col + 1) * m.cell_w; ++x)
                if (pixel(sdl_draw_canvas(), x, y).r > 128) return y;
        return m.cell_h;
    };
    sdl_draw_run(0, 0, text("a\xE3\xE1\xE7"), 4, WHITE, OsRgb{0, 0, 0});
    EXPECT_LT(ink_top(1), ink_top(0) - 2);
    EXPECT_LT(ink_top(2), ink_top(0) - 2);
    EXPECT_LT(ink_top(3), m.cell_h);
}

TEST_F(SdlDraw, RunsAreCutAtTheEdgesOfTheGrid) {
    sdl_draw_run(78, 24, text("ABCDE"), 5, RED, GREEN);
    SDL_Rect dirty;
    ASSERT_TRUE(sdl_draw_take_dirty(dirty));
    EXPECT_EQ(dirty.x + dirty.w, 80 * m.cell_w);
    EXPECT_EQ(dirty.w, 2 * m.cell_w);
    sdl_draw_run(0, 25, text("A"), 1, RED, GREEN);
    sdl_draw_run(80, 0, text("A"), 1, RED, GREEN);
    sdl_draw_run(-2, 0, text("ABC"), 3, RED, GREEN);
    ASSERT_TRUE(sdl_draw_take_dirty(dirty));
    EXPECT_EQ(dirty.x, 0);
    EXPECT_EQ(dirty.w, m.cell_w);
}

TEST_F(SdlDraw, CaretIsAnInvertedBarOnTheBaseline) {
    sdl_draw_run(0, 3, text("          "), 10, WHITE, BLUE);
    SDL_Surface* target = SDL_CreateRGBSurfaceWithFormat(0, canvas->w + 10, canvas->h, 32, SDL_PIXELFORMAT_RGB888);
    ASSERT_NE(target, nullptr);
    SDL_FillRect(target, nullptr, SDL_MapRGB(target->format, 1, 2, 3));
    sdl_draw_set_caret(true, 4, 3);
    sdl_draw_compose(target, SDL_Rect{0, 0, target->w, target->h});
    int base = 3 * m.cell_h + m.ascent;
    for (int x = 4 * m.cell_w; x < 5 * m.cell_w; ++x) {
        EXPECT_TRUE(same(pixel(target, x, base), Rgb{255, 255, 0}));
        EXPECT_TRUE(same(pixel(target, x, base + 1), Rgb{255, 255, 0}));
        EXPECT_TRUE(same(pixel(target, x, base + 2), BLUE));
        EXPECT_TRUE(same(pixel(target, x, base - 1), BLUE));
    }
    EXPECT_TRUE(same(pixel(target, 4 * m.cell_w - 1, base), BLUE));
    EXPECT_TRUE(same(pixel(target, 5 * m.cell_w, base), BLUE));
    // Beyond the image the window is black.
    EXPECT_TRUE(same(pixel(target, canvas->w + 5, 0), Rgb{0, 0, 0}));

    sdl_draw_set_caret(false, 4, 3);
    sdl_draw_compose(target, SDL_Rect{0, 0, target->w, target->h});
    EXPECT_TRUE(same(pixel(target, 4 * m.cell_w, base), BLUE));
    SDL_FreeSurface(target);
}

TEST_F(SdlDraw, ScrollMovesTheImageUpAndFillsTheBottomRow) {
    sdl_draw_run(0, 1, text("Que fazer?"), 10, RED, GREEN);
    sdl_draw_run(0, 24, text("fim"), 3, WHITE, BLUE);
    Rgb before[3];
    for (int i = 0; i < 3; ++i) before[i] = pixel(sdl_draw_canvas(), 2 + i * 7, m.cell_h + m.ascent - 3);
    SDL_Rect dirty;
    sdl_draw_take_dirty(dirty);

    sdl_draw_scroll(MAGENTA);
    for (int i = 0; i < 3; ++i) EXPECT_TRUE(same(pixel(sdl_draw_canvas(), 2 + i * 7, m.ascent - 3), before[i]));
    EXPECT_TRUE(same(pixel(sdl_draw_canvas(), 0, 23 * m.cell_h), BLUE));
    for (int y = 24 * m.cell_h; y < 25 * m.cell_h; y += 3)
        for (int x = 0; x < canvas->w; x += 5) ASSERT_TRUE(same(pixel(sdl_draw_canvas(), x, y), MAGENTA));
    ASSERT_TRUE(sdl_draw_take_dirty(dirty));
    EXPECT_EQ(dirty.w, canvas->w);
    EXPECT_EQ(dirty.h, canvas->h);
}

// Glyphs are rendered when the image is looked at; until then the runs keep
// their order, their dirty cells are known, and a scroll moves them too.
TEST_F(SdlDraw, RunsNotYetRenderedKeepTheirOrderThroughAScroll) {
    sdl_draw_run(0, 3, text("ab"), 2, WHITE, RED);
    sdl_draw_run(1, 3, text("c"), 1, WHITE, GREEN);
    SDL_Rect dirty;
    ASSERT_TRUE(sdl_draw_take_dirty(dirty));
    EXPECT_EQ(dirty.x, 0);
    EXPECT_EQ(dirty.y, 3 * m.cell_h);
    EXPECT_EQ(dirty.w, 2 * m.cell_w);
    sdl_draw_scroll(BLUE);
    SDL_Surface* image = sdl_draw_canvas();
    EXPECT_TRUE(same(pixel(image, 0, 2 * m.cell_h), RED));
    EXPECT_TRUE(same(pixel(image, m.cell_w, 2 * m.cell_h), GREEN));  // the later run is on top
    EXPECT_TRUE(same(pixel(image, 0, 3 * m.cell_h), Rgb{0, 0, 0}));
    for (int i = 0; i < 600; ++i) sdl_draw_run(i % 80, 10, text("x"), 1, WHITE, i % 2 ? GREEN : RED);
    EXPECT_TRUE(same(pixel(sdl_draw_canvas(), 79 * m.cell_w, 10 * m.cell_h), GREEN));
}

TEST_F(SdlDraw, PixelRectanglesBecomeTheCellsTheyTouch) {
    int c0, r0, c1, r1;
    sdl_draw_cells_of(SDL_Rect{0, 0, 1, 1}, c0, r0, c1, r1);
    EXPECT_EQ((std::vector<int>{c0, r0, c1, r1}), (std::vector<int>{0, 0, 1, 1}));
    sdl_draw_cells_of(SDL_Rect{m.cell_w - 1, m.cell_h, 2, m.cell_h + 1}, c0, r0, c1, r1);
    EXPECT_EQ((std::vector<int>{c0, r0, c1, r1}), (std::vector<int>{0, 1, 2, 3}));
    sdl_draw_cells_of(SDL_Rect{-50, -50, 100000, 100000}, c0, r0, c1, r1);
    EXPECT_EQ((std::vector<int>{c0, r0, c1, r1}), (std::vector<int>{0, 0, 80, 25}));
}

TEST_F(SdlDraw, MagnifierKeepsThePointUnderTheMouse) {
    SDL_Rect s = sdl_magnifier_source(400, 300, 2, 960, 600);
    EXPECT_EQ((std::vector<int>{s.x, s.y, s.w, s.h}), (std::vector<int>{200, 150, 480, 300}));
    s = sdl_magnifier_source(0, 0, 0, 960, 600);  // a factor below 1 is 2
    EXPECT_EQ((std::vector<int>{s.x, s.y, s.w, s.h}), (std::vector<int>{0, 0, 480, 300}));

    // A striped image: each column of cells has its own background.
    for (int col = 0; col < 80; ++col) {
        OsRgb bg{static_cast<uint8_t>(col * 3), static_cast<uint8_t>(255 - col * 3), static_cast<uint8_t>(col % 2 * 200)};
        for (int row = 0; row < 25; ++row) sdl_draw_run(col, row, text(" "), 1, WHITE, bg);
    }
    SDL_Surface* target = SDL_CreateRGBSurfaceWithFormat(0, canvas->w, canvas->h, 32, SDL_PIXELFORMAT_RGB888);
    ASSERT_NE(target, nullptr);
    for (int f : {2, 3, 4}) {
        int x = 30 * m.cell_w + 5 * f, y = 12 * m.cell_h;
        sdl_magnifier_start(x, y, f);
        sdl_draw_compose(target, SDL_Rect{0, 0, 1, 1});  // the magnifier always shows the whole window
        EXPECT_TRUE(same(pixel(target, x, y), pixel(sdl_draw_canvas(), x, y))) << f;
        // One cell column of the image is f cell widths wide on the window.
        int left = x, right = x;
        while (left > 0 && same(pixel(target, left - 1, y), pixel(target, x, y))) --left;
        while (right < target->w - 1 && same(pixel(target, right + 1, y), pixel(target, x, y))) ++right;
        EXPECT_NEAR(right - left + 1, f * m.cell_w, f) << f;
        sdl_magnifier_stop();
    }
    sdl_draw_compose(target, SDL_Rect{0, 0, target->w, target->h});
    EXPECT_TRUE(same(pixel(target, 31 * m.cell_w + 1, 5), pixel(sdl_draw_canvas(), 31 * m.cell_w + 1, 5)));
    EXPECT_FALSE(same(pixel(target, 31 * m.cell_w + 1, 5), pixel(target, 32 * m.cell_w + 1, 5)));
    SDL_FreeSurface(target);
}
