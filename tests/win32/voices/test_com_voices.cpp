// The COM voice drivers against the stand-in engines: what each call sends
// to the engine and in which order, what the engine's events become, the
// cut, failing calls, and engines that never report an end.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "platform/win32/sapi4_voice.h"
#include "platform/win32/sapi5_voice.h"
#include "platform/win32/voice_deadline.h"
#include "standin_registry.h"

namespace {
using Texts = std::vector<std::string>;

// The stand-ins are registered once, as the test prefix's own servers.
class StandinEngines : public ::testing::Environment {
public:
    void SetUp() override { ASSERT_TRUE(standin_register_all()) << "the stand-in DLLs beside the tests"; }
};
const ::testing::Environment* const g_engines = ::testing::AddGlobalTestEnvironment(new StandinEngines);

class ComVoices : public ::testing::Test {
protected:
    void SetUp() override { standin_fresh_record(); }
    void TearDown() override { sapi4_synth_driver()->close(); }
};

// Collects the synthesizer's events for up to `ms` of real time, until
// `until` has come.
std::vector<OsSynthEvent::Type> collect(int ms, OsSynthEvent::Type until) {
    std::vector<OsSynthEvent::Type> got;
    uint64_t end = GetTickCount64() + uint64_t(ms);
    while (GetTickCount64() < end) {
        OsSynthEvent ev;
        while (sapi4_synth_driver()->next_event(ev)) got.push_back(ev.type);
        if (!got.empty() && got.back() == until) break;
    }
    return got;
}

// Asks as the bridge does, in short waits, for up to `ms` of real time.
bool done_within(const OsVoiceServerDriver* d, int h, int ms) {
    uint64_t end = GetTickCount64() + uint64_t(ms);
    while (!d->wait_done(h, 20))
        if (GetTickCount64() > end) return false;
    return true;
}

bool open_mode(int modes_asked, int& chosen) {
    const OsSynthDriver* d = sapi4_synth_driver();
    if (!d->open()) return false;
    std::string name;
    chosen = -1;
    for (int i = 0; i < modes_asked && d->voice(i, name); ++i) chosen = i;
    return chosen >= 0 && d->select_voice(chosen);
}
}  // namespace

TEST_F(ComVoices, Sapi4ModesTextsAndSinksInOrder) {
    const OsSynthDriver* d = sapi4_synth_driver();
    int chosen;
    ASSERT_TRUE(open_mode(3, chosen));
    EXPECT_EQ(chosen, 1) << "two modes: asking for the third keeps the second";
    EXPECT_TRUE(d->set_rate(180));
    d->set_pitch(0x10064);
    ASSERT_TRUE(d->speak("Voc\xea est\xe1 na cela."));
    ASSERT_TRUE(d->speak("7."));
    using E = OsSynthEvent;
    // Both texts count as started as they are handed over, before the engine
    // says anything.
    std::vector<E::Type> expected = {E::TextStarted, E::TextStarted, E::AudioStarted, E::TextDone, E::TextDone,
                                     E::AudioStopped};
    EXPECT_EQ(collect(3000, E::AudioStopped), expected);
    d->close();

    Texts calls = standin_texts();
    Texts want = {"create MMAudioDest", "create TTSEnumerator", "Reset", "Next 1", "Next 1", "Next 1",
                  "Select Modo 2", "Register", "QueryInterface ITTSAttributes", "SpeedSet 180", "PitchSet 100",
                  "TextData 0 0 Voc\xea est\xe1 na cela.", "TextData 0 0 7.", "start Voc\xea est\xe1 na cela.",
                  "end Voc\xea est\xe1 na cela.", "start 7.", "end 7.", "enumerator released", "UnRegister 7"};
    ASSERT_GE(calls.size(), want.size());
    EXPECT_EQ(Texts(calls.begin(), calls.begin() + long(want.size())), want);
    EXPECT_NE(standin_first("engine released"), -1) << "every object is released at the stop";
    EXPECT_NE(standin_first("enumerator released"), -1);
    EXPECT_NE(standin_first("MMAudioDest released"), -1);
}

TEST_F(ComVoices, Sapi4FailingCallsEndTheStartOrRefuseTheText) {
    const OsSynthDriver* d = sapi4_synth_driver();
    int chosen;
    standin_set("FUGA_STANDIN_FAIL", "MMAudioDest");
    EXPECT_FALSE(d->open()) << "no audio destination";
    standin_set("FUGA_STANDIN_FAIL", "Select");
    EXPECT_FALSE(open_mode(1, chosen));
    d->close();
    standin_set("FUGA_STANDIN_FAIL", "Next");
    EXPECT_FALSE(open_mode(1, chosen)) << "no mode delivered";
    d->close();
    standin_set("FUGA_STANDIN_VOICES", "0");
    standin_set("FUGA_STANDIN_FAIL", "");
    EXPECT_FALSE(open_mode(1, chosen)) << "an engine without modes";
    d->close();

    standin_set("FUGA_STANDIN_VOICES", "");
    standin_set("FUGA_STANDIN_FAIL", "TextData");
    ASSERT_TRUE(open_mode(1, chosen));
    EXPECT_FALSE(d->speak("ola")) << "the refusal reaches the bridge, which silences";
    d->close();

    standin_set("FUGA_STANDIN_FAIL", "SpeedSet");
    ASSERT_TRUE(open_mode(1, chosen));
    EXPECT_FALSE(d->set_rate(180)) << "reported; the engine keeps its own speed";
    EXPECT_TRUE(d->speak("ola")) << "and speaks at it";
    d->close();
}

TEST_F(ComVoices, Sapi4CutResetsTheEngineAtOnceAndForgetsItsTexts) {
    const OsSynthDriver* d = sapi4_synth_driver();
    standin_set("FUGA_STANDIN_SPEAK_MS", "10000");
    int chosen;
    ASSERT_TRUE(open_mode(1, chosen));
    ASSERT_TRUE(d->speak("uma frase muito longa"));
    ASSERT_TRUE(d->speak("e outra"));
    std::vector<OsSynthEvent::Type> got = collect(3000, OsSynthEvent::AudioStarted);
    ASSERT_FALSE(got.empty());
    ASSERT_EQ(got.back(), OsSynthEvent::AudioStarted);
    long long cut_at = standin_clock_us();
    d->cancel();
    long long reset_at = standin_first("AudioReset");
    ASSERT_NE(reset_at, -1);
    EXPECT_LT(reset_at - cut_at, STANDIN_CUT_BOUND_US) << "AudioReset at once";
    OsSynthEvent ev;
    EXPECT_FALSE(d->next_event(ev)) << "nothing of the cut texts is reported";
    Sleep(100);
    EXPECT_FALSE(d->next_event(ev));
    EXPECT_TRUE(standin_texts("start e outra").empty()) << "the queued text was dropped";
}

TEST_F(ComVoices, Sapi4EngineThatNeverEndsIsResetAfterItsDeadline) {
    const OsSynthDriver* d = sapi4_synth_driver();
    standin_set("FUGA_STANDIN_NO_END", "1");
    int chosen;
    ASSERT_TRUE(open_mode(1, chosen));
    uint64_t t0 = GetTickCount64();
    ASSERT_TRUE(d->speak("ola"));
    std::vector<OsSynthEvent::Type> got = collect(20000, OsSynthEvent::AudioStopped);
    uint64_t waited = GetTickCount64() - t0;
    ASSERT_FALSE(got.empty());
    EXPECT_EQ(got.back(), OsSynthEvent::AudioStopped);
    EXPECT_NE(std::find(got.begin(), got.end(), OsSynthEvent::TextDone), got.end()) << "the text counts as ended";
    EXPECT_GE(waited, VOICE_DEADLINE_BASE_MS);
    EXPECT_LT(waited, VOICE_DEADLINE_BASE_MS + 3 * VOICE_DEADLINE_PER_CHAR_MS + 2000);
    EXPECT_NE(standin_first("AudioReset"), -1) << "the engine is reset so that it stays quiet";
}

TEST_F(ComVoices, Sapi5VoicesRateSpeechAndTheCompletionEvent) {
    const OsVoiceServerDriver* d = sapi5_voice_driver();
    standin_set("FUGA_STANDIN_VOICES", "3");
    standin_set("FUGA_STANDIN_SPEAK_MS", "150");
    int h = d->open("");
    ASSERT_GE(h, 0);
    EXPECT_EQ(d->voice_count(h), 3);
    EXPECT_TRUE(d->select_voice(h, 1));
    EXPECT_FALSE(d->select_voice(h, 3));
    EXPECT_TRUE(d->set_rate(h, -4));
    EXPECT_TRUE(d->wait_done(h, 0)) << "nothing queued";
    ASSERT_TRUE(d->speak(h, "Voc\xea fugiu!"));
    EXPECT_FALSE(d->wait_done(h, 20)) << "still speaking";
    EXPECT_TRUE(done_within(d, h, 2000));

    // The second class is a voice of its own.
    int h54 = d->open("rhvoice");
    ASSERT_GE(h54, 0);
    ASSERT_NE(h54, h);
    EXPECT_TRUE(d->speak(h54, "segunda"));
    EXPECT_TRUE(done_within(d, h54, 2000));
    d->close(h54);
    d->close(h);
    EXPECT_FALSE(d->alive(h));

    Texts want5 = {"voice5 create", "voice5 EventInterests 33790", "voice5 GetVoices '' ''", "voice5 Count 3",
                   "voice5 SpeakCompleteEvent", "voice5 Item 1", "voice5 Voice Voz 2", "voice5 Rate -4",
                   "voice5 Speak 17 Voc\xea fugiu!", "voice5 start Voc\xea fugiu!", "voice5 end Voc\xea fugiu!",
                   "voice5 released"};
    EXPECT_EQ(standin_texts("voice5 "), want5);
    Texts want54 = {"voice54 Speak 17 segunda", "voice54 start segunda", "voice54 end segunda"};
    Texts got54 = standin_texts("voice54 ");
    ASSERT_GE(got54.size(), 8u);
    EXPECT_EQ(Texts(got54.begin() + 5, got54.begin() + 8), want54);
}

TEST_F(ComVoices, Sapi5PurgeCutsAtOnceAndFailuresAreReported) {
    const OsVoiceServerDriver* d = sapi5_voice_driver();
    standin_set("FUGA_STANDIN_SPEAK_MS", "10000");
    int h = d->open("");
    ASSERT_GE(h, 0);
    ASSERT_TRUE(d->speak(h, "uma frase muito longa"));
    ASSERT_TRUE(d->speak(h, "e outra"));
    EXPECT_FALSE(d->wait_done(h, 20));
    standin_set("FUGA_STANDIN_SPEAK_MS", "10");  // for the blank that purges
    long long cut_at = standin_clock_us();
    EXPECT_TRUE(d->cancel(h));
    long long purge_at = standin_first("voice5 Speak 2  ");
    ASSERT_NE(purge_at, -1) << "a blank with the purge flag";
    EXPECT_LT(purge_at - cut_at, STANDIN_CUT_BOUND_US);
    EXPECT_TRUE(done_within(d, h, 1000)) << "done soon after the cut";
    EXPECT_TRUE(standin_texts("voice5 start e outra").empty());

    standin_set("FUGA_STANDIN_FAIL", "Speak");
    EXPECT_FALSE(d->speak(h, "recusada"));
    d->close(h);

    for (const char* failing : {"create", "GetVoices", "SpeakCompleteEvent"}) {
        standin_set("FUGA_STANDIN_FAIL", failing);
        EXPECT_EQ(d->open(""), -1) << failing;
    }
    standin_set("FUGA_STANDIN_FAIL", "Rate");
    h = d->open("");
    ASSERT_GE(h, 0);
    EXPECT_FALSE(d->set_rate(h, 3)) << "reported; the bridge keeps the voice's own rate";
    d->close(h);
}

TEST_F(ComVoices, Sapi5VoiceThatNeverEndsIsCutAfterItsDeadline) {
    const OsVoiceServerDriver* d = sapi5_voice_driver();
    standin_set("FUGA_STANDIN_NO_END", "1");
    int h = d->open("");
    ASSERT_GE(h, 0);
    uint64_t t0 = GetTickCount64();
    ASSERT_TRUE(d->speak(h, "ola"));
    while (!d->wait_done(h, 20) && GetTickCount64() - t0 < 20000) {
    }
    uint64_t waited = GetTickCount64() - t0;
    EXPECT_GE(waited, VOICE_DEADLINE_BASE_MS);
    EXPECT_LT(waited, VOICE_DEADLINE_BASE_MS + 3 * VOICE_DEADLINE_PER_CHAR_MS + 2000);
    EXPECT_NE(standin_first("voice5 Speak 2  "), -1) << "the voice is purged";
    d->close(h);
}
