// Tests of the line editor driven by headless key scripts: what it returns,
// what it leaves on the clipboard and the screen, and what it opens.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "console/sound_log.h"
#include "console/console.h"
#include "platform/headless/headless.h"
#include "platform/config.h"
#include "speech/line_editor.h"
#include "speech/speech.h"
#include "system_support.h"
#include "temp_home.h"
#include "util/latin1.h"

namespace {

namespace fs = std::filesystem;

class LineEditor : public TempHomeTest {
protected:
    void SetUp() override {
        TempHomeTest::SetUp();
        // The generated installation's configuration, so speech really starts.
        fs::copy_file(fs::path(FUGA_BINARY_DIR) / "data" / "TALUNE.INI", dir_ / "TALUNE.INI");
        log_ = (dir_ / "sound.log").string();
        sys_set_env("FUGA_SOUND_LOG", log_);
        sound_log_reset();
        console_reset();
        speech_reset();
        speech_module_start();
        speech_start(3, "");
        speech_set_echo_typed(true);
    }
    void TearDown() override {
        sound_log_reset();
        sys_unset_env("FUGA_SOUND_LOG");
        TempHomeTest::TearDown();
    }

    // Runs one edit of `text` on row 5 with the keys of `script`, which must
    // end the edit.
    uint8_t edit(std::string& text, const std::string& script, bool editable = true, int width = 20,
                 int maximum = 30) {
        std::string error;
        EXPECT_TRUE(headless_reset_for_test(script, "2026-01-05 10:00:00", &error)) << error;
        return speech_edit_field(text, 3, 5, editable, width, maximum);
    }

    std::string row_text(int row) {
        std::string s;
        for (int c = 1; c <= CONSOLE_MAX_COLUMNS; ++c) s += static_cast<char>(console_char_at(c, row));
        while (!s.empty() && s.back() == ' ') s.pop_back();
        return s;
    }

    std::string clipboard() { return console_paste_from_clipboard(1000); }

    std::string log_;
};

TEST_F(LineEditor, ReturnsTheTextAndTheEndingCode) {
    std::string text;
    EXPECT_EQ(edit(text, "pegar a chave   \n"), 13);
    EXPECT_EQ(text, "pegar a chave");
    EXPECT_EQ(row_text(5), "  pegar a chave");
    text = "";
    EXPECT_EQ(edit(text, "x{Up}"), 72);
    EXPECT_EQ(text, "x");
    text = "";
    EXPECT_EQ(edit(text, "{Tab}"), 9);
    EXPECT_EQ(edit(text, "{Ctrl+Enter}"), 10);
    EXPECT_EQ(edit(text, "{Esc}"), 27);
    EXPECT_EQ(edit(text, "{F10}"), 68);
    EXPECT_EQ(edit(text, "{Ctrl+F9}"), 102);
    // Ignored keys and the screen review key leave the edit going.
    EXPECT_EQ(edit(text, "{Alt+1}{Alt+0}{Ctrl+Alt+F9}ok\n"), 13);
    EXPECT_EQ(text, "ok");
    // Alt+Q is passed over: the key after it is taken instead.
    text = "";
    console_queue_key(0);
    console_queue_key(16);
    EXPECT_EQ(edit(text, "a\n"), 13);
    EXPECT_EQ(text, "a");
}

TEST_F(LineEditor, FirstKeyReplacesAProposedTextUnlessItMoves) {
    std::string text = "abc";
    edit(text, "x\n");
    EXPECT_EQ(text, "x");
    text = "abc";
    edit(text, "{Right}x\n");
    EXPECT_EQ(text, "axbc");
    text = "abc";
    edit(text, "{End}x\n");
    EXPECT_EQ(text, "abcx");
    // The maximum length cuts a longer proposal.
    text = "abcdef";
    edit(text, "\n", true, 20, 4);
    EXPECT_EQ(text, "abcd");
}

TEST_F(LineEditor, PasteAtTheFirstKeyAndIntoASelection) {
    console_copy_to_clipboard("novo\r\nresto");
    std::string text = "abc";
    edit(text, "{Ctrl+v}\n");
    EXPECT_EQ(text, "novo");
    console_copy_to_clipboard("XY");
    text = "abcdef";
    edit(text, "{Right}{Shift+Right}{Shift+Right}{Ctrl+v}\n");
    EXPECT_EQ(text, "aXYdef");
    text = "abcdef";
    edit(text, "{Right}{Shift+Right}{Shift+Right}{Shift+Insert}\n");
    EXPECT_EQ(text, "aXYdef");
    // Without a selection it goes in at the cursor, which stays before it.
    text = "abcdef";
    edit(text, "{End}{Shift+Insert}{Backspace}\n");
    EXPECT_EQ(text, "abcdeXY");
    // An empty clipboard pastes nothing and keeps a proposed text.
    console_copy_to_clipboard("");
    text = "abc";
    edit(text, "{Ctrl+v}\n");
    EXPECT_EQ(text, "abc");
}

TEST_F(LineEditor, CopyWithAndWithoutACompleteSelection) {
    std::string text = "abcdef";
    edit(text, "{Ctrl+c}\n");
    EXPECT_EQ(clipboard(), "abcdef\r\n");
    edit(text, "{Right}{Shift+Right}{Shift+Right}{Ctrl+Insert}\n");
    EXPECT_EQ(clipboard(), "bc");
    // Marked leftwards; Ctrl+C keeps the selection too.
    edit(text, "{End}{Shift+Left}{Shift+Left}{Ctrl+c}\n");
    EXPECT_EQ(clipboard(), "ef");
    // A move without Shift ends the selection.
    edit(text, "{Shift+Right}{Right}{Ctrl+c}\n");
    EXPECT_EQ(clipboard(), "abcdef\r\n");
}

TEST_F(LineEditor, DeletingCharactersSelectionsAndWords) {
    std::string text = "abcdef";
    edit(text, "{Right}{Shift+Right}{Shift+Right}{Shift+Right}{Delete}\n");
    EXPECT_EQ(text, "aef");
    text = "abcdef";
    edit(text, "{Right}{Right}{Backspace}{Delete}\n");
    EXPECT_EQ(text, "adef");
    text = "abc def ghi";
    edit(text, "{End}{Ctrl+Backspace}\n");
    EXPECT_EQ(text, "abc def");
    text = "abc def ghi";
    edit(text, "{Ctrl+Right}{Ctrl+Backspace}\n");
    EXPECT_EQ(text, "abc ghi");
    text = "abc def";
    edit(text, "{Ctrl+Right}{Ctrl+Right}{Ctrl+Left}{Ctrl+d}\n");
    EXPECT_EQ(text, "abc");
    text = "abc def";
    edit(text, "{Ctrl+Right}{Ctrl+s}\n");
    EXPECT_EQ(text, "def");
    text = "abc def";
    edit(text, "{Right}{Ctrl+y}x\n");
    EXPECT_EQ(text, "x");
    text = "abc";
    edit(text, "{End}xyz{Ctrl+u}\n");
    EXPECT_EQ(text, "abc");
}

TEST_F(LineEditor, EchoToggleAndDialTones) {
    std::string text = "12#";
    console_queue_key(28);  // Ctrl+\ has no key-script name
    edit(text, "{F4}{End}x{F4}y\n");
    EXPECT_EQ(text, "12#xy");
    std::ifstream in(log_);
    std::vector<std::string> wanted = {"file dtmf_1.wav", "file dtmf_2.wav", "file dtmf_#.wav", "file _FALDLG.wav",
                                       "file _FALACI.wav", "file _121.wav"};
    std::string line;
    size_t next = 0;
    bool x_spoken = false;
    while (std::getline(in, line)) {
        if (line == "file _120.wav") x_spoken = true;
        if (next < wanted.size() && line == wanted[next]) ++next;
    }
    EXPECT_EQ(next, wanted.size()) << "missing or out of order: " << (next < wanted.size() ? wanted[next] : "");
    EXPECT_FALSE(x_spoken) << "typed with the echo off";
    speech_set_echo_typed(true);
}

TEST_F(LineEditor, ReadOnlyFieldNeverChanges) {
    console_copy_to_clipboard("XY");
    std::string text = "abc def";
    edit(text, "x{End}{Backspace}{Delete}{Ctrl+Backspace}{Ctrl+d}{Ctrl+y}{Ctrl+s}{Ctrl+v}{Shift+Insert}\n", false);
    EXPECT_EQ(text, "abc def");
}

TEST_F(LineEditor, FullFieldTakesNothingMore) {
    std::string text = "abc";
    edit(text, "{End}d\n", true, 20, 3);
    EXPECT_EQ(text, "abc");
    // Nor does a character that would push the last one out.
    edit(text, "{Right}x\n", true, 20, 3);
    EXPECT_EQ(text, "abc");
    text = "ab";
    edit(text, "{Right}x\n", true, 20, 3);
    EXPECT_EQ(text, "axb");
    // A maximum beyond the editor's capacity is its capacity.
    text = std::string(3000, 'a');
    edit(text, "\n", true, 20, 3000);
    EXPECT_EQ(text.size(), static_cast<size_t>(EDITOR_MAX_LENGTH));
}

TEST_F(LineEditor, ScrollsAndShowsTheStartAtTheEnd) {
    std::string text;
    // Width 5: while typing the view follows the cursor; at the end the
    // field's first five characters are shown again.
    edit(text, "abcdefgh\n", true, 5, 30);
    EXPECT_EQ(text, "abcdefgh");
    EXPECT_EQ(row_text(5), "  abcde");
    // A field on the bottom row that would reach the last column is one
    // narrower, so nothing is written there.
    std::string error;
    ASSERT_TRUE(headless_reset_for_test("abcdefghij\n", "", &error)) << error;
    text = "";
    speech_edit_field(text, 76, CONSOLE_MAX_ROWS, true, 5, 30);
    EXPECT_EQ(console_char_at(80, CONSOLE_MAX_ROWS), ' ');
    EXPECT_EQ(console_char_at(79, CONSOLE_MAX_ROWS), 'd');
}

TEST_F(LineEditor, ReadLineBlanksTheLineOnEsc) {
    std::string error;
    ASSERT_TRUE(headless_reset_for_test("abc{Esc}pegar   \n", "", &error)) << error;
    console_move_cursor(1, 3);
    console_write_text("Que fazer? ");
    EXPECT_EQ(speech_read_line(), "");
    EXPECT_EQ(row_text(3), "Que fazer?");
    EXPECT_EQ(console_cursor_row(), 4);
    EXPECT_EQ(console_cursor_column(), 1);
    console_write_text("Que fazer? ");
    EXPECT_EQ(speech_read_line(), "pegar");
    EXPECT_EQ(row_text(4), "Que fazer? pegar");
}

TEST_F(LineEditor, F12OpensTheWordUnderTheCursor) {
    fs::create_directories(dir_ / "bin");
    std::ofstream(dir_ / "bin" / "xdg-open")
        << "#!/bin/sh\nprintf '%s|' \"$#\" \"$@\" > \"$FUGA_TEST_RECORD.tmp\" && mv \"$FUGA_TEST_RECORD.tmp\" "
           "\"$FUGA_TEST_RECORD\"\n";
    fs::permissions(dir_ / "bin" / "xdg-open", fs::perms::owner_all);
    std::string record = (dir_ / "record").string();
    std::string old_path = std::getenv("PATH") ? std::getenv("PATH") : "/usr/bin:/bin";
    sys_set_env("PATH", ((dir_ / "bin").string() + ":" + old_path));
    sys_set_env("FUGA_TEST_RECORD", record);
    std::string text = "veja (PROG.HTM)";
    edit(text, "{Ctrl+Right}{Right}{F12}\n");
    for (int i = 0; i < 500 && !fs::exists(record); ++i) std::this_thread::sleep_for(std::chrono::milliseconds(10));
    sys_set_env("PATH", old_path);
    sys_unset_env("FUGA_TEST_RECORD");
    std::ifstream in(record);
    std::stringstream got;
    got << in.rdbuf();
    EXPECT_EQ(got.str(), "1|PROG.HTM|");
    EXPECT_EQ(text, "veja (PROG.HTM)");
}

}  // namespace
