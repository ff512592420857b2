// The espeak-ng bridge against a fake library: voice choice, what is sent,
// the two sinks' counters and the silence.
#include <gtest/gtest.h>

#include "audio/extsynth.h"
#include "audio/sapi4.h"
#include "audio/wave_output.h"
#include "console/console.h"
#include "console/key_cut.h"
#include "fake_voices.h"
#include "platform/headless/headless.h"
#include "wave_test_support.h"

namespace {
class Sapi4 : public ::testing::Test {
protected:
    void SetUp() override {
        headless_reset_for_test("");
        console_reset();
        wave_reset();
        sapi4_reset();
        use_fake_voices();
    }
    void TearDown() override {
        extsynth_stop();
        sapi4_stop();
        os_set_audio_device_for_tests(nullptr);
        os_set_voice_drivers_for_tests(nullptr, nullptr);
    }
};
}  // namespace

TEST_F(Sapi4, VoiceNumberCountsModesAndKeepsTheLast) {
    ASSERT_TRUE(sapi4_start(3, 0, 0, ""));
    EXPECT_EQ(g_fake_synth.selected, 1) << "voice 3 of 2 modes is the second";
    EXPECT_EQ(g_fake_synth.rate, 0) << "speed 0 leaves the engine's own";
    EXPECT_EQ(g_fake_synth.pitch, 0);
    sapi4_stop();
    EXPECT_FALSE(g_fake_synth.open);

    ASSERT_TRUE(sapi4_start(0, 250, 0x10078, ""));
    EXPECT_EQ(g_fake_synth.selected, 0) << "voice 0 is taken as 1";
    EXPECT_EQ(g_fake_synth.rate, 250) << "words per minute, unchanged";
    EXPECT_EQ(g_fake_synth.pitch, 0x78) << "the pitch's low 16 bits";
    sapi4_stop();

    g_fake_synth.voices = 0;
    EXPECT_FALSE(sapi4_start(1, 0, 0, "")) << "no mode at all";
    EXPECT_FALSE(g_fake_synth.open) << "a failed start releases the library";
    g_fake_synth.voices = 2;
    g_fake_synth.opens = false;
    EXPECT_FALSE(sapi4_start(1, 0, 0, ""));
}

TEST_F(Sapi4, TextsAreTrimmedAndALoneDigitGetsAPoint) {
    sapi4_speak("ola");
    EXPECT_TRUE(g_fake_synth.texts.empty()) << "nothing is sent before the start";
    ASSERT_TRUE(sapi4_start(1, 0, 0, ""));
    sapi4_speak("7");
    sapi4_speak("  ");
    sapi4_speak("");
    sapi4_speak("\t\x01 Voc\xea est\xe1 na cela. \r\n");
    sapi4_speak(" 12 ");
    std::vector<std::string> expected = {"7.", "Voc\xea est\xe1 na cela.", "12"};
    EXPECT_EQ(g_fake_synth.texts, expected);

    console_queue_key('x');
    sapi4_speak("calado");
    EXPECT_EQ(g_fake_synth.texts.size(), 3u) << "a waiting key keeps the text back";
    wave_set_stop_on_key(false);
    sapi4_speak("agora sim");
    EXPECT_EQ(g_fake_synth.texts.back(), "agora sim");
}

TEST_F(Sapi4, AnInstalledStopAnswerKeepsTextsBackLikeAKey) {
    ASSERT_TRUE(sapi4_start(1, 0, 0, ""));
    key_cut_set_hook([] { return true; });
    sapi4_speak("calado");
    key_cut_set_hook(nullptr);
    sapi4_speak("agora sim");
    EXPECT_EQ(g_fake_synth.texts, std::vector<std::string>{"agora sim"});
}

TEST_F(Sapi4, CountersFollowTheSinksAndNeverGoBelowZero) {
    ASSERT_TRUE(sapi4_start(1, 0, 0, ""));
    g_fake_synth.push(OsSynthEvent::TextStarted);
    g_fake_synth.push(OsSynthEvent::TextStarted);
    EXPECT_TRUE(sapi4_busy(true));
    EXPECT_EQ(sapi4_pending(), 2);
    for (int i = 0; i < 3; ++i) g_fake_synth.push(OsSynthEvent::TextDone);
    EXPECT_FALSE(sapi4_busy(true));
    EXPECT_EQ(sapi4_pending(), 0) << "three ends after two starts";
    EXPECT_FALSE(sapi4_busy(false));

    // Sound keeps the bridge busy past the text's end, except for the start wait.
    g_fake_synth.push(OsSynthEvent::TextStarted);
    g_fake_synth.push(OsSynthEvent::Samples);
    g_fake_synth.push(OsSynthEvent::TextDone);
    EXPECT_FALSE(sapi4_busy(true));
    EXPECT_TRUE(sapi4_busy(false)) << "the text's sound is still playing";
    uint64_t begun = os_ticks_ms();
    while (sapi4_busy(false)) console_wait_message();
    EXPECT_GE(os_ticks_ms() - begun, 90u) << "busy until the 0.1 s of sound have played";
}

TEST_F(Sapi4, SilenceCallsTheEngineOnlyWhenThereIsSomethingToCut) {
    ASSERT_TRUE(sapi4_start(1, 0, 0, ""));
    uint64_t t0 = os_ticks_ms();
    sapi4_silence();
    EXPECT_EQ(g_fake_synth.cancels, 0) << "nothing playing, nothing queued";
    EXPECT_EQ(os_ticks_ms(), t0) << "and no wait";

    g_fake_synth.push(OsSynthEvent::TextStarted);
    sapi4_busy(false);
    sapi4_silence();
    EXPECT_EQ(sapi4_pending(), 0);
    EXPECT_EQ(g_fake_synth.cancels, 1) << "a text in work is dropped, or it would be heard later";

    g_fake_synth.push(OsSynthEvent::TextStarted);
    g_fake_synth.push(OsSynthEvent::Samples);
    ASSERT_TRUE(sapi4_busy(false));
    t0 = os_ticks_ms();
    sapi4_silence();
    EXPECT_EQ(g_fake_synth.cancels, 2);
    EXPECT_EQ(g_fake_synth.cancelled_at, t0) << "the cut comes at once";
    EXPECT_GE(os_ticks_ms() - t0, 200u) << "then 200 ms for the engine to settle";
    EXPECT_FALSE(sapi4_busy(false)) << "the sound was cut";
    EXPECT_EQ(sapi4_pending(), 0);
}

TEST_F(Sapi4, QueuedTextWaitsAndAFailedSendSilences) {
    ASSERT_TRUE(sapi4_start(1, 0, 0, ""));
    uint64_t t0 = os_ticks_ms();
    sapi4_speak("um");
    EXPECT_EQ(os_ticks_ms(), t0) << "nothing pending: no wait";
    g_fake_synth.push(OsSynthEvent::TextStarted);
    t0 = os_ticks_ms();
    sapi4_speak("dois");
    EXPECT_GE(os_ticks_ms() - t0, 20u);
    EXPECT_EQ(sapi4_pending(), 1);
    g_fake_synth.speak_ok = false;
    sapi4_speak("tres");
    EXPECT_EQ(sapi4_pending(), 0) << "the refused text silenced the engine";
    EXPECT_EQ(g_fake_synth.cancels, 1);
}

TEST_F(Sapi4, AnEngineThatPlaysItsOwnSoundIsBusyUntilItSaysTheSoundEnded) {
    ASSERT_TRUE(sapi4_start(1, 0, 0, ""));
    sapi4_speak("longa frase");
    g_fake_synth.push(OsSynthEvent::TextStarted);
    g_fake_synth.push(OsSynthEvent::AudioStarted);
    g_fake_synth.push(OsSynthEvent::TextDone);
    EXPECT_FALSE(sapi4_busy(true)) << "the text was taken";
    EXPECT_TRUE(sapi4_busy(false)) << "its sound plays on, though our own device is idle";
    EXPECT_FALSE(wave_busy());
    EXPECT_TRUE(sapi4_busy(false)) << "still no word of the end";

    uint64_t t0 = os_ticks_ms();
    sapi4_silence();
    EXPECT_EQ(g_fake_synth.cancels, 1) << "the engine's own sound is reset";
    EXPECT_EQ(g_fake_synth.cancelled_at, t0);
    EXPECT_FALSE(sapi4_busy(false));

    g_fake_synth.push(OsSynthEvent::TextStarted);
    g_fake_synth.push(OsSynthEvent::AudioStarted);
    g_fake_synth.push(OsSynthEvent::TextDone);
    g_fake_synth.push(OsSynthEvent::AudioStopped);
    EXPECT_FALSE(sapi4_busy(false)) << "the engine said its sound ended";
}

TEST_F(Sapi4, SoundThatComesWhileAKeyIsAwaitedIsPlayedThen) {
    // The line editor reads its field aloud (Ctrl+F1) and waits for the next
    // key at once: the engine's samples come while it waits.
    headless_reset_for_test("{wait 500}x");
    os_set_audio_device_for_tests(wave_recording_device());
    wave_recorder() = WaveRecorder{};
    ASSERT_TRUE(extsynth_start(1, 0, 0, "", EXTSYNTH_TYPE_SAPI4));
    extsynth_speak("paralelepipedo");
    g_fake_synth.push(OsSynthEvent::TextStarted);
    g_fake_synth.push(OsSynthEvent::Samples);
    OsEvent wake;
    wake.type = OsEventType::Wake;
    os_post_event(wake);
    EXPECT_EQ(console_read_key(), 'x');
    const WaveRecorder& rec = wave_recorder();
    size_t first = 0;
    while (first < rec.log.size() && rec.log[first].rfind("write", 0) != 0) ++first;
    ASSERT_LT(first, rec.log.size()) << "the sound was never played";
    EXPECT_LT(rec.times[first], 500u) << "the sound waited for the key";
}
