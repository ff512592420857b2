// Start-up of the speech front end: speed choice, speed-dependent keys,
// directories, pauses, and the recordings the game asks for.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "audio/extsynth.h"
#include "console/sound_log.h"
#include "audio/wave_output.h"
#include "console/console.h"
#include "diphone/diphone.h"
#include "game/texts.h"
#include "platform/file_lookup.h"
#include "platform/headless/headless.h"
#include "platform/config.h"
#include "speech/speech.h"
#include "system_support.h"

namespace {
namespace fs = std::filesystem;
const fs::path DATA = fs::path(FUGA_BINARY_DIR) / "data";

class SpeechStart : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() / ("fuga_speech_start_" + std::to_string(::sys_process_id()));
        fs::create_directories(dir_);
        sys_set_env("TALUNE_HOME", dir_);
        headless_reset_for_test("");
        config_reset();
        console_reset();
        wave_reset();
        diphone_reset();
        extsynth_reset();
        speech_reset();
        speech_module_start();
    }
    void TearDown() override {
        speech_stop();
        fs::remove_all(dir_);
    }
    // The generated configuration with `extra` lines put at the head of
    // their sections (the first key found wins).
    void configure(const std::string& section, const std::string& extra, const std::string& section2 = "",
                   const std::string& extra2 = "") {
        std::ifstream in(DATA / "TALUNE.INI");
        std::ofstream out(dir_ / "TALUNE.INI");
        for (std::string l; std::getline(in, l);) {
            out << l << "\n";
            if (l == "[" + section + "]") out << extra;
            if (!section2.empty() && l == "[" + section2 + "]") out << extra2;
        }
    }
    fs::path dir_;
};
}  // namespace

TEST_F(SpeechStart, SpeedFromTheConfigurationAndItsKeys) {
    configure("TRADUTOR", "VELOCIDADE=7\n");
    speech_start(0, "/jogo");
    EXPECT_EQ(speech_current_speed(), 3) << "7 is out of range";
    EXPECT_EQ(speech_sound_directory(), "/jogo/");
    EXPECT_EQ(diphone_database(), "DIFONES3");

    configure("TRADUTOR", "VELOCIDADE=5\n", "SINTETIZADOR", "PAUSAPONTO5=444\nPAUSAVIRG5=12x\nPAUSADOISPONTOS3=999\n");
    speech_start(0, "");
    EXPECT_EQ(speech_current_speed(), 5);
    EXPECT_EQ(diphone_database(), "DIFONES5");
    EXPECT_EQ(speech_sound_directory(), "") << "an empty sound directory stays empty";
    EXPECT_EQ(speech_period_pause(), 444) << "read with the speed's suffix";
    EXPECT_EQ(speech_comma_pause(), 12) << "the digits before the bad character";
    EXPECT_EQ(speech_colon_pause(), 120) << "the generated PAUSADOISPONTOS5, not the key of speed 3";
    EXPECT_EQ(speech_letters_directory(), (DATA / "letras").generic_string() + "/");
}

TEST_F(SpeechStart, MissingOrUnparsablePausesGiveTheDefaults) {
    configure("SINTETIZADOR", "PAUSAPONTO3=abc\n");
    speech_start(3, "/a/b/");
    EXPECT_EQ(speech_sound_directory(), "/a/b/");
    EXPECT_EQ(speech_period_pause(), 250);
    EXPECT_EQ(speech_comma_pause(), 150);
    EXPECT_EQ(speech_colon_pause(), 200);
}

TEST_F(SpeechStart, NoExternalSynthesizerMeansTheOwnReader) {
    configure("TRADUTOR", "SAPI=Sim\n");
    // A type whose back end is missing: the own reader carries on.
    extsynth_register(EXTSYNTH_TYPE_SAPI4, nullptr);
    speech_start(3, "");
    EXPECT_FALSE(extsynth_busy());
    speech_say("ola");
    SUCCEED();
}

TEST(GameRecordings, EveryKeyTheGameAsksForHasItsRecording) {
    const std::string som = (DATA / "som").string() + "/";
    for (int id = 0; id < TXT_COUNT; ++id) {
        std::string key = game_text_key(static_cast<GameText>(id));
        if (key.empty()) continue;
        EXPECT_FALSE(file_lookup(som, key + ".wav").empty()) << key;
    }
    // The objects' names ("01".."13"), which the game plays when they exist.
    for (int n = 1; n <= 13; ++n) {
        char key[8];
        std::snprintf(key, sizeof key, "%02d", n);
        EXPECT_FALSE(file_lookup(som, std::string(key) + ".wav").empty()) << key;
    }
    EXPECT_FALSE(file_lookup(som, "fuga.wav").empty());
    EXPECT_FALSE(file_lookup(som, std::string(GAME_SIREN_KEY) + ".wav").empty());
}

// A recording asked for in another case is named as the directory has it
// (the sound log and its comparisons rely on that, also where the file
// system ignores case), and no name leads out of the directory.
TEST(FileLookup, NamesAreTheDirectorysOwnAndStayInside) {
    const std::string dir = sys_make_temp_dir("fuga_lookup_") + "/";
    ASSERT_NE(dir, "/");
    std::ofstream(dir + "Fuga.wav") << "RIFF";
    std::filesystem::create_directory(dir + "sub");
    std::ofstream(dir + "sub/X.wav") << "RIFF";
    EXPECT_EQ(file_lookup(dir, "Fuga.wav"), dir + "Fuga.wav");
    EXPECT_EQ(file_lookup(dir, "FUGA.WAV"), dir + "Fuga.wav");
    EXPECT_EQ(file_lookup(dir, "fuga.wav"), dir + "Fuga.wav");
    EXPECT_EQ(file_lookup(dir, "sub/X.wav"), "");
    EXPECT_EQ(file_lookup(dir + "sub/", "..\\Fuga.wav"), "");
    EXPECT_EQ(file_lookup(dir, "sub"), "") << "a directory is no file";
    EXPECT_EQ(file_lookup(dir, "SUB"), "");
    // A wildcard is a character of the name, which no file here has.
    EXPECT_EQ(file_lookup(dir, "F*.wav"), "");
    EXPECT_EQ(file_lookup(dir, "Fug?.wav"), "");
    EXPECT_EQ(file_lookup(dir, "Fuga.wav:x"), "");
    EXPECT_EQ(file_lookup(dir, "Fuga.wa"), "");
    std::filesystem::remove_all(dir);
}
