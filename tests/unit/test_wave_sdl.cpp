// A real SDL sound device (SDL's dummy driver, which consumes sound in real
// time) behind the wave output: files play to their end and a key stops them.
#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "audio/wave_output.h"
#include "console_test_support.h"
#include "platform/headless/headless.h"
#include "system_support.h"
#include "wave_test_support.h"
#include "skip_unless_ci.h"

namespace {
using Clock = std::chrono::steady_clock;

class WaveSdl : public ::testing::Test {
protected:
    void SetUp() override {
        sys_set_env("SDL_AUDIODRIVER", "dummy");
        headless_reset_for_test("");
        console_test_settings("");
        wave_reset();
        OsAudioFormat fmt;
        if (sdl_audio_device()->open(fmt) != OsAudioOpen::Ok) SKIP_UNLESS_CI("no SDL dummy audio");
        sdl_audio_device()->close();
        os_set_audio_device_for_tests(sdl_audio_device());
    }
    void TearDown() override {
        wave_reset();
        os_set_audio_device_for_tests(nullptr);
    }
};
}  // namespace

TEST_F(WaveSdl, AFilePlaysToItsEnd) {
    // 0.3 s in two pieces, so the callback moves from block to block.
    auto path = write_temp_file("sdl.wav", make_wav(22050, 1, 8, {{"data", ramp(6615)}}));
    auto start = Clock::now();
    EXPECT_EQ(wave_play_file(path), 0);
    auto took = Clock::now() - start;
    EXPECT_GE(took, std::chrono::milliseconds(280));
    EXPECT_LT(took, std::chrono::milliseconds(2000));
    EXPECT_FALSE(wave_busy());
    // 16-bit stereo at another rate reopens the device and plays too.
    path = write_temp_file("sdl16.wav", make_wav(16000, 2, 16, {{"data", ramp(16000 * 4 / 5)}}));
    start = Clock::now();
    EXPECT_EQ(wave_play_file(path), 0);
    EXPECT_GE(Clock::now() - start, std::chrono::milliseconds(180));
}

TEST_F(WaveSdl, AKeyPostedDuringPlaybackStopsIt) {
    auto path = write_temp_file("sdl_long.wav", make_wav(11025, 1, 8, {{"data", ramp(3 * 11025)}}));
    std::thread typist([] {
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
        os_post_event(char_event('x'));
    });
    auto start = Clock::now();
    EXPECT_EQ(wave_play_file(path), 0);
    auto took = Clock::now() - start;
    typist.join();
    EXPECT_GE(took, std::chrono::milliseconds(190));
    EXPECT_LT(took, std::chrono::milliseconds(1000));
    EXPECT_FALSE(wave_busy());
    EXPECT_EQ(console_read_key(), 'x');
}

TEST_F(WaveSdl, TonesPlayBesideTheBlocksAndBadOnesAreIgnored) {
    auto tone = ramp(2205);
    auto other = ramp(4410);
    std::vector<uint8_t> image = make_wav(11025, 1, 8, {{"data", ramp(11025)}});
    wave_play_image(image.data(), image.size());
    OsAudioFormat fmt;
    os_audio_play_tone(fmt, tone.data(), tone.size());
    OsAudioFormat wide;
    wide.rate = 22050;
    wide.bits = 16;
    os_audio_play_tone(wide, other.data(), other.size());  // replaces the first
    OsAudioFormat bad;
    bad.bits = 12;
    os_audio_play_tone(bad, tone.data(), tone.size());
    os_audio_play_tone(fmt, nullptr, 0);
    auto start = Clock::now();
    while (wave_busy()) console_wait_message(100);
    // The blocks were not held up by the tones: one second of sound.
    EXPECT_LT(Clock::now() - start, std::chrono::milliseconds(2500));
}
