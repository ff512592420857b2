// The review mode driven by headless key scripts over a prepared screen,
// with real speech: what is heard, where the cursor ends, what is copied.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "audio/extsynth.h"
#include "console/sound_log.h"
#include "console/console.h"
#include "console/key_cut.h"
#include "platform/config.h"
#include "platform/headless/headless.h"
#include "review/review.h"
#include "speech/speech.h"
#include "util/latin1.h"
#include "system_support.h"

namespace {

namespace fs = std::filesystem;

const char* const BEEP = "image 512 11025 8 1";
const char* const CLICK = "image 256 11025 8 1";

// A test voice: takes every text at once and is never busy, so the sound
// log's "ext" lines are all there is to hear.
bool voice_start(int, int, int, const std::string&) { return true; }
void voice_stop() {}
void voice_speak(const std::string&) {}
bool voice_busy(bool) { return false; }
void voice_silence() {}
const ExtSynthEngine TEST_VOICE = {"test", voice_start, voice_stop, voice_speak, voice_busy, voice_silence};
// Configured as type 77, which the dispatcher gives to the engine of the
// "any other type" slot, 4.
constexpr int TEST_VOICE_TYPE = 77;
constexpr ExtSynthType TEST_VOICE_SLOT = EXTSYNTH_TYPE_SAPI4;

class ReviewMode : public ::testing::Test {
protected:
    void SetUp() override { start(false); }

    void start(bool external) {
        std::string made = sys_make_temp_dir("fuga_review_");
        ASSERT_NE(made, "");
        dirs_.push_back(made);
        fs::path dir = dirs_.back();
        fs::path generated = fs::path(FUGA_BINARY_DIR) / "data" / "TALUNE.INI";
        if (!fs::exists(generated)) {
            if (std::getenv("CI")) FAIL() << "the generated installation is missing: " << generated;
            GTEST_SKIP() << "the generated installation is missing: " << generated;
        }
        std::ifstream in(generated);
        std::stringstream ini;
        ini << in.rdbuf();
        std::string text = ini.str();
        if (external) {
            size_t at = text.find("SAPI=N");
            ASSERT_NE(at, std::string::npos);
            text.replace(at, 6, "SAPI=S");
            at = text.find("TIPOSAPI=");
            ASSERT_NE(at, std::string::npos);
            text.replace(at, text.find('\n', at) - at, "TIPOSAPI=" + std::to_string(TEST_VOICE_TYPE));
        }
        std::ofstream(dir / "TALUNE.INI") << text;
        sys_set_env("TALUNE_HOME", dir);
        log_ = (dir / "sound.log").string();
        sys_set_env("FUGA_SOUND_LOG", log_);
        sound_log_reset();
        config_reset();
        console_reset();
        speech_reset();
        review_reset();
        speech_module_start();
        if (external) extsynth_register(TEST_VOICE_SLOT, &TEST_VOICE);
        speech_start(3, "");
        speech_set_speak_punctuation(false);
        ASSERT_EQ(speech_external_active(), external);
        console_open();
    }

    void TearDown() override {
        sound_log_reset();
        sys_unset_env("FUGA_SOUND_LOG");
        extsynth_reset();
        config_reset();
        for (const fs::path& d : dirs_) {
            std::error_code ec;
            fs::remove_all(d, ec);
        }
    }

    void put(int column, int row, const std::string& utf8_text, uint8_t colour = 15) {
        console_move_cursor(column, row);
        console_set_text_colour(colour);
        console_write_text(latin1(utf8_text));
    }

    // Runs the mode from the console cursor at (column, row) with the keys
    // of `script` (which must end it with Esc) and returns what was heard.
    std::vector<std::string> review(int column, int row, const std::string& script) {
        sound_log_reset();
        std::string error;
        EXPECT_TRUE(headless_reset_for_test(script, "2026-01-05 10:00:00", &error)) << error;
        console_move_cursor(column, row);
        review_run();
        std::vector<std::string> lines;
        std::ifstream in(log_);
        for (std::string line; std::getline(in, line);) lines.push_back(line);
        return lines;
    }

    // The heard lines without the synthesized and recorded sound of spoken
    // texts: "say", "ext" and "file" lines, beeps and clicks, in order.
    static std::vector<std::string> events(const std::vector<std::string>& lines) {
        std::vector<std::string> out;
        for (const std::string& l : lines) {
            if (l == BEEP) out.push_back("beep");
            else if (l == CLICK) out.push_back("click");
            else if (l.rfind("image", 0) != 0) out.push_back(l);
        }
        return out;
    }

    std::vector<fs::path> dirs_;
    std::string log_;
};

using Lines = std::vector<std::string>;

TEST_F(ReviewMode, EntersWithABeepLeavesWithTwoAndPutsTheCursorBack) {
    put(1, 1, "Que fazer? ");
    EXPECT_EQ(events(review(12, 1, "{Down}{Down}{End}{Esc}")),
              (Lines{"beep", "click", "click", "click", "click", "beep", "beep"}));
    EXPECT_EQ(console_cursor_column(), 12);
    EXPECT_EQ(console_cursor_row(), 1);
    EXPECT_EQ(review_row(), 3);
    EXPECT_EQ(review_column(), 1) << "End on a blank row goes to column 1";
    EXPECT_EQ(console_char_at(1, 1), 'Q') << "the grid is never changed";
}

TEST_F(ReviewMode, WordsRunsAndConsonants) {
    put(1, 2, "BRT BRA 2024");
    put(1, 3, std::string(40, '-'));
    put(1, 4, "a...b");
    // The hyphens are said as three (the front end speaks two and pauses at
    // the last); on a blank row "TL" is nothing but the click.
    Lines heard = events(review(1, 2, "tl{Down}{Down}{Down}tL{Esc}"));
    Lines wanted = {"beep",
                    "file _66.wav", "file _82.wav", "file _84.wav", "say BRA", "say 2024", "click",
                    "click", "say ---", "file _45.wav", "file _45.wav", "click",
                    "click", "say a", "say ...", "file _46.wav", "file _46.wav", "say b", "click",
                    "click", "click",
                    "click",
                    "beep", "beep"};
    EXPECT_EQ(heard, wanted);
}

TEST_F(ReviewMode, RangesFromTheCursorAndUpToIt) {
    for (int r = 1; r <= 25; ++r) put(1, r, "linha " + std::to_string(r));
    put(38, 24, "meio fim");
    // "IL" reads the line up to the cursor and returns.
    Lines heard = events(review(44, 24, "il{Esc}"));
    // "fim" begins inside the range, so it is read whole.
    EXPECT_EQ(heard, (Lines{"beep", "say linha", "say 24", "say meio", "say fim", "click", "beep", "beep"}));
    EXPECT_EQ(review_column(), 44);
    // "FT" from column 40 of row 24: "io fim", then row 25 from column 1,
    // and the cursor stays at the end of the last row.
    heard = events(review(40, 24, "ft{Esc}"));
    EXPECT_EQ(heard, (Lines{"beep", "say io", "say fim", "click", "say linha", "say 25", "click", "beep", "beep"}));
    EXPECT_EQ(review_row(), 25);
    EXPECT_EQ(review_column(), 9);
    // "IT" on row 1 at column 1 reads nothing: the range is empty.
    heard = events(review(1, 1, "it{Esc}"));
    EXPECT_EQ(heard, (Lines{"beep", "beep", "beep", "beep"}));
}

TEST_F(ReviewMode, FieldCommands) {
    put(1, 5, "Nome: Varnio|Cela 7");
    // The field of column 8 runs from the blank after ":" to before "|":
    // "TC" and Ctrl+F1 read it, "IC" up to the cursor (a word begun is read
    // whole), space the line (a mark takes the word after it along), "FC"
    // from the cursor.
    Lines heard = events(review(8, 5, "tc{Ctrl+F1}ic fc{Esc}"));
    EXPECT_EQ(heard, (Lines{"beep", "say Varnio", "click", "say Varnio", "click", "say Varnio", "click",
                            "say Nome", "say :", "say Varnio", "say |Cela", "file _124.wav", "say 7", "click",
                            "say arnio", "click", "beep", "beep"}));
    // Tab goes past the field's end and its separator; Shift+Tab before the
    // field's start and its separator.
    review(8, 5, "{Tab}{Esc}");
    EXPECT_EQ(review_column(), 14);
    review(15, 5, "{Shift+Tab}{Esc}");
    EXPECT_EQ(review_column(), 12);
}

TEST_F(ReviewMode, CharactersPositionAndBounds) {
    put(1, 3, "abc");
    put(80, 4, "z");
    // Ctrl+K on row 3 column 12.
    Lines heard = events(review(12, 3, "{Ctrl+k}{Esc}"));
    EXPECT_EQ(heard, (Lines{"beep", "say 3 12", "beep", "beep"}));
    // Left at column 1: the beep of the move, then the bounds step's.
    heard = events(review(2, 3, "{Left}{Backspace}{Right}{Esc}"));
    EXPECT_EQ(heard, (Lines{"beep", "file _97.wav", "beep", "beep", "file _97.wav", "beep", "beep"}));
    // Right at column 81 spells the blank past the row; the bounds step
    // puts the cursor back on column 80.
    heard = events(review(80, 4, "{Right}{End}{Right}{Esc}"));
    EXPECT_EQ(heard, (Lines{"beep", "file _122.wav", "file _32.wav", "beep", "beep", "beep"}));
    EXPECT_EQ(review_column(), 80);
    // Up at the top row, Enter past the bottom row.
    heard = events(review(5, 1, "{Up}{PageDown}\n{Esc}"));
    EXPECT_EQ(heard, (Lines{"beep", "beep", "click", "click", "beep", "beep", "beep"}));
    EXPECT_EQ(review_row(), 25);
    // Any other key: beep, click, beep; "x" is no two-letter command and
    // "tx" has no second letter.
    heard = events(review(1, 1, "x{F3}{Esc}"));
    EXPECT_EQ(heard, (Lines{"beep", "beep", "click", "beep", "beep", "click", "beep", "beep", "beep"}));
    heard = events(review(1, 1, "tx{Esc}"));
    EXPECT_EQ(heard, (Lines{"beep", "beep", "click", "beep", "beep", "beep"}));
    // An extended key as the second letter is one wrong key, not two.
    heard = events(review(1, 1, "t{Down}{Esc}"));
    EXPECT_EQ(heard, (Lines{"beep", "beep", "click", "beep", "beep", "beep"}));
}

TEST_F(ReviewMode, GoToAndTheFirstAndLastLetter) {
    put(1, 12, "    doze");
    put(5, 2, "12 primeira");
    put(3, 20, "ultima 9");
    Lines heard = events(review(1, 1, "{F6}1205{F1}{Esc}"));
    EXPECT_EQ(heard, (Lines{"beep", "say Entre linha e coluna", "file _49.wav", "file _50.wav", "file _48.wav",
                            "file _53.wav", "say doze", "beep", "beep"}));
    EXPECT_EQ(review_row(), 12);
    EXPECT_EQ(review_column(), 9);
    heard = events(review(7, 7, "{F6}1x{Esc}"));
    EXPECT_EQ(heard, (Lines{"beep", "say Entre linha e coluna", "file _49.wav", "beep", "beep", "beep", "beep"}));
    EXPECT_EQ(review_row(), 7);
    EXPECT_EQ(review_column(), 7);
    // An extended key ends the entry and does nothing else.
    heard = events(review(7, 7, "{F6}{Up}{Esc}"));
    EXPECT_EQ(heard, (Lines{"beep", "say Entre linha e coluna", "beep", "beep", "beep", "beep"}));
    // 00 beeps twice at the bounds and lands on row 1, column 1.
    review(7, 7, "{F6}0000{Esc}");
    EXPECT_EQ(review_row(), 1);
    EXPECT_EQ(review_column(), 1);

    heard = events(review(1, 1, "{Ctrl+PageUp}{Esc}"));
    EXPECT_EQ(heard, (Lines{"beep", "say 12", "say primeira", "click", "beep", "beep"}));
    EXPECT_EQ(review_row(), 2);
    EXPECT_EQ(review_column(), 8);
    review(1, 1, "{Ctrl+PageDown}{Esc}");
    EXPECT_EQ(review_row(), 20);
    EXPECT_EQ(review_column(), 8);
}

TEST_F(ReviewMode, SearchBelowTheCursorAndAgainNextTime) {
    put(1, 3, "a chave e a porta");
    put(1, 9, "outra chave");
    // Only before the cursor on its row, nowhere below: two beeps, no move.
    Lines heard = events(review(14, 3, "{F5}porta\n{Esc}"));
    EXPECT_EQ(heard[1], "say Qual texto");
    EXPECT_EQ(Lines(heard.end() - 4, heard.end()), (Lines{"beep", "beep", "beep", "beep"}));
    EXPECT_EQ(review_column(), 14);
    heard = events(review(1, 3, "{F5}x{Backspace}chave\n{Ctrl+F5}{Ctrl+F5}{Esc}"));
    EXPECT_EQ(Lines(heard.begin() + 2, heard.begin() + 5), (Lines{"file _120.wav", "file _DEL.wav", "file _120.wav"}));
    EXPECT_EQ(Lines(heard.end() - 5, heard.end()), (Lines{"click", "beep", "beep", "beep", "beep"}));
    EXPECT_EQ(review_row(), 9);
    EXPECT_EQ(review_column(), 7);
    EXPECT_EQ(review_search_text(), "chave");
    // The text is kept for the next time the mode is entered.
    review(1, 1, "{Ctrl+F5}{Esc}");
    EXPECT_EQ(review_row(), 3);
    EXPECT_EQ(review_column(), 3);
    // Esc while asking leaves without searching (the text starts afresh).
    review(1, 1, "{F5}ch{Esc}{Esc}");
    EXPECT_EQ(review_row(), 1);
    EXPECT_EQ(review_search_text(), "ch");
}

TEST_F(ReviewMode, CopyPutsTheWholeScreenWithLineEnds) {
    put(1, 1, "FUGA DE VAL MORVELA");
    review(1, 1, "{Ctrl+c}{Esc}");
    std::string clip = console_paste_from_clipboard(5000);
    ASSERT_EQ(clip.size(), 25u * 82u);
    EXPECT_EQ(clip.substr(0, 82), "FUGA DE VAL MORVELA" + std::string(61, ' ') + "\r\n");
}

TEST_F(ReviewMode, AKeyCutsALongReading) {
    for (int r = 1; r <= 25; ++r) put(1, r, "Esta noite, um curto-circuito na casa de forca do presidio causou um blecaute.");
    Lines heard = events(review(1, 1, "tt{wait 1500}{Home}{Esc}"));
    int said = 0;
    for (const std::string& l : heard) said += l.rfind("say", 0) == 0;
    EXPECT_GT(said, 0);
    EXPECT_LT(said, 25 * 5) << "the whole screen was read although a key was typed";
    EXPECT_EQ(review_column(), 1);
    EXPECT_LT(review_row(), 25);
}

TEST_F(ReviewMode, AnInstalledStopAnswerCutsTheReadingLikeAKey) {
    for (int r = 1; r <= 25; ++r) put(1, r, "Esta noite, um curto-circuito na casa de forca do presidio causou um blecaute.");
    key_cut_set_hook([] { return true; });
    Lines heard = events(review(1, 1, "tt{Esc}"));
    key_cut_set_hook(nullptr);
    int said = 0;
    for (const std::string& l : heard) said += l.rfind("say", 0) == 0;
    EXPECT_EQ(said, 1) << "the first word, then no further word or row";
}

class ReviewModeExternal : public ReviewMode {
protected:
    void SetUp() override { start(true); }
};

TEST_F(ReviewModeExternal, RowsGoToTheSynthesizerWhole) {
    for (int r = 1; r <= 25; ++r) put(1, r, "linha " + std::to_string(r));
    put(38, 24, "meio fim");
    Lines heard = events(review(40, 24, "ft{Esc}"));
    const std::string row24 = "io fim" + std::string(35, ' '), row25 = "linha 25" + std::string(72, ' ');
    EXPECT_EQ(heard, (Lines{"beep", "say " + row24, "ext " + row24, "click", "say " + row25, "ext " + row25, "click",
                            "beep", "beep"}));
    EXPECT_EQ(review_column(), 9);
    // The word key and the position speak through the synthesizer too.
    put(1, 2, "BRT    ");
    heard = events(review(1, 2, "{F1}{Ctrl+l}{Esc}"));
    // Consonants only are spelled from the letter recordings.
    EXPECT_EQ(heard, (Lines{"beep", "file _66.wav", "file _82.wav", "file _84.wav", "say 2 4", "ext 2 4", "beep",
                            "beep"}));
}

}  // namespace
