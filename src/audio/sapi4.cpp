// The system engine bridge: the engine's events drive the buffer sink (texts
// in work); the sound either comes back as samples for the wave output, whose
// idle state then drives the notify sink, or the engine plays it itself and
// reports its start and end to the notify sink.
#include "audio/sapi4.h"

#include <vector>

#include "audio/wave_output.h"
#include "console/console.h"
#include "console/key_cut.h"
#include "platform/os.h"

namespace {
constexpr unsigned SAPI4_QUEUED_WAIT_MS = 20;
constexpr unsigned SAPI4_SETTLE_MS = 200;
// Samples are handed to the wave output in blocks of this many at most.
constexpr size_t SAPI4_MAX_BLOCK_SAMPLES = 4096;

struct Sapi4State {
    bool engine = false;
    int pending = 0;
    bool audio_playing = false;
    bool own_sound = false;  // the sound playing is samples we queued
    std::vector<uint8_t> block;  // 16-bit little-endian samples not yet queued
};
Sapi4State g_sapi4;

// The notify sink: the engine's sound began or ended.
struct TTSNotifySink {
    static void audio_start() { g_sapi4.audio_playing = true; }
    static void audio_stop() { g_sapi4.audio_playing = false; }
};

// The buffer sink: a text began or finished.
struct TTSBufNotifySink {
    static void text_data_started() { g_sapi4.pending++; }
    static void text_data_done() {
        if (g_sapi4.pending > 0) g_sapi4.pending--;
    }
};

bool is_blank(unsigned char c) { return c <= ' ' || c == 127; }

void queue_block() {
    if (g_sapi4.block.empty()) return;
    // The wave output copies each block, so the bytes can go at once.
    wave_play_samples(g_sapi4.block.data(), uint32_t(g_sapi4.block.size()), os_synth_sample_rate(), 1, 16);
    g_sapi4.block.clear();
    g_sapi4.own_sound = true;
    TTSNotifySink::audio_start();
}

void take_samples(const int16_t* samples, size_t count) {
    for (size_t i = 0; i < count; ++i) {
        uint16_t s = static_cast<uint16_t>(samples[i]);
        g_sapi4.block.push_back(uint8_t(s & 0xff));
        g_sapi4.block.push_back(uint8_t(s >> 8));
        if (g_sapi4.block.size() >= 2 * SAPI4_MAX_BLOCK_SAMPLES) queue_block();
    }
}

// Runs what the engine reported since the last call; then, with nothing
// left to play, the sound has ended.
void pump() {
    if (!g_sapi4.engine) return;
    OsSynthEvent ev;
    while (os_synth_next_event(ev)) {
        switch (ev.type) {
            case OsSynthEvent::TextStarted: TTSBufNotifySink::text_data_started(); break;
            case OsSynthEvent::Samples: take_samples(ev.samples, ev.count); break;
            case OsSynthEvent::TextDone:
                queue_block();
                TTSBufNotifySink::text_data_done();
                break;
            case OsSynthEvent::AudioStarted: TTSNotifySink::audio_start(); break;
            case OsSynthEvent::AudioStopped: TTSNotifySink::audio_stop(); break;
        }
    }
    // What came so far plays now: sound starts with the engine's first words.
    queue_block();
    if (g_sapi4.own_sound && !wave_busy()) {
        g_sapi4.own_sound = false;
        TTSNotifySink::audio_stop();
    }
}
}  // namespace

bool sapi4_start(int voice, int speed, int pitch, const std::string&) {
    sapi4_stop();
    if (voice == 0) voice = 1;
    if (!os_synth_open()) return false;
    // As an enumerator hands out modes: ask `voice` times, keep the last one
    // delivered.
    int chosen = -1;
    std::string name;
    for (int i = 0; i < voice; ++i) {
        if (!os_synth_voice(i, name)) break;
        chosen = i;
    }
    if (chosen < 0 || !os_synth_select_voice(chosen)) {
        os_synth_close();
        return false;
    }
    g_sapi4.engine = true;
    // An engine that refuses the speed speaks at its own, as a version 5
    // voice keeps its rate: the start has succeeded all the same.
    if (speed != 0) os_synth_set_rate(speed);
    if (pitch != 0) os_synth_set_pitch(pitch & 0xffff);
    return true;
}

void sapi4_speak(const std::string& text) {
    size_t first = 0, end = text.size();
    while (first < end && is_blank(static_cast<unsigned char>(text[first]))) ++first;
    while (end > first && is_blank(static_cast<unsigned char>(text[end - 1]))) --end;
    if (first == end) return;
    std::string work = text.substr(first, end - first);
    // A lone digit would be read as a name of the key; "7." reads as a number.
    if (work.size() == 1 && work[0] >= '0' && work[0] <= '9') work += '.';
    if (!g_sapi4.engine || (wave_stops_on_key() && key_cut_should_stop())) return;
    pump();
    if (g_sapi4.pending > 0) console_delay(SAPI4_QUEUED_WAIT_MS);
    if (!os_synth_speak(work)) sapi4_silence();
}

bool sapi4_busy(bool start_wait) {
    pump();
    if (start_wait) return g_sapi4.pending > 0;
    return g_sapi4.pending > 0 || g_sapi4.audio_playing;
}

void sapi4_silence() {
    if (g_sapi4.engine && g_sapi4.audio_playing) {
        // The cut comes first: a key must be heard to stop speech at once.
        // The engine is then given the time it needs to settle.
        os_synth_cancel();
        wave_stop();
        console_delay(SAPI4_SETTLE_MS);
    } else if (g_sapi4.engine && g_sapi4.pending > 0) {
        // Texts still being synthesized would otherwise be heard after the
        // silence; dropping them costs no wait.
        os_synth_cancel();
    }
    g_sapi4.block.clear();
    g_sapi4.audio_playing = g_sapi4.own_sound = false;
    g_sapi4.pending = 0;
}

void sapi4_stop() {
    if (!g_sapi4.engine) return;
    if (g_sapi4.audio_playing) wave_stop();
    os_synth_cancel();
    os_synth_close();
    g_sapi4 = Sapi4State{};
}

int sapi4_pending() { return g_sapi4.pending; }

void sapi4_reset() { g_sapi4 = Sapi4State{}; }
