// Silent stand-ins for the voice libraries: every text is taken, nothing is
// heard, and each one is over at once, so headless runs keep their pace.
#include <deque>

#include "platform/backend.h"

namespace {
constexpr int SILENT_MAX_CONNECTIONS = 4;

struct SilentVoiceState {
    bool synth_open = false;
    std::deque<OsSynthEvent::Type> events;
    bool connections[SILENT_MAX_CONNECTIONS] = {};
} g_silent;

bool synth_voice(int index, std::string& name) {
    if (index != 0) return false;
    name = "pt-br";
    return true;
}

bool synth_speak(const std::string&) {
    if (!g_silent.synth_open) return false;
    g_silent.events.push_back(OsSynthEvent::TextStarted);
    g_silent.events.push_back(OsSynthEvent::TextDone);
    return true;
}

bool synth_next_event(OsSynthEvent& ev) {
    if (g_silent.events.empty()) return false;
    ev = OsSynthEvent{};
    ev.type = g_silent.events.front();
    g_silent.events.pop_front();
    return true;
}

const OsSynthDriver SILENT_SYNTH = {
    "silent",
    [] { return g_silent.synth_open = true; },
    synth_voice,
    [](int index) { return index == 0; },
    [](int) { return true; },
    [](int) {},
    [] { return 22050; },
    synth_speak,
    synth_next_event,
    [] { g_silent.events.clear(); },
    [] {
        g_silent.synth_open = false;
        g_silent.events.clear();
    },
};

bool valid(int h) { return h >= 0 && h < SILENT_MAX_CONNECTIONS && g_silent.connections[h]; }

int server_open(const std::string&) {
    for (int h = 0; h < SILENT_MAX_CONNECTIONS; ++h) {
        if (!g_silent.connections[h]) {
            g_silent.connections[h] = true;
            return h;
        }
    }
    return -1;
}

const OsVoiceServerDriver SILENT_SERVER = {
    "silent",
    server_open,
    [](int h) { return valid(h) ? 1 : 0; },
    [](int h, int index) { return valid(h) && index == 0; },
    [](int h, int) { return valid(h); },
    [](int h, const std::string&) { return valid(h); },
    [](int h) { return valid(h); },
    [](int, int) { return true; },
    valid,
    [](int h) {
        if (valid(h)) g_silent.connections[h] = false;
    },
};
}  // namespace

const OsSynthDriver* silent_synth_driver() { return &SILENT_SYNTH; }
const OsVoiceServerDriver* silent_voice_server_driver() { return &SILENT_SERVER; }
