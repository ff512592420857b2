// The one rule of every backend for the characters key presses type and
// for the close request.
#include <gtest/gtest.h>

#include "platform/key_translation.h"
#include "platform/os.h"

TEST(KeyTranslation, WhichPressesTypeACharacter) {
    // Alone a key types what it types; Alt types nothing.
    EXPECT_EQ(key_typed_char('A', 'a', false, false), 'a');
    EXPECT_EQ(key_typed_char(0, 0xE9, false, false), 0xE9);
    EXPECT_EQ(key_typed_char(VK_F1_KEY, -1, false, false), -1);
    EXPECT_EQ(key_typed_char('A', 'a', false, true), -1);
    EXPECT_EQ(key_typed_char(VK_RETURN_KEY, 13, true, true), -1);
    // Ctrl: a letter's control code; Backspace, Return, Esc and Space keep
    // theirs even when the key's own character comes as text; nothing else.
    EXPECT_EQ(key_typed_char('C', 'c', true, false), 3);
    EXPECT_EQ(key_typed_char('Z', -1, true, false), 26);
    EXPECT_EQ(key_typed_char(VK_BACK_KEY, 8, true, false), 8);
    EXPECT_EQ(key_typed_char(VK_RETURN_KEY, 13, true, false), 13);
    EXPECT_EQ(key_typed_char(VK_ESCAPE_KEY, 27, true, false), 27);
    EXPECT_EQ(key_typed_char(VK_SPACE_KEY, -1, true, false), ' ');
    EXPECT_EQ(key_typed_char(VK_TAB_KEY, 9, true, false), -1);
    EXPECT_EQ(key_typed_char('1', '1', true, false), -1);
    EXPECT_EQ(key_typed_char(0, 0xE9, true, false), -1);
}

TEST(KeyTranslation, AltF4AloneClosesTheWindow) {
    EXPECT_TRUE(key_closes_window(VK_F1_KEY + 3, false, true));
    EXPECT_FALSE(key_closes_window(VK_F1_KEY + 3, true, true));
    EXPECT_FALSE(key_closes_window(VK_F1_KEY + 3, false, false));
    EXPECT_FALSE(key_closes_window(VK_F1_KEY + 2, false, true));
}
