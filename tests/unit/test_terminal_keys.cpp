// The terminal key decoder on byte sequences recorded from xterm-style terminals.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/terminal/key_decoder.h"

namespace {
std::string describe(const OsEvent& ev) {
    std::string s;
    if (ev.type == OsEventType::KeyDown) s = "down " + std::to_string(ev.vkey);
    else if (ev.type == OsEventType::Char) s = "char " + std::to_string(ev.ch);
    else if (ev.type == OsEventType::Untypeable) s = "untypeable";
    else s = "other";
    if (ev.shift) s += " shift";
    if (ev.ctrl) s += " ctrl";
    if (ev.alt) s += " alt";
    return s;
}

std::vector<std::string> take(uint64_t now) {
    std::vector<std::string> out;
    OsEvent ev;
    while (term_keys_next(ev, now)) out.push_back(describe(ev));
    return out;
}

void feed(const std::string& bytes, uint64_t now) {
    term_keys_feed(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size(), now);
}

// Feeds the bytes in one read and takes everything, letting time pass so that
// a trailing unfinished sequence is resolved.
std::vector<std::string> keys(const std::string& bytes) {
    term_keys_reset();
    feed(bytes, 1000);
    std::vector<std::string> out = take(1000);
    std::vector<std::string> late = take(1000 + TERM_KEYS_ESC_TIMEOUT_MS);
    out.insert(out.end(), late.begin(), late.end());
    return out;
}

using V = std::vector<std::string>;

class TerminalKeys : public ::testing::Test {
protected:
    void SetUp() override { term_keys_reset(); }
};
}  // namespace

TEST_F(TerminalKeys, PrintableKeysGiveKeyDownAndChar) {
    EXPECT_EQ(keys("a"), (V{"down 65", "char 97"}));
    EXPECT_EQ(keys("Z"), (V{"down 90 shift", "char 90 shift"}));
    EXPECT_EQ(keys("7"), (V{"down 55", "char 55"}));
    EXPECT_EQ(keys(" "), (V{"down 32", "char 32"}));
    EXPECT_EQ(keys("!"), (V{"down 49 shift", "char 33 shift"}));
    EXPECT_EQ(keys("."), (V{"down 190", "char 46"}));
    EXPECT_EQ(keys("?"), (V{"down 191 shift", "char 63 shift"}));
    EXPECT_EQ(keys("ab"), (V{"down 65", "char 97", "down 66", "char 98"}));
}

TEST_F(TerminalKeys, EditingAndControlBytes) {
    EXPECT_EQ(keys("\r"), (V{"down 13", "char 13"}));
    EXPECT_EQ(keys("\x7f"), (V{"down 8", "char 8"}));
    EXPECT_EQ(keys("\x08"), (V{"down 8", "char 8"}));
    // Where Backspace sends DEL, the backspace byte is Ctrl+Backspace (the
    // console makes it 127, delete a word).
    term_keys_set_erase(127);
    feed("\x08\x7f", 1000);
    EXPECT_EQ(take(1000), (V{"down 8 ctrl", "char 8 ctrl", "down 8", "char 8"}));
    term_keys_set_erase(8);
    feed("\x08", 2000);
    EXPECT_EQ(take(2000), (V{"down 8", "char 8"}));
    EXPECT_EQ(keys("\t"), (V{"down 9", "char 9"}));
    EXPECT_EQ(keys("\x1b[Z"), (V{"down 9 shift", "char 9 shift"}));
    // Ctrl+letter: the letter's key with Ctrl and the control character.
    EXPECT_EQ(keys("\x01"), (V{"down 65 ctrl", "char 1 ctrl"}));
    EXPECT_EQ(keys("\x1a"), (V{"down 90 ctrl", "char 26 ctrl"}));
    EXPECT_EQ(keys("\n"), (V{"down 74 ctrl", "char 10 ctrl"}));
    // Ctrl+C is a key like any other in raw mode, not a quit.
    EXPECT_EQ(keys("\x03"), (V{"down 67 ctrl", "char 3 ctrl"}));
    EXPECT_EQ(keys(std::string(1, '\0')), (V{"down 32 ctrl", "char 32 ctrl"}));
}

TEST_F(TerminalKeys, LoneEscAfterTimeoutAndAltPrefix) {
    feed("\x1b", 1000);
    EXPECT_EQ(take(1000), V{});
    EXPECT_EQ(take(1000 + TERM_KEYS_ESC_TIMEOUT_MS - 1), V{});
    EXPECT_EQ(term_keys_wait_ms(1010), TERM_KEYS_ESC_TIMEOUT_MS - 10);
    EXPECT_EQ(take(1000 + TERM_KEYS_ESC_TIMEOUT_MS), (V{"down 27", "char 27"}));
    EXPECT_EQ(term_keys_wait_ms(2000), -1);

    // Alt+letter and Alt+digit: key-down with Alt, no character.
    EXPECT_EQ(keys("\x1bx"), (V{"down 88 alt"}));
    EXPECT_EQ(keys("\x1bX"), (V{"down 88 shift alt"}));
    EXPECT_EQ(keys("\x1b" "5"), (V{"down 53 alt"}));
    EXPECT_EQ(keys("\x1b\x7f"), (V{"down 8 alt"}));
    // Two Escs typed in a row.
    EXPECT_EQ(keys("\x1b\x1b"), (V{"down 27", "char 27", "down 27", "char 27"}));
}

TEST_F(TerminalKeys, EscFollowedLaterIsNotAlt) {
    // Esc, a pause longer than the timeout, then "x": two separate keys even
    // when nobody asked for the events in between.
    feed("\x1b", 1000);
    feed("x", 1000 + TERM_KEYS_ESC_TIMEOUT_MS + 5);
    EXPECT_EQ(take(1000 + TERM_KEYS_ESC_TIMEOUT_MS + 5), (V{"down 27", "char 27", "down 88", "char 120"}));
}

TEST_F(TerminalKeys, CursorAndEditingKeys) {
    EXPECT_EQ(keys("\x1b[A"), V{"down 38"});
    EXPECT_EQ(keys("\x1b[B"), V{"down 40"});
    EXPECT_EQ(keys("\x1b[C"), V{"down 39"});
    EXPECT_EQ(keys("\x1b[D"), V{"down 37"});
    EXPECT_EQ(keys("\x1bOA"), V{"down 38"});
    EXPECT_EQ(keys("\x1b[H"), V{"down 36"});
    EXPECT_EQ(keys("\x1b[F"), V{"down 35"});
    EXPECT_EQ(keys("\x1bOH"), V{"down 36"});
    EXPECT_EQ(keys("\x1bOF"), V{"down 35"});
    EXPECT_EQ(keys("\x1b[1~"), V{"down 36"});
    EXPECT_EQ(keys("\x1b[4~"), V{"down 35"});
    EXPECT_EQ(keys("\x1b[7~"), V{"down 36"});
    EXPECT_EQ(keys("\x1b[8~"), V{"down 35"});
    EXPECT_EQ(keys("\x1b[2~"), V{"down 45"});
    EXPECT_EQ(keys("\x1b[3~"), V{"down 46"});
    EXPECT_EQ(keys("\x1b[5~"), V{"down 33"});
    EXPECT_EQ(keys("\x1b[6~"), V{"down 34"});
}

TEST_F(TerminalKeys, FunctionKeys) {
    EXPECT_EQ(keys("\x1bOP"), V{"down 112"});
    EXPECT_EQ(keys("\x1bOQ"), V{"down 113"});
    EXPECT_EQ(keys("\x1bOR"), V{"down 114"});
    EXPECT_EQ(keys("\x1bOS"), V{"down 115"});
    EXPECT_EQ(keys("\x1b[11~"), V{"down 112"});
    EXPECT_EQ(keys("\x1b[15~"), V{"down 116"});
    EXPECT_EQ(keys("\x1b[17~"), V{"down 117"});
    EXPECT_EQ(keys("\x1b[18~"), V{"down 118"});
    EXPECT_EQ(keys("\x1b[19~"), V{"down 119"});
    EXPECT_EQ(keys("\x1b[20~"), V{"down 120"});
    EXPECT_EQ(keys("\x1b[21~"), V{"down 121"});
    EXPECT_EQ(keys("\x1b[23~"), V{"down 122"});
    EXPECT_EQ(keys("\x1b[24~"), V{"down 123"});
    EXPECT_EQ(keys("\x1b[[A"), V{"down 112"});  // Linux console
    EXPECT_EQ(keys("\x1b[[E"), V{"down 116"});
}

TEST_F(TerminalKeys, ModifierParameter) {
    EXPECT_EQ(keys("\x1b[1;2C"), V{"down 39 shift"});
    EXPECT_EQ(keys("\x1b[1;3D"), V{"down 37 alt"});
    EXPECT_EQ(keys("\x1b[1;4A"), V{"down 38 shift alt"});
    EXPECT_EQ(keys("\x1b[1;5D"), V{"down 37 ctrl"});
    EXPECT_EQ(keys("\x1b[1;6H"), V{"down 36 shift ctrl"});
    EXPECT_EQ(keys("\x1b[1;7F"), V{"down 35 ctrl alt"});
    EXPECT_EQ(keys("\x1b[1;8B"), V{"down 40 shift ctrl alt"});
    EXPECT_EQ(keys("\x1b[1;3P"), V{"down 112 alt"});
    EXPECT_EQ(keys("\x1b[1;5S"), V{"down 115 ctrl"});
    EXPECT_EQ(keys("\x1b[2;2~"), V{"down 45 shift"});
    EXPECT_EQ(keys("\x1b[2;5~"), V{"down 45 ctrl"});
    EXPECT_EQ(keys("\x1b[20;7~"), V{"down 120 ctrl alt"});
    EXPECT_EQ(keys("\x1b[24;5~"), V{"down 123 ctrl"});
    // rxvt forms and an Esc prefix for Alt.
    EXPECT_EQ(keys("\x1b[5^"), V{"down 33 ctrl"});
    EXPECT_EQ(keys("\x1b[a"), V{"down 38 shift"});
    EXPECT_EQ(keys("\x1bOd"), V{"down 37 ctrl"});
    EXPECT_EQ(keys("\x1b\x1b[A"), V{"down 38 alt"});
    // Keys reported by code (CSI u, modifyOtherKeys).
    EXPECT_EQ(keys("\x1b[13;5u"), (V{"down 13 ctrl", "char 13 ctrl"}));
    EXPECT_EQ(keys("\x1b[127;5u"), (V{"down 8 ctrl", "char 8 ctrl"}));
    EXPECT_EQ(keys("\x1b[27;5;13~"), (V{"down 13 ctrl", "char 13 ctrl"}));
    EXPECT_EQ(keys("\x1b[97;5u"), (V{"down 65 ctrl", "char 1 ctrl"}));
    // Ctrl+Shift+Tab types nothing, as Ctrl+Tab in a window; an Esc prefix
    // is Alt for a report of any shape.
    EXPECT_EQ(keys("\x1b[1;6Z"), V{"down 9 shift ctrl"});
    EXPECT_EQ(keys("\x1b\x1b[Z"), V{"down 9 shift alt"});
    EXPECT_EQ(keys("\x1b\x1bOM"), V{"down 13 alt"});
    EXPECT_EQ(keys("\x1b\x1b[[B"), V{"down 113 alt"});
    EXPECT_EQ(keys("\x1b\x1b[5$"), V{"down 33 shift alt"});
    // rxvt's Shift+PageUp and Shift+Delete, then a key that follows at once.
    EXPECT_EQ(keys("\x1b[5$\x1b[3$a"), (V{"down 33 shift", "down 46 shift", "down 65", "char 97"}));
}

TEST_F(TerminalKeys, SequencesSplitAcrossReads) {
    feed("\x1b", 1000);
    EXPECT_EQ(take(1002), V{});
    feed("[", 1003);
    EXPECT_EQ(take(1004), V{});
    feed("A", 1005);
    EXPECT_EQ(take(1005), V{"down 38"});

    feed("\x1b[1;", 2000);
    EXPECT_EQ(take(2001), V{});
    feed("5C", 2010);
    EXPECT_EQ(take(2010), V{"down 39 ctrl"});

    feed("\xc3", 3000);  // first half of an accented letter
    EXPECT_EQ(take(3001), V{});
    feed("\xa9", 3002);
    EXPECT_EQ(take(3002), V{"char 233"});
}

TEST_F(TerminalKeys, Utf8Text) {
    EXPECT_EQ(keys("\xc3\xa9"), V{"char 233"});  // é
    EXPECT_EQ(keys("\xc3\xa7\xc3\x83"), (V{"char 231", "char 195"}));  // çÃ
    EXPECT_EQ(keys("\xc2\xba"), V{"char 186"});  // º
    // The code page's characters beyond Latin-1 are typed; others beep, and
    // the next key still comes through.
    EXPECT_EQ(keys("\xe2\x82\xac" "a"), (V{"char 128", "down 65", "char 97"}));  // €a
    EXPECT_EQ(keys("\xe2\x80\xa6"), (V{"char 133"}));                          // the ellipsis
    EXPECT_EQ(keys("\xf0\x9f\x98\x80"), (V{"untypeable"}));                      // an emoji beeps
    EXPECT_EQ(keys("\xde\x97" "a"), (V{"untypeable", "down 65", "char 97"}));  // two-byte, beyond the page
    EXPECT_EQ(keys("\xf0\x9f\x98\x80" "b"), (V{"untypeable", "down 66", "char 98"}));
    // C1 controls typed as UTF-8 are not characters.
    EXPECT_EQ(keys("\xc2\x85"), V{});
}

TEST_F(TerminalKeys, GarbageLeavesNoTrace) {
    // Stray continuation bytes, invalid lead bytes, broken UTF-8.
    EXPECT_EQ(keys("\x80\xbf\xff\xc0\xc1" "a"), (V{"down 65", "char 97"}));
    EXPECT_EQ(keys("\xc3" "a"), (V{"down 65", "char 97"}));
    // Overlong forms (here of "©" and of "A") and values beyond Unicode are no text.
    EXPECT_EQ(keys("\xe0\x82\xa9\xf0\x80\x81\x81\xf4\x90\x80\x80" "a"), (V{"down 65", "char 97"}));
    // Unknown or foreign sequences are swallowed.
    EXPECT_EQ(keys("\x1b[99~" "a"), (V{"down 65", "char 97"}));
    EXPECT_EQ(keys("\x1b[?1;2c" "a"), (V{"down 65", "char 97"}));   // a device report
    EXPECT_EQ(keys("\x1b[24;80R" "a"), (V{"down 65", "char 97"}));  // a cursor report
    EXPECT_EQ(keys("\x1b[200~" "a"), (V{"down 65", "char 97"}));
    EXPECT_EQ(keys("\x1b[1;2 q" "a"), (V{"down 65", "char 97"}));
    EXPECT_EQ(keys("\x1b[M !!" "a"), (V{"down 65", "char 97"}));  // a mouse click report
    EXPECT_EQ(keys("\x1b[<0;10;5M" "a"), (V{"down 65", "char 97"}));
    // A sequence cut by a control byte: dropped, the control byte counts.
    EXPECT_EQ(keys("\x1b[1;\r"), (V{"down 13", "char 13"}));
    // An endless parameter run is dropped once it is too long to be a key.
    std::string endless = "\x1b[" + std::string(100, '1') + "A" + "b";
    EXPECT_EQ(keys(endless), (V{"down 66", "char 98"}));
    // Unfinished at the end of input: dropped after the timeout, nothing leaks.
    EXPECT_EQ(keys("\x1b[1;5"), V{});
    EXPECT_EQ(keys("\x1bO2"), V{});
    // "ESC [" alone is what Alt+[ sends.
    EXPECT_EQ(keys("\x1b["), V{"down 219 alt"});
}

TEST_F(TerminalKeys, FeedTakesOnlyWhatFits) {
    std::string lots(TERM_KEYS_MAX_PENDING + 10, 'x');
    size_t taken = term_keys_feed(reinterpret_cast<const unsigned char*>(lots.data()), lots.size(), 1);
    EXPECT_EQ(taken, static_cast<size_t>(TERM_KEYS_MAX_PENDING));
    EXPECT_EQ(term_keys_room(), 0);
    EXPECT_EQ(take(1).size(), 2u * TERM_KEYS_MAX_PENDING);
    EXPECT_EQ(term_keys_room(), TERM_KEYS_MAX_PENDING);
}

// Keys held for the console and then dropped as typed ahead: nothing of them
// comes out later, half a sequence included, and the erase setting stays.
TEST_F(TerminalKeys, DiscardDropsWhatIsHeld) {
    term_keys_reset();
    term_keys_set_erase(127);
    feed("ab\x1b[", 1000);
    OsEvent ev;
    ASSERT_TRUE(term_keys_next(ev, 1000));  // the a's key-down; its character is still held
    term_keys_discard();
    EXPECT_EQ(take(1000 + TERM_KEYS_ESC_TIMEOUT_MS), V{});
    EXPECT_EQ(term_keys_room(), TERM_KEYS_MAX_PENDING);
    feed("A\x08", 2000);
    EXPECT_EQ(take(2000), (V{"down 65 shift", "char 65 shift", "down 8 ctrl", "char 8 ctrl"}));
}
