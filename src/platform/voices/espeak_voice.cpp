// The espeak-ng driver: a worker thread synthesizes the queued texts in
// order and keeps what happened for the program's thread to collect.
#include <espeak-ng/speak_lib.h>

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <cstring>
#include <strings.h>
#include <deque>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "platform/backend.h"
#include "util/latin1.h"

namespace {
constexpr int ESPEAK_BUFFER_MS = 60;
constexpr int ESPEAK_MAX_VOICES = 512;

struct QueuedEvent {
    OsSynthEvent::Type type;
    std::vector<int16_t> samples;
};

struct EspeakState {
    bool initialised = false;  // the library, once for the process
    bool open = false;
    int sample_rate = 22050;
    std::vector<std::string> voices;  // identifiers, Brazilian Portuguese first
    std::thread worker;
    std::mutex lock;  // everything below
    std::condition_variable work;
    std::deque<std::string> texts;  // UTF-8, waiting for the worker
    std::deque<QueuedEvent> events;
    std::vector<int16_t> taken;     // the samples of the last event collected
    bool quit = false;
    // Bumped by cancel; what the worker does for an older value is dropped.
    std::atomic<unsigned> generation{0};
    std::mutex engine;  // espeak-ng is not reentrant: held around its calls
} g_espeak;

unsigned g_synth_generation = 0;  // the worker's text, read by the callback

void post(OsSynthEvent::Type type, unsigned generation, const short* samples = nullptr, int count = 0) {
    {
        std::lock_guard<std::mutex> hold(g_espeak.lock);
        if (generation != g_espeak.generation.load()) return;
        QueuedEvent ev{type, {}};
        if (samples) ev.samples.assign(samples, samples + count);
        g_espeak.events.push_back(std::move(ev));
    }
    OsEvent wake;
    wake.type = OsEventType::Wake;
    os_post_event(wake);
}

int on_synth(short* samples, int count, espeak_EVENT*) {
    if (g_synth_generation != g_espeak.generation.load()) return 1;  // cut short
    if (samples && count > 0) post(OsSynthEvent::Samples, g_synth_generation, samples, count);
    return 0;
}

void worker_loop() {
    for (;;) {
        std::string text;
        unsigned generation;
        {
            std::unique_lock<std::mutex> hold(g_espeak.lock);
            g_espeak.work.wait(hold, [] { return g_espeak.quit || !g_espeak.texts.empty(); });
            if (g_espeak.quit) return;
            text = std::move(g_espeak.texts.front());
            g_espeak.texts.pop_front();
            generation = g_espeak.generation.load();
        }
        {
            std::lock_guard<std::mutex> hold(g_espeak.engine);
            g_synth_generation = generation;
            espeak_Synth(text.c_str(), text.size() + 1, 0, POS_CHARACTER, 0, espeakCHARS_UTF8, nullptr, nullptr);
        }
        post(OsSynthEvent::TextDone, generation);
    }
}

bool is_brazilian(const espeak_VOICE* v) {
    // languages: a priority byte, then a zero-ended name, repeated.
    for (const char* p = v->languages; p && *p; p += std::strlen(p + 1) + 2) {
        if (!strcasecmp(p + 1, "pt-br")) return true;
    }
    return false;
}

bool open_engine() {
    if (g_espeak.open) return true;
    // The library is initialised once per process and never terminated:
    // espeak_Terminate can wait for ever on the library's own thread, which
    // would hang the program's exit.
    if (!g_espeak.initialised) {
        int rate = espeak_Initialize(AUDIO_OUTPUT_SYNCHRONOUS, ESPEAK_BUFFER_MS, nullptr, 0);
        if (rate <= 0) return false;
        g_espeak.initialised = true;
        g_espeak.sample_rate = rate;
        espeak_SetSynthCallback(on_synth);
        std::vector<std::string> brazilian, others;
        const espeak_VOICE** list = espeak_ListVoices(nullptr);
        for (int i = 0; list && list[i] && i < ESPEAK_MAX_VOICES; ++i) {
            if (!list[i]->identifier) continue;
            (is_brazilian(list[i]) ? brazilian : others).push_back(list[i]->identifier);
        }
        g_espeak.voices = brazilian;
        g_espeak.voices.insert(g_espeak.voices.end(), others.begin(), others.end());
    }
    if (g_espeak.voices.empty()) return false;
    g_espeak.quit = false;
    g_espeak.worker = std::thread(worker_loop);
    g_espeak.open = true;
    return true;
}

bool voice(int index, std::string& name) {
    if (!g_espeak.open || index < 0 || index >= int(g_espeak.voices.size())) return false;
    name = g_espeak.voices[index];
    return true;
}

bool select_voice(int index) {
    std::string name;
    if (!voice(index, name)) return false;
    std::lock_guard<std::mutex> hold(g_espeak.engine);
    return espeak_SetVoiceByName(name.c_str()) == EE_OK;
}

bool set_rate(int wpm) {
    std::lock_guard<std::mutex> hold(g_espeak.engine);
    return espeak_SetParameter(espeakRATE, std::clamp(wpm, espeakRATE_MINIMUM, espeakRATE_MAXIMUM), 0) == EE_OK;
}

// The library's pitch runs 0..100 with 50 as a voice's normal; 160 Hz is
// taken as that normal, and every 2 Hz is one step.
void set_pitch(int hertz) {
    std::lock_guard<std::mutex> hold(g_espeak.engine);
    espeak_SetParameter(espeakPITCH, std::clamp((hertz - 60) / 2, 0, 100), 0);
}

bool speak(const std::string& text) {
    if (!g_espeak.open) return false;
    // The text counts as started as soon as it is queued: a busy test made
    // before the worker takes it up must not find the engine idle.
    post(OsSynthEvent::TextStarted, g_espeak.generation.load());
    {
        std::lock_guard<std::mutex> hold(g_espeak.lock);
        g_espeak.texts.push_back(utf8(text));
    }
    g_espeak.work.notify_one();
    return true;
}

bool next_event(OsSynthEvent& ev) {
    std::lock_guard<std::mutex> hold(g_espeak.lock);
    if (g_espeak.events.empty()) return false;
    QueuedEvent& q = g_espeak.events.front();
    g_espeak.taken = std::move(q.samples);
    ev = OsSynthEvent{};
    ev.type = q.type;
    ev.samples = g_espeak.taken.data();
    ev.count = g_espeak.taken.size();
    g_espeak.events.pop_front();
    return true;
}

void cancel() {
    std::lock_guard<std::mutex> hold(g_espeak.lock);
    g_espeak.generation++;
    g_espeak.texts.clear();
    g_espeak.events.clear();
}

void close_engine() {
    if (!g_espeak.open) return;
    cancel();
    {
        std::lock_guard<std::mutex> hold(g_espeak.lock);
        g_espeak.quit = true;
    }
    g_espeak.work.notify_one();
    g_espeak.worker.join();
    g_espeak.open = false;
    g_espeak.events.clear();
}

const OsSynthDriver ESPEAK = {
    "espeak-ng", open_engine, voice, select_voice, set_rate, set_pitch,
    [] { return g_espeak.sample_rate; }, speak, next_event, cancel, close_engine,
};
}  // namespace

const OsSynthDriver* espeak_synth_driver() { return &ESPEAK; }
