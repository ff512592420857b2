// The speech front end's start, its recordings by key and the click sound.
#include <fstream>

#include "game_test_support.h"
#include "speech/speech.h"
#include "util/wave_format.h"

TEST_F(GameTest, SpeechStartKeepsTheDirectoryAndASaneSpeed) {
    speech_start(0, "/x/som");
    EXPECT_EQ(speech_sound_directory(), "/x/som/");
    EXPECT_EQ(speech_current_speed(), 3) << "no VELOCIDADE in the configuration";
    speech_start(5, "");
    EXPECT_EQ(speech_sound_directory(), "");
    EXPECT_EQ(speech_current_speed(), 5);
    speech_start(9, "/y/");
    EXPECT_EQ(speech_sound_directory(), "/y/");
    EXPECT_EQ(speech_current_speed(), 3);
    speech_reset();
    speech_module_start();
    EXPECT_TRUE(speech_speak_punctuation()) << "on after the module start";
    speech_set_speak_punctuation(false);
    EXPECT_FALSE(speech_speak_punctuation());
}

TEST_F(GameTest, RecordingsAreFoundWithoutCase) {
    std::filesystem::copy_file(data_dir() / "som" / "FUGA.wav", dir_ / "FUGA.wav");
    std::ofstream(dir_ / "ok.WAV") << "RIFF";
    std::filesystem::create_directory(dir_ / "PASTA.wav");
    speech_start(3, dir_.string());
    EXPECT_TRUE(speech_key_exists("FUGA"));
    EXPECT_TRUE(speech_key_exists("fuga"));
    EXPECT_EQ(speech_key_file("fuga"), dir_.string() + "/FUGA.wav");
    EXPECT_TRUE(speech_key_exists("OK"));
    EXPECT_FALSE(speech_key_exists("PASTA")) << "a directory is no recording";
    EXPECT_FALSE(speech_key_exists("01"));
    EXPECT_FALSE(speech_key_exists(""));
    EXPECT_FALSE(speech_key_exists("../FUGA"));
    sounds();
    speech_play_key("fuga");
    speech_write_line(latin1("São 7"));
    EXPECT_EQ(screen(), "São 7\n");
    EXPECT_EQ(sounds(), (std::vector<std::string>{"file FUGA.wav", "say São 7"}));
}

TEST_F(GameTest, ClickSoundIsRandomForSixtyFourSamplesThenSilent) {
    const uint8_t* image = speech_click_image();
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(image), 4), "RIFF");
    EXPECT_EQ(image[40] | image[41] << 8, SPEECH_CLICK_SAMPLES);
    const uint8_t* samples = image + WAVE_HEADER_BYTES;
    bool varied = false;
    for (int i = 0; i < 64; ++i) {
        EXPECT_GE(samples[i], 128);
        EXPECT_LT(samples[i], 188);
        varied = varied || samples[i] != samples[0];
    }
    EXPECT_TRUE(varied);
    for (int i = 64; i < SPEECH_CLICK_SAMPLES; ++i) EXPECT_EQ(samples[i], 128) << i;
    random_reset();
    speech_module_start();
    EXPECT_EQ(random_next(100), 57u) << "65 draws before the game's first";
}
