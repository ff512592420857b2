// The external synthesizer dispatcher: routes speech to the engine started.
#include "audio/extsynth.h"

#include "console/sound_log.h"

namespace {
constexpr int EXTSYNTH_MAX_ENGINES = 8;

struct ExtSynthState {
    int types[EXTSYNTH_MAX_ENGINES] = {};
    const ExtSynthEngine* engines[EXTSYNTH_MAX_ENGINES] = {};
    int count = 0;
    const ExtSynthEngine* running = nullptr;
} g_ext;

// Types 5 and 54 are the two system voices, 3 the Portuguese engine; every
// other number means the espeak-ng voices, registered as type 4.
int engine_type(int type) { return (type == 3 || type == 5 || type == 54) ? type : 4; }
}  // namespace

void extsynth_register(int type, const ExtSynthEngine* engine) {
    for (int i = 0; i < g_ext.count; ++i) {
        if (g_ext.types[i] == type) {
            g_ext.engines[i] = engine;
            return;
        }
    }
    if (g_ext.count < EXTSYNTH_MAX_ENGINES) {
        g_ext.types[g_ext.count] = type;
        g_ext.engines[g_ext.count++] = engine;
    }
}

bool extsynth_start(int voice, int rate, int pitch, const std::string& output_file, int type) {
    extsynth_stop();
    int wanted = engine_type(type);
    for (int i = 0; i < g_ext.count; ++i) {
        if (g_ext.types[i] != wanted || !g_ext.engines[i]) continue;
        if (!g_ext.engines[i]->start(voice, rate, pitch, output_file)) return false;
        g_ext.running = g_ext.engines[i];
        return true;
    }
    return false;
}

void extsynth_stop() {
    if (g_ext.running) g_ext.running->stop();
    g_ext.running = nullptr;
}

void extsynth_speak(const std::string& text) {
    sound_log("ext", text);
    if (g_ext.running) g_ext.running->speak(text);
}

bool extsynth_busy() { return g_ext.running && g_ext.running->busy(); }

void extsynth_silence() {
    if (g_ext.running) g_ext.running->silence();
}

void extsynth_reset() { g_ext = ExtSynthState{}; }
