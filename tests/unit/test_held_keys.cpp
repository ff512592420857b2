// The keys a backend keeps while the console's queue is full: they go out in
// order once there is room, a quit goes out at once from among them, and the
// typed-ahead drop keeps the releases.
#include <gtest/gtest.h>

#include <string>

#include "platform/held_keys.h"

namespace {
OsEvent press(int vkey) {
    OsEvent ev;
    ev.type = OsEventType::KeyDown;
    ev.vkey = vkey;
    ev.ctrl = vkey == VK_CANCEL_BREAK;
    return ev;
}

OsEvent release(int vkey) {
    OsEvent ev = press(vkey);
    ev.type = OsEventType::KeyUp;
    return ev;
}

OsEvent typed(char c) {
    OsEvent ev;
    ev.type = OsEventType::Char;
    ev.ch = static_cast<unsigned char>(c);
    return ev;
}

// What comes out, one word a message: "a" a character, "d65" a press,
// "u65" a release.
template <int N>
std::string take_all(HeldKeys<N>& held) {
    std::string out;
    OsEvent ev;
    while (held.take(ev)) {
        if (!out.empty()) out += ' ';
        if (ev.type == OsEventType::Char) out += static_cast<char>(ev.ch);
        else out += (ev.type == OsEventType::KeyDown ? "d" : "u") + std::to_string(ev.vkey);
    }
    return out;
}

class HeldKeysTest : public ::testing::Test {
protected:
    void TearDown() override { os_set_key_room(1 << 30); }
};
}  // namespace

TEST_F(HeldKeysTest, GoOutInOrderOnlyWhileTheConsoleHasRoom) {
    HeldKeys<8> held;
    os_set_key_room(OS_KEY_MAX_BYTES - 1);
    for (char c : std::string("abc")) {
        held.hold(press(c - 32));
        held.hold(typed(c));
    }
    EXPECT_EQ(take_all(held), "") << "one byte free is not room for an extended key";
    os_set_key_room(OS_KEY_MAX_BYTES);
    EXPECT_EQ(take_all(held), "d65 a d66 b d67 c");
    EXPECT_TRUE(held.empty());
    for (int i = 0; i < 8; ++i) EXPECT_TRUE(held.hold(typed('x')));
    EXPECT_FALSE(held.hold(typed('y'))) << "a full ring refuses; the caller leaves the key where it was";
}

TEST_F(HeldKeysTest, AQuitGoesOutAtOnceAndTheRestKeepTheirOrder) {
    HeldKeys<16> held;
    os_set_key_room(0);
    held.hold(typed('a'));
    held.hold(press(VK_CANCEL_BREAK));
    held.hold(release(VK_CANCEL_BREAK));
    held.hold(typed('b'));
    held.hold(press(VK_CANCEL_BREAK));
    OsEvent ev;
    ASSERT_TRUE(held.take(ev));
    EXPECT_TRUE(key_quits(ev));
    EXPECT_EQ(held.size(), 4);
    ASSERT_TRUE(held.take(ev)) << "the second quit press too";
    EXPECT_TRUE(key_quits(ev));
    EXPECT_FALSE(held.take(ev)) << "a release of Ctrl+Break is not a quit";
    os_set_key_room(64);
    EXPECT_EQ(take_all(held), "a u3 b");
}

TEST_F(HeldKeysTest, TheTypedAheadDropKeepsOnlyReleases) {
    HeldKeys<16> held;
    os_set_key_room(0);
    held.hold(press('A'));
    held.hold(typed('a'));
    held.hold(release('A'));
    OsEvent bad;
    bad.type = OsEventType::Untypeable;
    held.hold(bad);
    held.hold(press('F'));
    held.hold(release('F'));
    held.discard();
    os_set_key_room(64);
    EXPECT_EQ(take_all(held), "u65 u70");
}
