// The external synthesizer dispatcher: routes speech to the engine started.
#include "audio/extsynth.h"

#include "console/sound_log.h"
#include "console/console.h"
#include "platform/os.h"

namespace {
constexpr int EXTSYNTH_MAX_ENGINES = 4;
constexpr ExtSynthType EXTSYNTH_TYPES[EXTSYNTH_MAX_ENGINES] = {EXTSYNTH_TYPE_VERNA, EXTSYNTH_TYPE_SAPI4,
                                                               EXTSYNTH_TYPE_SAPI5, EXTSYNTH_TYPE_SAPI54};
constexpr unsigned EXTSYNTH_START_POLL_MS = 50;

struct ExtSynthState {
    int type = EXTSYNTH_TYPE_SAPI4;
    const ExtSynthEngine* engines[EXTSYNTH_MAX_ENGINES] = {};
    const ExtSynthEngine* running = nullptr;
    bool loaded = false;
} g_ext;

int slot_of(ExtSynthType type) {
    for (int i = 0; i < EXTSYNTH_MAX_ENGINES; ++i)
        if (EXTSYNTH_TYPES[i] == type) return i;
    return 1;
}

void load_builtin_engines() {
    if (g_ext.loaded) return;
    g_ext.loaded = true;
    for (int i = 0; i < EXTSYNTH_MAX_ENGINES; ++i) g_ext.engines[i] = extsynth_builtin_engine(EXTSYNTH_TYPES[i]);
}
}  // namespace

ExtSynthType extsynth_engine_type(int type) {
    switch (type) {
        case EXTSYNTH_TYPE_VERNA:
        case EXTSYNTH_TYPE_SAPI5:
        case EXTSYNTH_TYPE_SAPI54: return static_cast<ExtSynthType>(type);
        default: return EXTSYNTH_TYPE_SAPI4;
    }
}

void extsynth_register(ExtSynthType type, const ExtSynthEngine* engine) {
    load_builtin_engines();
    g_ext.engines[slot_of(extsynth_engine_type(type))] = engine;
}

bool extsynth_start(int voice, int rate, int pitch, const std::string& output_file, int type) {
    load_builtin_engines();
    // A second start replaces the engine; the first one is released first.
    extsynth_stop();
    g_ext.type = type;
    const ExtSynthEngine* engine = g_ext.engines[slot_of(extsynth_engine_type(type))];
    if (!engine || !engine->start(voice, rate, pitch, output_file)) return false;
    g_ext.running = engine;
    console_set_wake_hook(extsynth_tend);
    while (extsynth_busy(true)) console_delay(EXTSYNTH_START_POLL_MS);
    return true;
}

void extsynth_stop() {
    const ExtSynthEngine* engine = g_ext.running;
    g_ext.running = nullptr;
    if (engine) engine->stop();
}

void extsynth_speak(const std::string& text) {
    sound_log("ext", text);
    if (g_ext.running) g_ext.running->speak(text);
}

bool extsynth_busy(bool start_wait) {
    console_dispatch_messages();
    return g_ext.running && g_ext.running->busy(start_wait);
}

void extsynth_silence() {
    if (g_ext.running) g_ext.running->silence();
}

bool extsynth_available() {
    const ExtSynthEngine* engine = g_ext.running;
    return engine && (!engine->available || engine->available());
}

void extsynth_tend() {
    if (g_ext.running && g_ext.running->tend) g_ext.running->tend();
}

void extsynth_post_wake() {
    OsEvent wake;
    wake.type = OsEventType::Wake;
    wake.param = EXTSYNTH_WAKE_MESSAGE;
    os_post_event(wake);
}

int extsynth_type() { return g_ext.type; }

void extsynth_reset() { g_ext = ExtSynthState{}; }
