// The terminal screen's cell cache on a fake terminal: what bytes each draw sends.
#include <gtest/gtest.h>

#include <string>

#include "platform/terminal/terminal_screen.h"

namespace {
std::string g_written;
int g_writes = 0;

void fake_write(const char* bytes, size_t count) {
    g_written.append(bytes, count);
    ++g_writes;
}

std::string taken() {
    term_screen_flush();
    std::string s = g_written;
    g_written.clear();
    g_writes = 0;
    return s;
}

const OsRgb WHITE{255, 255, 255};
const OsRgb BLACK{0, 0, 0};
const OsRgb YELLOW{255, 255, 0};
const OsRgb BLUE{0, 0, 255};

void draw(int col, int row, const std::string& text, OsRgb fg = WHITE, OsRgb bg = BLACK) {
    term_screen_draw(col, row, reinterpret_cast<const unsigned char*>(text.data()), static_cast<int>(text.size()),
        fg, bg);
}

size_t count_of(const std::string& hay, const std::string& needle) {
    size_t n = 0;
    for (size_t p = hay.find(needle); p != std::string::npos; p = hay.find(needle, p + 1)) ++n;
    return n;
}

class TerminalScreen : public ::testing::Test {
protected:
    void SetUp() override {
        term_screen_reset();
        term_screen_set_writer(fake_write);
        taken();
    }
    void TearDown() override { term_screen_reset(); }
};
}  // namespace

TEST_F(TerminalScreen, OpenPaintsTheWholeGridOnce) {
    term_screen_open(100, 30);
    std::string out = taken();
    size_t clear = out.find("\x1b[H\x1b[2J");
    ASSERT_NE(clear, std::string::npos);
    out = out.substr(clear + 7);
    // Every cell is sent: 25 rows of 80 blanks, each row after the first
    // started by one move.
    EXPECT_EQ(count_of(out, " "), 2000u);
    EXPECT_EQ(count_of(out, "H"), 24u);
    EXPECT_EQ(count_of(out, "38;2;"), 1u);    // one colour change for all of it
}

TEST_F(TerminalScreen, OnlyChangedCellsAreSent) {
    term_screen_open(80, 25);
    taken();
    draw(0, 0, "Que fazer?", YELLOW, BLACK);
    EXPECT_EQ(taken(), "\x1b[1;1H\x1b[38;2;255;255;0mQue fazer?");
    // The same again: nothing to send.
    draw(0, 0, "Que fazer?", YELLOW, BLACK);
    term_screen_flush();
    EXPECT_EQ(g_writes, 0);
    EXPECT_EQ(taken(), "");
    // One letter changed, far from the cursor: a move and that letter only.
    draw(10, 3, "abcdefghij");
    taken();
    draw(10, 3, "abcdeXghij");
    EXPECT_EQ(taken(), "\x1b[4;16HX");
    // Two changes close together: the cells between are sent instead of a move.
    draw(10, 3, "YbZdeXghij");
    EXPECT_EQ(taken(), "\x1b[4;11HYbZ");
    // Far apart: two moves.
    draw(10, 3, "ybZdeXghiJ");
    EXPECT_EQ(taken(), "\x1b[4;11Hy\x1b[4;20HJ");
    // Blanks in another foreground look the same: nothing to send; in
    // another background they do not.
    draw(0, 10, "    ", YELLOW, BLACK);
    EXPECT_EQ(taken(), "");
    draw(0, 10, "  ", YELLOW, BLUE);
    EXPECT_EQ(taken(), "\x1b[11;1H\x1b[38;2;255;255;0;48;2;0;0;255m  ");
}

TEST_F(TerminalScreen, DrawsUntilTheFlushGoOutInOneWrite) {
    term_screen_open(80, 25);
    taken();
    term_screen_caret(true, 0, 24);
    for (int r = 0; r < TERM_SCREEN_MAX_ROWS; ++r) draw(0, r, "linha " + std::to_string(r));
    EXPECT_EQ(g_writes, 0);
    term_screen_flush();
    EXPECT_EQ(g_writes, 1);
    std::string out = taken();
    EXPECT_NE(out.find("linha 24"), std::string::npos);
    // The cursor ends under the caret, once, after all the rows.
    EXPECT_EQ(out.substr(out.size() - 13), "\x1b[25;1H\x1b[?25h");
    // A flood of output does not pile up without bound.
    for (int i = 0; i < 2000; ++i) {
        draw(0, i % 25, i % 2 ? "abcdefghijklmnopqrstuvwxyz" : "ABCDEFGHIJKLMNOPQRSTUVWXYZ");
    }
    EXPECT_GT(g_writes, 0);
}

TEST_F(TerminalScreen, ColourEscapesFollowTheRuns) {
    term_screen_open(80, 25);
    taken();
    draw(0, 5, "ab", YELLOW, BLUE);
    EXPECT_EQ(taken(), "\x1b[6;1H\x1b[38;2;255;255;0;48;2;0;0;255mab");
    // Only the background differs: only the background is set.
    draw(2, 5, "c", YELLOW, BLACK);
    EXPECT_EQ(taken(), "\x1b[48;2;0;0;0mc");
    // A colour change alone is a change of the cell.
    draw(2, 5, "c", WHITE, BLACK);
    EXPECT_EQ(taken(), "\x1b[6;3H\x1b[38;2;255;255;255mc");
}

TEST_F(TerminalScreen, CharactersAreConvertedToUtf8) {
    term_screen_open(80, 25);
    taken();
    draw(0, 0, "\xe9\xe7\xc3");  // é ç Ã in Latin-1
    EXPECT_EQ(taken(), "\x1b[1;1H\x1b[38;2;255;255;255m\xc3\xa9\xc3\xa7\xc3\x83");
    // Control bytes cannot reach the terminal; the code page's 0x80 is the euro sign.
    draw(0, 1, std::string("\x1b\x07\x80", 3));
    EXPECT_EQ(taken(), "\x1b[2;1H  \xe2\x82\xac");
}

TEST_F(TerminalScreen, DrawsOutsideTheGridAreCut) {
    term_screen_open(80, 25);
    taken();
    draw(78, 0, "abcde");
    EXPECT_EQ(taken(), "\x1b[1;79H\x1b[38;2;255;255;255mab");
    draw(-2, 1, "xyz");
    EXPECT_EQ(taken(), "\x1b[2;1Hz");
    draw(0, 25, "no");
    draw(0, -1, "no");
    draw(80, 0, "no");
    term_screen_draw(0, 0, nullptr, 5, WHITE, BLACK);
    term_screen_draw(0, 0, reinterpret_cast<const unsigned char*>("x"), -1, WHITE, BLACK);
    EXPECT_EQ(taken(), "");
    // After the last column the cursor position is not trusted.
    draw(79, 2, "q");
    taken();
    draw(79, 2, "r");
    EXPECT_EQ(taken(), "\x1b[3;80Hr");
}

TEST_F(TerminalScreen, CaretFollowsTheCursor) {
    term_screen_open(80, 25);
    taken();
    term_screen_caret(true, 5, 2);
    EXPECT_EQ(taken(), "\x1b[3;6H\x1b[?25h");
    // Drawing elsewhere puts the cursor back under the caret.
    draw(0, 0, "a");
    EXPECT_EQ(taken(), "\x1b[1;1H\x1b[38;2;255;255;255ma\x1b[3;6H");
    term_screen_caret(false, 5, 2);
    EXPECT_EQ(taken(), "\x1b[?25l");
    // The pending-wrap column is shown on the last cell.
    term_screen_caret(true, 80, 24);
    EXPECT_EQ(taken(), "\x1b[25;80H\x1b[?25h");
}

TEST_F(TerminalScreen, SmallTerminalShowsTheMessageUntilItGrows) {
    draw(0, 0, "Antes");  // drawn before the screen was opened: kept
    term_screen_open(120, 20);
    std::string out = taken();
    EXPECT_TRUE(term_screen_too_small());
    EXPECT_NE(out.find("Terminal pequeno demais"), std::string::npos);
    EXPECT_NE(out.find("(tem 120x20)"), std::string::npos);
    EXPECT_NE(out.find("são precisas 80 colunas e 25 linhas"), std::string::npos);
    EXPECT_EQ(out.find("Antes"), std::string::npos);
    // Drawing while too small is kept for later, nothing sent.
    draw(0, 1, "Depois");
    term_screen_caret(true, 0, 0);
    EXPECT_EQ(taken(), "");
    // Still too small, another size: the message again with the new size.
    EXPECT_FALSE(term_screen_resize(79, 40));
    EXPECT_NE(taken().find("79x40"), std::string::npos);
    // Big enough: cleared and repainted from the cache, caret shown.
    EXPECT_TRUE(term_screen_resize(80, 25));
    out = taken();
    EXPECT_FALSE(term_screen_too_small());
    EXPECT_NE(out.find("\x1b[2J"), std::string::npos);
    EXPECT_NE(out.find("Antes"), std::string::npos);
    EXPECT_NE(out.find("Depois"), std::string::npos);
    EXPECT_NE(out.find("\x1b[?25h"), std::string::npos);
    // The same size again is no change.
    EXPECT_FALSE(term_screen_resize(80, 25));
    EXPECT_EQ(taken(), "");
}

TEST_F(TerminalScreen, SmallMessageIsWrappedToTheWidth) {
    term_screen_open(20, 10);
    std::string out = taken();
    // Split the text at the cursor moves; no line may be wider than 20.
    size_t lines = 0;
    for (size_t p = out.find("\x1b[", out.find("\x1b[2J") + 4); p != std::string::npos;) {
        size_t h = out.find('H', p);
        size_t next = out.find("\x1b[", h);
        std::string line = out.substr(h + 1, next == std::string::npos ? std::string::npos : next - h - 1);
        size_t width = 0;
        for (unsigned char c : line) width += (c & 0xC0) != 0x80;
        EXPECT_LE(width, 20u) << line;
        ++lines;
        p = next;
    }
    EXPECT_GE(lines, 5u);
    EXPECT_LE(lines, 10u);
    // A terminal two columns wide still gets something, without crashing.
    EXPECT_FALSE(term_screen_resize(2, 3));
    EXPECT_NE(taken().find("Te"), std::string::npos);
}

TEST_F(TerminalScreen, TitleAndBell) {
    term_screen_title(std::string("FUGA\x1b]2;x\x07 \xe9", 12));
    EXPECT_EQ(taken(), "\x1b]0;FUGA]2;x \xc3\xa9\a");
    term_screen_beep();
    EXPECT_EQ(taken(), "\a");
}

TEST_F(TerminalScreen, CloseReleasesAndReopenRepaints) {
    term_screen_open(80, 25);
    draw(0, 0, "x");
    taken();
    term_screen_close();
    EXPECT_NE(taken().find("\x1b[?25h"), std::string::npos);
    draw(0, 0, "y");
    EXPECT_EQ(taken(), "");
    term_screen_open(80, 25);
    EXPECT_NE(taken().find("y"), std::string::npos);
}

TEST_F(TerminalScreen, FinalRowsArePlainTextOfTheLastScreen) {
    EXPECT_EQ(term_screen_final_rows(), "") << "no screen was ever opened";
    term_screen_open(80, 25);
    draw(0, 0, "Que fazer? desistir   ", YELLOW, BLUE);
    draw(0, 2, "Sua tentativa de fuga n\xe3o funcionou.");
    draw(79, 2, "\x07");  // a control byte shows as a blank, never reaches the terminal
    draw(0, 3, "\x80 fim");
    draw(0, 4, "             ");
    term_screen_close();
    // The cache outlives the close: the rows are still there at the end.
    EXPECT_EQ(term_screen_final_rows(),
        "Que fazer? desistir\r\n\r\nSua tentativa de fuga n\xc3\xa3o funcionou.\r\n\xe2\x82\xac fim\r\n");
}
