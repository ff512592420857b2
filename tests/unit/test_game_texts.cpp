// The message table and the introduction's story.
#include <set>

#include "game/endings.h"
#include "game/texts.h"
#include "game_test_support.h"

TEST_F(GameTest, EveryTextIsLatin1WithAValidKey) {
    for (int i = 0; i < TXT_COUNT; ++i) {
        const GameTextEntry& e = game_text_entry(static_cast<GameText>(i));
        EXPECT_FALSE(e.text.empty()) << i;
        std::string key = e.key;
        EXPECT_LE(key.size(), 9u) << key;
        for (char c : key) EXPECT_TRUE(std::isalnum(static_cast<unsigned char>(c))) << key;
        EXPECT_EQ(latin1(utf8(e.text)), e.text) << "held as Latin-1: " << i;
    }
    EXPECT_EQ(game_text(TXT_NAME_SHEET), "LEN\xC7OL");
    EXPECT_EQ(std::string(game_text_key(TXT_NAME_GUARD)), "14");
}

TEST_F(GameTest, IntroductionTellsTheStoryInThirteenShortLines) {
    game_introduction();
    std::string text = screen();
    EXPECT_EQ(text.rfind("FUGA DE VAL MORVELA\n-------------------\n\nVarnio Keltis, conhecido político americano, "
                         "foi acusado injustamente\n",
                         0),
              0u);
    std::vector<std::string> lines;
    size_t start = text.find("Varnio");
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        lines.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    ASSERT_EQ(lines.size(), 16u) << "13 lines in paragraphs of 4, 4, 4 and 1";
    for (size_t i : {4u, 9u, 14u}) EXPECT_EQ(lines[i], "") << i;
    for (const std::string& line : lines) EXPECT_LE(latin1(line).size(), 75u) << line;
    EXPECT_EQ(lines.back(), "Você vai acompanhá-lo nessa difícil e perigosa empreitada.");
    EXPECT_EQ(sounds(), (std::vector<std::string>{"file TITULO.wav", "file INTRO.wav"})) << "the title is heard too";
    EXPECT_EQ(console_current_attribute() & 0x0F, 15);
}

TEST_F(GameTest, SetupReadsTheGamesSpeedAndDataDirectory) {
    EXPECT_EQ(game_speed_setting(""), 0);
    EXPECT_EQ(game_speed_setting("  4"), 4);
    EXPECT_EQ(game_speed_setting("-2"), -2);
    EXPECT_EQ(game_speed_setting("-2x"), 2) << "digits before the bad character, without their sign";
    EXPECT_EQ(game_speed_setting("x5"), 0);
    // What the own synthesizer needs to start, beside the keys under test.
    const std::string data = data_dir().string();
    const std::string voice = "[SINTETIZADOR]\nDIFONES2=DIFONES2\nDIFONES3=DIFONES3\nDIFONES5=DIFONES5\n";
    const std::string dirs = "DIRLETRAS=" + data + "/letras/\nDIRDIFONES=" + data + "/difones/\n";
    std::ofstream(dir_ / "TALUNE.INI") << "[SMORVELA]\nDIRSMORVELA=" << dir_.string() << "/som\nVELOCIDADE=5\n"
                                       << "[TRADUTOR]\n" << dirs << voice;
    game_setup();
    EXPECT_EQ(speech_current_speed(), 5);
    EXPECT_EQ(speech_sound_directory(), dir_.string() + "/som/");
    std::ofstream(dir_ / "TALUNE.INI") << "[SMORVELA]\nVELOCIDADE=9\n[TRADUTOR]\nVELOCIDADE=2\n" << dirs << voice;
    game_setup();
    EXPECT_EQ(speech_current_speed(), 3) << "out of range";
    std::ofstream(dir_ / "TALUNE.INI") << "[TRADUTOR]\nVELOCIDADE=2\n" << dirs << voice;
    game_setup();
    EXPECT_EQ(speech_current_speed(), 2) << "absent: the speech system's own speed";
    EXPECT_EQ(speech_sound_directory(), "");
}
