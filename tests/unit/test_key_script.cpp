// Key script parsing and the window events of each key item.
#include <gtest/gtest.h>

#include <vector>

#include "platform/headless/key_script.h"

namespace {
std::vector<KeyItem> parse_ok(const std::string& text) {
    std::vector<KeyItem> items;
    KeyScriptError err;
    EXPECT_TRUE(key_script_parse(text, items, err)) << text << ": line " << err.line << ": " << err.message;
    return items;
}

KeyScriptError parse_fail(const std::string& text) {
    std::vector<KeyItem> items;
    KeyScriptError err;
    EXPECT_FALSE(key_script_parse(text, items, err)) << text;
    return err;
}

std::vector<OsEvent> events_of(const KeyItem& k) {
    OsEvent out[KEY_SCRIPT_MAX_EVENTS];
    int n = key_item_events(k, out);
    return std::vector<OsEvent>(out, out + n);
}

// The events of a one-item script.
std::vector<OsEvent> events(const std::string& text) {
    auto items = parse_ok(text);
    EXPECT_EQ(items.size(), 1u) << text;
    if (items.empty()) return {};
    return events_of(items[0]);
}

struct Mods {
    bool shift, ctrl, alt;
};

void expect_event(const OsEvent& ev, OsEventType type, int vkey, unsigned char ch, Mods m, const char* what) {
    EXPECT_EQ(ev.type, type) << what;
    if (type != OsEventType::Char) {
        EXPECT_EQ(ev.vkey, vkey) << what;
    }
    EXPECT_EQ(ev.ch, ch) << what;
    EXPECT_EQ(ev.shift, m.shift) << what;
    EXPECT_EQ(ev.ctrl, m.ctrl) << what;
    EXPECT_EQ(ev.alt, m.alt) << what;
}

// KeyDown [Char] KeyUp with the same modifiers; ch 0 means no character.
void expect_press(const std::string& text, int vkey, unsigned char ch, Mods m) {
    auto ev = events(text);
    ASSERT_EQ(ev.size(), ch ? 3u : 2u) << text;
    expect_event(ev[0], OsEventType::KeyDown, vkey, 0, m, text.c_str());
    if (ch) expect_event(ev[1], OsEventType::Char, 0, ch, m, text.c_str());
    expect_event(ev.back(), OsEventType::KeyUp, vkey, 0, m, text.c_str());
}

const Mods NONE{false, false, false};
const Mods SHIFT{true, false, false};
const Mods CTRL{false, true, false};
const Mods ALT{false, false, true};
}  // namespace

TEST(KeyScript, PlainTextTypesCharactersWithTheirKeys) {
    expect_press("a", 'A', 'a', NONE);
    expect_press("Z", 'Z', 'Z', SHIFT);
    expect_press("7", '7', '7', NONE);
    expect_press(" ", VK_SPACE_KEY, ' ', NONE);
    expect_press(".", 0, '.', NONE);
    expect_press("}", 0, '}', NONE);
    expect_press("{{", 0, '{', NONE);
    // UTF-8 accented letters arrive as their Latin-1 bytes.
    expect_press("\xC3\xA7", 0, 0xE7, NONE);   // c cedilla
    expect_press("\xC3\x89", 0, 0xC9, SHIFT);  // capital E acute

    auto items = parse_ok("p\xC3\xA3o{{x}");
    ASSERT_EQ(items.size(), 6u);
    std::string typed;
    for (auto& k : items) typed += static_cast<char>(k.ch);
    EXPECT_EQ(typed, "p\xE3o{x}");
}

TEST(KeyScript, LineEndsTypeReturnAndCountLines) {
    auto items = parse_ok("ab\ncd\r\ne\rf\n");
    std::vector<int> vkeys, lines;
    for (auto& k : items) {
        vkeys.push_back(k.vkey);
        lines.push_back(k.line);
    }
    EXPECT_EQ(vkeys, (std::vector<int>{'A', 'B', 13, 'C', 'D', 13, 'E', 13, 'F', 13}));
    EXPECT_EQ(lines, (std::vector<int>{1, 1, 1, 2, 2, 2, 3, 3, 4, 4}));
    expect_press("\n", VK_RETURN_KEY, 13, NONE);
    expect_press("\t", VK_TAB_KEY, 9, NONE);
    // A byte-order mark is not typed.
    EXPECT_EQ(parse_ok("\xEF\xBB\xBFok").size(), 2u);
    EXPECT_TRUE(parse_ok("").empty());
}

TEST(KeyScript, NamedKeysGiveTheirVirtualKeysAndControlCharacters) {
    expect_press("{Esc}", VK_ESCAPE_KEY, 27, NONE);
    expect_press("{Enter}", VK_RETURN_KEY, 13, NONE);
    expect_press("{Tab}", VK_TAB_KEY, 9, NONE);
    expect_press("{Backspace}", VK_BACK_KEY, 8, NONE);
    expect_press("{Space}", VK_SPACE_KEY, 32, NONE);
    expect_press("{Delete}", VK_DELETE_KEY, 0, NONE);
    expect_press("{Insert}", VK_INSERT_KEY, 0, NONE);
    expect_press("{Home}", VK_HOME_KEY, 0, NONE);
    expect_press("{End}", VK_END_KEY, 0, NONE);
    expect_press("{PageUp}", VK_PRIOR_KEY, 0, NONE);
    expect_press("{PageDown}", VK_NEXT_KEY, 0, NONE);
    expect_press("{Up}", VK_UP_KEY, 0, NONE);
    expect_press("{Down}", VK_DOWN_KEY, 0, NONE);
    expect_press("{Left}", VK_LEFT_KEY, 0, NONE);
    expect_press("{Right}", VK_RIGHT_KEY, 0, NONE);
    expect_press("{F1}", VK_F1_KEY, 0, NONE);
    expect_press("{F10}", VK_F1_KEY + 9, 0, NONE);
    expect_press("{F12}", VK_F12_KEY, 0, NONE);
    expect_press("{Break}", VK_CANCEL_BREAK, 0, CTRL);
    // Names do not depend on case.
    expect_press("{pagedown}", VK_NEXT_KEY, 0, NONE);
    expect_press("{ESC}", VK_ESCAPE_KEY, 27, NONE);
    expect_press("{f5}", VK_F1_KEY + 4, 0, NONE);
    expect_press("{q}", 'Q', 'q', NONE);

    auto close = events("{Close}");
    ASSERT_EQ(close.size(), 1u);
    EXPECT_EQ(close[0].type, OsEventType::Close);
}

TEST(KeyScript, ModifiersFollowWhatAWindowTranslates) {
    expect_press("{Ctrl+Left}", VK_LEFT_KEY, 0, CTRL);
    expect_press("{Shift+Right}", VK_RIGHT_KEY, 0, SHIFT);
    expect_press("{Shift+Insert}", VK_INSERT_KEY, 0, SHIFT);
    expect_press("{Alt+F1}", VK_F1_KEY, 0, ALT);
    expect_press("{Ctrl+Alt+F9}", VK_F1_KEY + 8, 0, (Mods{false, true, true}));
    expect_press("{alt+ctrl+f11}", VK_F1_KEY + 10, 0, (Mods{false, true, true}));
    // Ctrl+letter types the letter's control code, whatever its case.
    expect_press("{Ctrl+c}", 'C', 3, CTRL);
    expect_press("{Ctrl+C}", 'C', 3, CTRL);
    expect_press("{Ctrl+Shift+a}", 'A', 1, (Mods{true, true, false}));
    // The console turns these two into 127 and 10 by the Ctrl flag.
    expect_press("{Ctrl+Backspace}", VK_BACK_KEY, 8, CTRL);
    expect_press("{Ctrl+Enter}", VK_RETURN_KEY, 13, CTRL);
    // Alt combinations type nothing.
    expect_press("{Alt+x}", 'X', 0, ALT);
    expect_press("{Alt+X}", 'X', 0, ALT);
    expect_press("{Alt+5}", '5', 0, ALT);
    expect_press("{Alt+Enter}", VK_RETURN_KEY, 0, ALT);
    expect_press("{Ctrl+5}", '5', 0, CTRL);
    expect_press("{Shift+a}", 'A', 'A', SHIFT);
    expect_press("{Shift+Tab}", VK_TAB_KEY, 9, SHIFT);
    // Alt+F4 closes the window between its key-down and key-up.
    auto alt_f4 = events("{Alt+F4}");
    ASSERT_EQ(alt_f4.size(), 3u);
    EXPECT_EQ(alt_f4[0].type, OsEventType::KeyDown);
    EXPECT_EQ(alt_f4[1].type, OsEventType::Close);
    EXPECT_EQ(alt_f4[2].type, OsEventType::KeyUp);
    expect_press("{Ctrl+Alt+F4}", VK_F1_KEY + 3, 0, (Mods{false, true, true}));
}

TEST(KeyScript, DownAndUpGiveOneEventWithoutCharacter) {
    auto items = parse_ok("{down f}{down J}{up f}{UP j}{down Space}{up Space}");
    ASSERT_EQ(items.size(), 6u);
    const OsEventType D = OsEventType::KeyDown, U = OsEventType::KeyUp;
    std::vector<std::pair<OsEventType, int>> want = {{D, 'F'}, {D, 'J'}, {U, 'F'}, {U, 'J'}, {D, 32}, {U, 32}};
    for (size_t i = 0; i < items.size(); ++i) {
        auto ev = events_of(items[i]);
        ASSERT_EQ(ev.size(), 1u);
        expect_event(ev[0], want[i].first, want[i].second, 0, NONE, "chord");
    }
    // {down Down} and {down} are the arrow key.
    EXPECT_EQ(parse_ok("{down}")[0].vkey, VK_DOWN_KEY);
    auto arrow = parse_ok("{down Down}");
    ASSERT_EQ(arrow.size(), 1u);
    EXPECT_EQ(arrow[0].kind, KeyItemKind::Down);
    EXPECT_EQ(arrow[0].vkey, VK_DOWN_KEY);
}

TEST(KeyScript, WaitTimesOnlyTheNextKeyAndAddsUp) {
    auto items = parse_ok("a{wait 250}bc{wait 100}{wait 50}{Esc}{wait 0}d");
    ASSERT_EQ(items.size(), 5u);
    std::vector<int> waits;
    for (auto& k : items) waits.push_back(k.wait_ms);
    EXPECT_EQ(waits, (std::vector<int>{-1, 250, -1, 150, 0}));

    // A wait at the end times the close request.
    auto tail = parse_ok("x{wait 3000}");
    ASSERT_EQ(tail.size(), 2u);
    EXPECT_EQ(tail[1].kind, KeyItemKind::Close);
    EXPECT_EQ(tail[1].wait_ms, 3000);
}

TEST(KeyScript, BadScriptsAreRefusedWithTheirLine) {
    struct Case {
        const char* text;
        int line;
        const char* in_message;
    };
    const Case cases[] = {
        {"abc\n{Foo}", 2, "{Foo}"},
        {"{F13}", 1, "{F13}"},
        {"{F0}", 1, "{F0}"},
        {"{Ctrl+}", 1, "{Ctrl+}"},
        {"{Hyper+a}", 1, "Hyper"},
        {"{Ctrl+ab}", 1, "{Ctrl+ab}"},
        {"{}", 1, "empty"},
        {"x\ny\n{Esc", 3, "closing"},
        {"{Esc\n}", 1, "closing"},
        {"{wait}", 1, "wait"},
        {"{wait abc}", 1, "wait abc"},
        {"{wait -5}", 1, "wait -5"},
        {"{wait 99999999999999999999}", 1, "hour"},
        {"{down x y}", 1, "{down x y}"},
        {"{down Ctrl}", 1, "down Ctrl"},
        {"{down ab}", 1, "down ab"},
        {"{jump x}", 1, "jump"},
        {"{Alt+%}", 1, "{Alt+%}"},
        {"\n\nok\x01", 3, "control"},
    };
    for (const Case& c : cases) {
        KeyScriptError err = parse_fail(c.text);
        EXPECT_EQ(err.line, c.line) << c.text;
        EXPECT_NE(err.message.find(c.in_message), std::string::npos) << c.text << " -> " << err.message;
    }
}

TEST(KeyScript, BytesThatAreNotUtf8AreReadAsLatin1) {
    // The code page's characters beyond Latin-1 are typed as their bytes;
    // anything else arrives as untypeable, never as nothing.
    auto page = parse_ok("\xE2\x82\xAC\xE2\x80\x94\xF0\x9F\x98\x80");  // euro, em dash, an emoji
    ASSERT_EQ(page.size(), 3u);
    EXPECT_EQ(page[0].ch, 0x80);
    EXPECT_EQ(page[1].ch, 0x97);
    EXPECT_EQ(page[2].kind, KeyItemKind::Untypeable);
    auto items = parse_ok("p\xE3o");  // a Latin-1 file
    ASSERT_EQ(items.size(), 3u);
    EXPECT_EQ(items[1].ch, 0xE3);
    // An overlong encoding is not UTF-8 either: its bytes are Latin-1.
    auto overlong = parse_ok("\xC1\xA1");
    ASSERT_EQ(overlong.size(), 2u);
    EXPECT_EQ(overlong[0].ch, 0xC1);
}
