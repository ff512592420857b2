// A key cuts every kind of sound the moment it arrives, in virtual time:
// recordings, long synthesized images, pauses and dial tones; the key stays
// queued, the turn's tone drops keys typed ahead, and an answer installed in
// the should-stop hook stands for the keys in every loop that asks it.
#include "console/key_cut.h"
#include "game_test_support.h"
#include "platform/headless/headless.h"
#include "platform/os.h"
#include "speech/speech.h"
#include "util/wave_format.h"

namespace {
// An 8-bit image of `seconds` of a tone, longer than the four queued blocks
// when seconds exceeds 23.
std::vector<uint8_t> long_image(int seconds) {
    std::vector<uint8_t> image(WAVE_HEADER_BYTES + size_t(seconds) * 11025);
    wave_make_header(image.data(), uint32_t(image.size() - WAVE_HEADER_BYTES), 11025, 1, 8);
    for (size_t i = WAVE_HEADER_BYTES; i < image.size(); ++i) image[i] = (i / 8) % 2 ? 96 : 160;
    return image;
}

bool g_answer = false;
bool installed_answer() { return g_answer; }

class KeyCut : public GameTest {
protected:
    void TearDown() override {
        key_cut_set_hook(nullptr);
        GameTest::TearDown();
    }
};
}  // namespace

TEST_F(GameTest, AKeyCutsEachKindOfSoundWhenItArrives) {
    // A synthesized image that fills every queued block: the wait for a free
    // block ends with the key, not at the end of a sleep.
    std::vector<uint8_t> image = long_image(30);
    ASSERT_TRUE(headless_reset_for_test("{wait 505}x"));
    speech_play_image_and_wait(image.data(), image.size());
    EXPECT_EQ(os_ticks_ms(), 505u);
    EXPECT_EQ(console_read_key(), 'x') << "the key stays for the caller";

    // The introduction's recording, cut 2.5 s in (between two 10 ms steps).
    ASSERT_TRUE(headless_reset_for_test("{wait 2503}x"));
    speech_play_key("INTRO");
    EXPECT_EQ(os_ticks_ms(), 2503u);
    EXPECT_EQ(console_read_key(), 'x');

    // A pause ends with the key, not at the next 50 ms step.
    ASSERT_TRUE(headless_reset_for_test("{wait 120}x"));
    speech_pause(1000);
    EXPECT_EQ(os_ticks_ms(), 120u);
    EXPECT_EQ(console_read_key(), 'x');
    ASSERT_TRUE(headless_reset_for_test(""));
    speech_pause(1020);
    EXPECT_EQ(os_ticks_ms(), 1000u) << "no key: the whole pause in steps of 50 ms";

    // Dial tones: neither the tones nor the gaps go on after the key.
    ASSERT_TRUE(headless_reset_for_test("{wait 300}x"));
    sounds();
    speech_dial_tones("1,,,,,,2#");
    EXPECT_EQ(os_ticks_ms(), 300u);
    EXPECT_EQ(sounds(), (std::vector<std::string>{"file dtmf_1.wav"}));
    EXPECT_EQ(console_read_key(), 'x');
}

TEST_F(KeyCut, AWaitingKeyStopsSpeechStaysQueuedAndTheTurnsToneDropsIt) {
    ASSERT_TRUE(headless_reset_for_test(""));
    speech_beep_pattern();
    const uint64_t tone_alone = os_ticks_ms();
    ASSERT_GT(tone_alone, 0u);

    ASSERT_TRUE(headless_reset_for_test(""));
    EXPECT_FALSE(key_cut_should_stop());
    ASSERT_TRUE(console_queue_key('a'));
    ASSERT_TRUE(console_queue_key('b'));
    EXPECT_TRUE(key_cut_should_stop());
    sounds();
    speech_play_key("INTRO");
    speech_say("Voce esta na cela.");
    speech_pause(500);
    EXPECT_EQ(os_ticks_ms(), 0u) << "nothing plays or waits while a key waits";
    EXPECT_EQ(sounds(), (std::vector<std::string>{"say Voce esta na cela."}));
    EXPECT_EQ(console_read_key(), 'a') << "asking reads no key";
    EXPECT_TRUE(key_cut_should_stop()) << "the key typed ahead still waits";

    speech_beep_pattern();
    EXPECT_FALSE(key_cut_should_stop()) << "the turn's tone dropped the key typed ahead";
    EXPECT_EQ(os_ticks_ms(), tone_alone) << "and was heard whole";
}

TEST_F(KeyCut, AnInstalledAnswerStandsForTheKeysInEveryLoop) {
    key_cut_set_hook(installed_answer);
    g_answer = true;
    ASSERT_TRUE(headless_reset_for_test(""));
    sounds();
    std::vector<uint8_t> image = long_image(30);
    speech_play_image_and_wait(image.data(), image.size());
    speech_play_key("INTRO");
    speech_say("Voce esta na cela, 12.");
    speech_spell("abc");
    speech_pause(1000);
    speech_dial_tones("123");
    EXPECT_FALSE(speech_busy());
    EXPECT_EQ(os_ticks_ms(), 0u) << "every loop stopped at its first question";
    EXPECT_EQ(sounds(), (std::vector<std::string>{"say Voce esta na cela, 12."}));

    // Answering no lets a waiting key pass: the recording plays to its end.
    g_answer = false;
    ASSERT_TRUE(console_queue_key('x'));
    speech_play_key("_zero");
    EXPECT_GT(os_ticks_ms(), 0u);
    EXPECT_EQ(sounds().size(), 1u);
    EXPECT_EQ(console_read_key(), 'x');

    key_cut_set_hook(nullptr);
    ASSERT_TRUE(console_queue_key('y'));
    EXPECT_TRUE(key_cut_should_stop()) << "without a hook the console's keys answer again";
}
