// The external synthesizer dispatcher: hands all synthesized speech to one
// engine chosen by type, and the type numbers the configuration uses.
#pragma once

#include <string>

// Synthesizer types of the "TIPOSAPI" setting. Every number not named here
// means the espeak-ng voices, the back end of EXTSYNTH_TYPE_SAPI4.
enum ExtSynthType : int {
    EXTSYNTH_TYPE_VERNA = 3,    // the Portuguese engine that drives MBROLA
    EXTSYNTH_TYPE_SAPI4 = 4,    // espeak-ng voices; also the initial type
    EXTSYNTH_TYPE_SAPI5 = 5,    // speech-dispatcher, the server's default module
    EXTSYNTH_TYPE_SAPI54 = 54,  // speech-dispatcher on the RHVoice module
};

// The private message a back end posts to the console while it speaks, so
// that a loop waiting for the next message wakes and polls again.
constexpr int EXTSYNTH_WAKE_MESSAGE = 2980;
void extsynth_post_wake();
// Runs the running engine's tend (the console's wake hook).
void extsynth_tend();

// The five operations every back end offers. `busy` gets the start-wait
// flag: true only while extsynth_start waits for the engine to settle.
struct ExtSynthEngine {
    const char* name;
    bool (*start)(int voice, int rate, int pitch, const std::string& output_file);
    void (*stop)();
    void (*speak)(const std::string& latin1_text);
    bool (*busy)(bool start_wait);
    void (*silence)();
    // False once the engine has gone away (a speech server that died);
    // nullptr for an engine inside the program, which cannot.
    bool (*available)() = nullptr;
    // Hands on what the engine made meanwhile (its samples, to our sound
    // device); run at each wake message, so that it goes on while the
    // program waits for a key. nullptr for an engine that plays by itself.
    void (*tend)() = nullptr;
};

// The back end that serves `type`: 3, 5 and 54 as themselves, all others 4.
ExtSynthType extsynth_engine_type(int type);
// The program's own back end for a named type (nullptr when it has none).
// Defined in extsynth_engines.cpp, the one place that lists them.
const ExtSynthEngine* extsynth_builtin_engine(ExtSynthType type);

// Replaces the back end of `type` until the next extsynth_reset (tests).
void extsynth_register(ExtSynthType type, const ExtSynthEngine* engine);

// Stores the type and starts its back end. When that succeeds, waits (50 ms
// steps) until the engine no longer reports speech. Returns the start's
// result; false also when the type has no back end.
bool extsynth_start(int voice, int rate, int pitch, const std::string& output_file, int type);
// Shuts the running back end down.
void extsynth_stop();
// Hands text to the running back end (asynchronous); logged as "ext TEXT".
void extsynth_speak(const std::string& latin1_text);
// Lets pending messages run, then asks the running back end whether it still
// speaks. The front end passes false; only the start wait passes true.
bool extsynth_busy(bool start_wait = false);
// Stops the running back end's current speech.
void extsynth_silence();
// A back end runs and its engine is still there. When it has gone, the
// front end stops the dispatcher and speaks with its own reader again.
bool extsynth_available();
// The type stored by the last extsynth_start (4 before any).
int extsynth_type();
// Start-up state: type 4, nothing running, the program's own back ends.
void extsynth_reset();
