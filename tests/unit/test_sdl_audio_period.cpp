// The SDL sound device's period for each rate it may be opened at.
#include <gtest/gtest.h>

#include "platform/sdl/sdl_audio_period.h"

TEST(SdlAudioPeriod, SameLengthInTimeAtEveryRate) {
    // The recordings' rate, the tones' and the usual device rates.
    EXPECT_EQ(sdl_audio_period_samples(11025), 88);
    EXPECT_EQ(sdl_audio_period_samples(22050), 176);
    EXPECT_EQ(sdl_audio_period_samples(8000), 64);
    EXPECT_EQ(sdl_audio_period_samples(44100), 353);
    EXPECT_EQ(sdl_audio_period_samples(48000), 384);
    for (int rate = 4000; rate <= 384000; rate += 25) {
        double ms = 1000.0 * sdl_audio_period_samples(rate) / rate;
        ASSERT_NEAR(ms, SDL_AUDIO_PERIOD_MS, 0.13) << rate;
    }
}

TEST(SdlAudioPeriod, LowestRateKeepsAWorkablePeriod) {
    // 8 ms at 1000 Hz would be 8 samples: a callback every few samples.
    EXPECT_EQ(sdl_audio_period_samples(1000), SDL_AUDIO_MIN_PERIOD_SAMPLES);
    EXPECT_EQ(sdl_audio_period_samples(2000), SDL_AUDIO_MIN_PERIOD_SAMPLES);
    for (int rate = 1000; rate <= 384000; ++rate) {
        int samples = sdl_audio_period_samples(rate);
        ASSERT_GE(samples, SDL_AUDIO_MIN_PERIOD_SAMPLES) << rate;
        ASSERT_LE(samples, 65535) << rate;
    }
}
