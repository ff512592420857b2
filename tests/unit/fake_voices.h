// Fake voice libraries for the bridges' tests: they record every call and
// report what the test makes them report.
#pragma once

#include <deque>
#include <string>
#include <vector>

#include "platform/backend.h"

struct FakeSynth {
    int voices = 2;
    bool opens = true;
    bool speak_ok = true;
    bool open = false;
    int selected = -1;
    int rate = 0, pitch = 0;
    int cancels = 0;
    uint64_t cancelled_at = 0;
    std::vector<std::string> texts;
    std::deque<OsSynthEvent> events;
    std::vector<int16_t> samples = std::vector<int16_t>(2205, 1000);  // 0.1 s at 22050 Hz
    void push(OsSynthEvent::Type type) {
        OsSynthEvent ev;
        ev.type = type;
        if (type == OsSynthEvent::Samples) {
            ev.samples = samples.data();
            ev.count = samples.size();
        }
        events.push_back(ev);
    }
};
inline FakeSynth g_fake_synth;

inline const OsSynthDriver FAKE_SYNTH = {
    "fake",
    [] { return g_fake_synth.open = g_fake_synth.opens; },
    [](int index, std::string& name) {
        if (index >= g_fake_synth.voices) return false;
        name = "voz" + std::to_string(index);
        return true;
    },
    [](int index) {
        g_fake_synth.selected = index;
        return true;
    },
    [](int wpm) {
        g_fake_synth.rate = wpm;
        return true;
    },
    [](int hz) { g_fake_synth.pitch = hz; },
    [] { return 22050; },
    [](const std::string& t) {
        g_fake_synth.texts.push_back(t);
        return g_fake_synth.speak_ok;
    },
    [](OsSynthEvent& ev) {
        if (g_fake_synth.events.empty()) return false;
        ev = g_fake_synth.events.front();
        g_fake_synth.events.pop_front();
        return true;
    },
    [] {
        g_fake_synth.cancels++;
        g_fake_synth.cancelled_at = os_ticks_ms();
        g_fake_synth.events.clear();
    },
    [] { g_fake_synth.open = false; },
};

struct FakeServer {
    int voices = 3;
    bool opens = true;
    bool speak_ok = true;
    bool speaking = false;  // what the completion wait answers
    bool alive = true;
    std::vector<std::string> modules;  // one per open
    int selected = -1;
    int rate = 99;
    int cancels = 0, closes = 0;
    int waited_ms = 0;  // the completion waits' timeouts, added up
    std::vector<std::string> texts;
};
inline FakeServer g_fake_server;

inline const OsVoiceServerDriver FAKE_SERVER = {
    "fake",
    [](const std::string& module) {
        g_fake_server.modules.push_back(module);
        return g_fake_server.opens ? int(g_fake_server.modules.size()) - 1 : -1;
    },
    [](int) { return g_fake_server.voices; },
    [](int, int index) {
        g_fake_server.selected = index;
        return true;
    },
    [](int, int rate) {
        g_fake_server.rate = rate;
        return true;
    },
    [](int, const std::string& t) {
        g_fake_server.texts.push_back(t);
        if (g_fake_server.speak_ok) g_fake_server.speaking = true;
        return g_fake_server.speak_ok;
    },
    [](int) {
        g_fake_server.cancels++;
        g_fake_server.speaking = false;
        return true;
    },
    [](int, int timeout_ms) {
        g_fake_server.waited_ms += timeout_ms;
        return !g_fake_server.speaking;
    },
    [](int) { return g_fake_server.alive; },
    [](int) { g_fake_server.closes++; },
};

inline void use_fake_voices() {
    g_fake_synth = FakeSynth{};
    g_fake_server = FakeServer{};
    os_set_voice_drivers_for_tests(&FAKE_SYNTH, &FAKE_SERVER);
}
