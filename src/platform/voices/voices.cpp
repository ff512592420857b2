// Routing of the os_synth_ and os_voice_server_ calls to the chosen voice
// drivers: the real libraries, or silent stand-ins on the headless backend.
#include <cstdlib>
#include <cstring>

#include "platform/backend.h"
#include "platform/system.h"

namespace {
struct VoiceRouting {
    const OsSynthDriver* synth = nullptr;
    const OsVoiceServerDriver* server = nullptr;
} g_voices;

// FUGA_VOICES=system or silent forces a choice; by default only the headless
// backend, which plays nothing, gets the silent stand-ins.
bool use_system_voices() {
    const char* forced = std::getenv("FUGA_VOICES");
    if (forced && !std::strcmp(forced, "system")) return true;
    if (forced && !std::strcmp(forced, "silent")) return false;
    return std::strcmp(os_backend_name(), "headless") != 0;
}

const OsSynthDriver* synth() {
    if (!g_voices.synth) g_voices.synth = use_system_voices() ? system_synth_driver() : silent_synth_driver();
    return g_voices.synth;
}

const OsVoiceServerDriver* server() {
    if (!g_voices.server)
        g_voices.server = use_system_voices() ? system_voice_server_driver() : silent_voice_server_driver();
    return g_voices.server;
}
}  // namespace

void os_set_voice_drivers_for_tests(const OsSynthDriver* synth_driver, const OsVoiceServerDriver* server_driver) {
    g_voices.synth = synth_driver;
    g_voices.server = server_driver;
}

bool os_synth_open() { return synth()->open(); }
bool os_synth_voice(int index, std::string& name) { return synth()->voice(index, name); }
bool os_synth_select_voice(int index) { return synth()->select_voice(index); }
bool os_synth_set_rate(int words_per_minute) { return synth()->set_rate(words_per_minute); }
void os_synth_set_pitch(int hertz) { synth()->set_pitch(hertz); }
int os_synth_sample_rate() { return synth()->sample_rate(); }
bool os_synth_speak(const std::string& text) { return synth()->speak(text); }
bool os_synth_next_event(OsSynthEvent& ev) { return synth()->next_event(ev); }
void os_synth_cancel() { synth()->cancel(); }
void os_synth_close() { synth()->close(); }

int os_voice_server_open(const std::string& module) { return server()->open(module); }
int os_voice_server_voice_count(int h) { return server()->voice_count(h); }
bool os_voice_server_select_voice(int h, int index) { return server()->select_voice(h, index); }
bool os_voice_server_set_rate(int h, int rate) { return server()->set_rate(h, rate); }
bool os_voice_server_speak(int h, const std::string& text) { return server()->speak(h, text); }
bool os_voice_server_cancel(int h) { return server()->cancel(h); }
bool os_voice_server_wait_done(int h, int timeout_ms) { return server()->wait_done(h, timeout_ms); }
bool os_voice_server_alive(int h) { return server()->alive(h); }
void os_voice_server_close(int h) { server()->close(h); }
