// A key cuts every kind of sound the moment it arrives, in virtual time:
// recordings, long synthesized images, pauses and dial tones.
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
