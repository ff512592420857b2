// The espeak-ng bridge on the real library: a text counts as in work from
// the moment it is handed over, its samples reach the wave output, and the
// library can be closed and opened again within one run.
#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "audio/sapi4.h"
#include "audio/wave_output.h"
#include "console/console.h"
#include "platform/backend.h"
#include "platform/headless/headless.h"
#include "skip_unless_ci.h"

namespace {
class EspeakVoice : public ::testing::Test {
protected:
    void SetUp() override {
        headless_reset_for_test("");
        console_reset();
        wave_reset();
        sapi4_reset();
        os_set_voice_drivers_for_tests(espeak_synth_driver(), silent_voice_server_driver());
    }
    void TearDown() override {
        sapi4_stop();
        os_set_voice_drivers_for_tests(nullptr, nullptr);
    }
    // Busy tests until the bridge is quiet (false after 10 s of real time).
    // Each wait lets 10 ms of virtual time pass, in which the sound plays.
    bool quiet_within_10_s() {
        auto give_up = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (sapi4_busy(false)) {
            if (std::chrono::steady_clock::now() > give_up) return false;
            console_wait_message(10);
            std::this_thread::sleep_for(std::chrono::microseconds(200));
        }
        return true;
    }
};
}  // namespace

TEST_F(EspeakVoice, SpeaksThroughTheWaveOutputAndOpensAgainAfterAStop) {
    if (!sapi4_start(1, 0, 0, "")) SKIP_UNLESS_CI("espeak-ng has no voice here (Debian: libespeak-ng1, espeak-ng-data)");
    std::string voice;
    ASSERT_TRUE(os_synth_voice(0, voice));
    EXPECT_NE(voice.find("pt"), std::string::npos) << "Brazilian Portuguese comes first, got " << voice;

    for (int round = 0; round < 2; ++round) {
        uint64_t t0 = os_ticks_ms();
        sapi4_speak("Voc\xea est\xe1 na cela.");
        // Busy at once, before the library has even begun. (Waiting only for
        // the start would race: a short text may be synthesized already.)
        EXPECT_TRUE(sapi4_busy(false)) << "round " << round << ": not busy right after the text was handed over";
        ASSERT_TRUE(quiet_within_10_s()) << "round " << round;
        EXPECT_EQ(sapi4_pending(), 0);
        EXPECT_GE(os_ticks_ms() - t0, 500u) << "round " << round << ": the sentence's sound played (virtual time)";
        // The library is not terminated at a stop; a second start must work.
        sapi4_stop();
        ASSERT_TRUE(sapi4_start(1, 250, 0, "")) << "a start after a stop";
    }

    sapi4_speak("Uma frase bem longa que o sil\xeancio corta no meio, antes do fim.");
    while (sapi4_busy(false) && !wave_busy()) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    sapi4_silence();
    EXPECT_FALSE(sapi4_busy(false)) << "the silence cut the sound and dropped the text";
    EXPECT_FALSE(wave_busy());
}
