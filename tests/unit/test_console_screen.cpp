// The console's grid: wrap, control characters, scrolling, colours and the
// VIDEO settings.
#include <gtest/gtest.h>

#include "console_test_support.h"
#include "system_support.h"

namespace {
void write(const std::string& s) { console_write_text(s); }
}  // namespace

TEST(ConsoleText, WrapAtEightyAndNoExtraRowOnLineEnd) {
    console_test_settings("");
    write(std::string(80, 'a'));
    EXPECT_EQ(console_cursor_column(), 81);
    EXPECT_EQ(console_cursor_row(), 1);
    write("b");
    EXPECT_EQ(console_cursor_row(), 2);
    EXPECT_EQ(console_char_at(1, 2), 'b');

    console_test_settings("");
    write(std::string(80, 'a') + "\r\n" + "c");
    EXPECT_EQ(console_char_at(1, 2), 'c') << "CR LF at the pending wrap makes exactly one new row";
    console_test_settings("");
    write(std::string(80, 'a') + "\n" + "c");
    EXPECT_EQ(console_char_at(1, 2), 'c');
    EXPECT_EQ(row_text(3), "");
}

TEST(ConsoleText, ControlCharactersAndBackspace) {
    console_test_settings("");
    write("a\tb\x01\x0b\x0c\x1b" "c");
    EXPECT_EQ(row_text(1), "abc");
    EXPECT_EQ(console_cursor_column(), 4);
    write("\b");
    EXPECT_EQ(row_text(1), "ab");
    EXPECT_EQ(console_cursor_column(), 3);
    write("\r\b");
    EXPECT_EQ(console_cursor_column(), 1) << "backspace at column 1 does nothing";
    EXPECT_EQ(row_text(1), "ab");
    write("\rX");
    EXPECT_EQ(row_text(1), "Xb");
}

TEST(ConsoleText, LineFeedOnBottomRowScrolls) {
    console_test_settings("");
    for (int r = 1; r <= 25; ++r) {
        write("linha " + std::to_string(r));
        if (r < 25) write("\r\n");
    }
    console_set_background_colour(1);
    write("\n");
    EXPECT_EQ(console_cursor_row(), 25);
    EXPECT_EQ(console_cursor_column(), 1);
    EXPECT_EQ(row_text(1), "linha 2");
    EXPECT_EQ(row_text(24), "linha 25");
    EXPECT_EQ(row_text(25), "");
    EXPECT_EQ(console_attribute_at(10, 25), 0x1F) << "new bottom row takes the current attribute";
    EXPECT_EQ(console_attribute_at(10, 24), 0x0F);
}

TEST(ConsoleText, CursorClampAndClearToEnd) {
    console_test_settings("");
    write("abcdef");
    console_move_cursor(0, 99);
    EXPECT_EQ(console_cursor_column(), 1);
    EXPECT_EQ(console_cursor_row(), 25);
    console_move_cursor(3, 1);
    console_set_text_colour(14);
    console_clear_to_end_of_line();
    EXPECT_EQ(row_text(1), "ab");
    EXPECT_EQ(console_attribute_at(80, 1), 0x0E);
    EXPECT_EQ(console_cursor_column(), 3);
    EXPECT_EQ(console_char_at(0, 1), ' ') << "outside the grid reads as blank";
    EXPECT_EQ(console_char_at(81, 1), ' ');
}

TEST(ConsoleColours, SettersAndFixedColours) {
    console_test_settings("[VIDEO]\nCORFUNDO=1\nCORLETRA=2\n");
    console_open();
    EXPECT_EQ(console_current_attribute(), 0x12);
    console_set_text_colour(0x1E);
    EXPECT_EQ(console_current_attribute(), 0x1E);
    console_set_background_colour(4);
    EXPECT_EQ(console_current_attribute(), 0x4E);

    console_test_settings("[video]\ncoresfixas=sim\nCORLETRA=10\n");
    console_set_text_colour(14);
    console_set_background_colour(3);
    EXPECT_EQ(console_current_attribute(), 0x0A);
}

TEST(ConsoleColours, ForegroundPresentButEmptyVersusMissing) {
    console_test_settings("[VIDEO]\nCORLETRA=\n");
    console_open();
    EXPECT_EQ(console_current_attribute() & 15, 7);
    console_test_settings("[VIDEO]\nCORFUNDO=\n");
    console_open();
    EXPECT_EQ(console_current_attribute(), 0x0F);
    console_test_settings("[VIDEO]\nCORLETRA=12abc\n");
    console_open();
    EXPECT_EQ(console_current_attribute() & 15, 12);
}

TEST(ConsoleColours, ColourMapParsing) {
    int map[16];
    console_parse_colour_map("15,14", map);
    EXPECT_EQ(map[0], 15);
    EXPECT_EQ(map[1], 14);
    for (int i = 2; i < 16; ++i) EXPECT_EQ(map[i], i);
    console_parse_colour_map("1,x,3", map);
    EXPECT_EQ(map[0], 1);
    EXPECT_EQ(map[1], 0);
    EXPECT_EQ(map[2], 2) << "a bad entry ends the list";
    console_parse_colour_map("  7, 6,5", map);
    EXPECT_EQ(map[0], 7);
    EXPECT_EQ(map[1], 6);
    EXPECT_EQ(map[2], 5);
    console_parse_colour_map("7 ,6", map);
    EXPECT_EQ(map[0], 7);
    EXPECT_EQ(map[1], 1) << "a blank after the number does not parse and ends the list";
    console_parse_colour_map("", map);
    EXPECT_EQ(map[0], 0);

    console_test_settings("[VIDEO]\nTABCORES=15,99\n");
    console_open();
    uint8_t r, g, b;
    console_colour_rgb(0, r, g, b);
    EXPECT_EQ(r + g + b, 255 * 3);
    console_colour_rgb(1, r, g, b);
    EXPECT_EQ(r + g + b, 0) << "a mapped value outside the table is black";
    console_colour_rgb(5, r, g, b);
    EXPECT_EQ(r, 142);
}

TEST(ConsoleSettings, MagnifierAndBrailleMasking) {
    console_test_settings("[BRAILLE]\nMODO=3\n");
    console_open();
    EXPECT_EQ(console_configured_braille_mode(), 3);
    EXPECT_EQ(console_braille_mode(), 1) << "mode 3 behaves as mode 1";
    console_test_settings("[BRAILLE]\nMODO=abc\n");
    console_open();
    EXPECT_EQ(console_braille_mode(), 1) << "'a' is 97, and 97 AND 3 is 1";
    EXPECT_EQ(console_parse_leading_number(" -12x"), -12);
    EXPECT_EQ(console_parse_leading_number("x"), 0);
}

TEST(ConsoleScreenLog, ScrolledRowsThenFinalScreen) {
    sys_set_env("FUGA_SCREEN_LOG", "/dev/null");
    console_test_settings("");
    for (int r = 1; r <= 27; ++r) write("r" + std::to_string(r) + "   \r\n");
    std::string log = console_screen_log_text();
    sys_unset_env("FUGA_SCREEN_LOG");
    EXPECT_EQ(log.substr(0, 9), "r1\nr2\nr3\n");
    EXPECT_NE(log.find("r27\n"), std::string::npos);
    EXPECT_EQ(log.substr(log.size() - 4), "r27\n") << "trailing empty rows removed";
    console_test_settings("");
    write("\xe7\xe3o");  // Latin-1 "ção"
    EXPECT_EQ(console_screen_log_text(), "\xc3\xa7\xc3\xa3o\n");
}
