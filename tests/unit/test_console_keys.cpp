// The console's key queue: PC codes of extended keys, Ctrl and Alt codes,
// overflow, the raw line read and the braille chords.
#include <gtest/gtest.h>

#include "console_test_support.h"

namespace {
std::string bytes(std::initializer_list<int> v) {
    std::string s;
    for (int b : v) s += static_cast<char>(b);
    return s;
}
void send(const OsEvent& ev) { console_handle_event(ev); }
}  // namespace

TEST(ConsoleKeys, ExtendedCtrlAndShiftCodes) {
    console_test_settings("");
    send(key_event(VK_UP_KEY));
    send(key_event(VK_UP_KEY, false, true));
    send(key_event(VK_INSERT_KEY, true));
    send(key_event(VK_INSERT_KEY, false, true));
    send(key_event(VK_INSERT_KEY));
    send(key_event(VK_F1_KEY));
    send(key_event(VK_F12_KEY, false, true));
    send(key_event(VK_PRIOR_KEY, false, true));
    send(key_event('A'));  // a letter's key-down queues nothing: its character does
    EXPECT_EQ(drain_keys(), bytes({0, 72, 0, 113, 0, 254, 0, 255, 0, 82, 0, 59, 0, 105, 0, 132}));
}

TEST(ConsoleKeys, CtrlBackspaceReturnAndCharacters) {
    console_test_settings("");
    send(char_event(8, true));
    send(char_event(13, true));
    send(char_event(8));
    send(char_event(13));
    send(char_event(0xE7));
    send(char_event(3));
    EXPECT_EQ(drain_keys(), bytes({127, 10, 8, 13, 0xE7, 3}));
}

TEST(ConsoleKeys, AltCodes) {
    console_test_settings("");
    send(key_event('A', false, false, true));
    send(key_event('Z', false, false, true));
    send(key_event('1', false, false, true));
    send(key_event('0', false, false, true));
    send(key_event(VK_LEFT_KEY, false, false, true));   // Alt+Left: the plain code
    send(key_event(VK_F1_KEY, false, false, true));     // Alt+F1: the platform's, nothing queued
    send(key_event(VK_F1_KEY + 8, false, true, true));  // Ctrl+Alt+F9: the Ctrl code
    EXPECT_EQ(drain_keys(), bytes({0, 30, 0, 44, 0, 120, 0, 129, 0, 75, 0, 102}));
    send(key_event(VK_RIGHT_KEY, false, false, true));
    EXPECT_EQ(console_read_key(), 0);
    EXPECT_EQ(console_read_key(), 77);
    EXPECT_TRUE(console_alt_held());
}

TEST(ConsoleKeys, ModifiersStayWithTheirKey) {
    console_test_settings("");
    // Shift+Right, then Shift let go and a plain Left, all before the first
    // is read: each key answers with its own state.
    send(key_event(VK_RIGHT_KEY, true));
    OsEvent up = key_event(VK_SHIFT_KEY);
    up.type = OsEventType::KeyUp;
    send(up);
    send(key_event(VK_LEFT_KEY, false, true));
    send(key_event(VK_DELETE_KEY, false, true, true));
    EXPECT_EQ(console_read_key(), 0);
    EXPECT_EQ(console_read_key(), 77);
    EXPECT_TRUE(console_shift_held());
    EXPECT_FALSE(console_ctrl_held());
    EXPECT_EQ(console_read_key(), 0);
    EXPECT_EQ(console_read_key(), 115);
    EXPECT_FALSE(console_shift_held());
    EXPECT_TRUE(console_ctrl_held());
    EXPECT_EQ(console_read_key(), 0);
    EXPECT_EQ(console_read_key(), 83);
    EXPECT_TRUE(console_alt_held()) << "Ctrl+Alt+Delete is queued as plain Delete, with Alt kept";
    EXPECT_TRUE(console_queue_key('q'));
    EXPECT_EQ(console_read_key(), 'q');
    EXPECT_FALSE(console_alt_held()) << "a byte queued as if typed has no modifiers";
}

TEST(ConsoleKeys, QueueOverflow) {
    console_test_settings("");
    for (int i = 0; i < 65; ++i) send(char_event(static_cast<unsigned char>('a' + i % 26)));
    std::string q = drain_keys();
    EXPECT_EQ(q.size(), 64u) << "the 65th key is lost";
    for (int i = 0; i < 62; ++i) send(char_event('x'));
    send(key_event('B', false, false, true));
    EXPECT_EQ(drain_keys().size(), 64u) << "an Alt code fits in the last two bytes";
    for (int i = 0; i < 63; ++i) send(char_event('x'));
    send(key_event('B', false, false, true));
    send(key_event(VK_UP_KEY));
    EXPECT_EQ(drain_keys().size(), 63u) << "an Alt or extended code needs two free bytes";
}

// The platform hears of every change of the queue's room, so that a backend
// keeps the keys that would not fit (the terminal holds a paste's rest).
TEST(ConsoleKeys, RoomIsToldToThePlatform) {
    console_test_settings("");
    EXPECT_EQ(os_key_room(), 64);
    for (int i = 0; i < 63; ++i) send(char_event('x'));
    EXPECT_EQ(os_key_room(), 1);
    EXPECT_LT(os_key_room(), OS_KEY_MAX_BYTES) << "no room for an extended key: the backend holds keys now";
    console_read_key();
    console_read_key();
    EXPECT_EQ(os_key_room(), 3);
    console_discard_keys();
    EXPECT_EQ(os_key_room(), 64);
}

TEST(ConsoleKeys, RawLineRead) {
    console_test_settings("");
    for (unsigned char c : std::string("abx")) send(char_event(c));
    send(char_event(8));
    send(key_event(VK_UP_KEY));  // 0 is ignored, 72 is the letter H
    send(char_event(13));
    char buf[128];
    int n = console_read_line_raw(buf, 128);
    EXPECT_EQ(std::string(buf, n), "abH\r\n");
    EXPECT_EQ(row_text(1), "abH");
    EXPECT_EQ(console_cursor_row(), 2);

    console_test_settings("");
    for (int i = 0; i < 10; ++i) send(char_event('z'));
    send(char_event(13));
    n = console_read_line_raw(buf, 6);
    EXPECT_EQ(std::string(buf, n), "zzzz\r\n") << "capacity - 2 characters at most";
}

TEST(ConsoleKeys, ClipboardCopyAndPaste) {
    console_test_settings("");
    console_copy_to_clipboard("texto copiado");
    EXPECT_EQ(console_paste_from_clipboard(0), "");
    EXPECT_EQ(console_paste_from_clipboard(6), "texto");
    EXPECT_EQ(console_paste_from_clipboard(100), "texto copiado");
}

namespace {
void chord(const char* keys) {
    for (const char* k = keys; *k; ++k) send(key_event(*k == ' ' ? static_cast<int>(VK_SPACE_KEY) : *k));
    for (const char* k = keys; *k; ++k) {
        OsEvent up = key_event(*k == ' ' ? static_cast<int>(VK_SPACE_KEY) : *k);
        up.type = OsEventType::KeyUp;
        send(up);
    }
}
}  // namespace

TEST(ConsoleBraille, ChordsAndSigns) {
    console_test_settings("[BRAILLE]\nMODO=2\n");
    console_open();
    ASSERT_EQ(console_braille_mode(), 2);
    chord("SJKL");  // dots 3456: number sign
    chord("F");     // a -> 1
    chord("FD");    // b -> 2
    chord(" ");     // blank ends number mode
    chord("F");
    EXPECT_EQ(drain_keys(), "12 a");
    chord("JL");  // capital sign
    chord("F");
    chord("JL");
    chord("JL");  // caps lock
    chord("F");
    chord("FD");
    chord(" ");
    chord("F");
    EXPECT_EQ(drain_keys(), "AAB a");
    chord(" FSJ");          // space + m: Return
    send(char_event('f'));  // letters typed as characters are chord keys, ignored
    EXPECT_EQ(drain_keys(), "\r");

    console_set_braille_mode(console_braille_mode() + 1);
    EXPECT_EQ(console_braille_mode(), 1) << "Ctrl+Alt+F11 after mode 2 gives mode 1";
    chord("SJKL");
    EXPECT_EQ(drain_keys(), "#");
    send(key_event('Q'));
    OsEvent up = key_event('Q');
    up.type = OsEventType::KeyUp;
    send(up);
    EXPECT_EQ(drain_keys(), " ") << "a non-chord letter completes an empty chord";
    send(key_event(VK_F12_KEY, false, true, true));
    EXPECT_EQ(console_braille_mode(), 0);
}
