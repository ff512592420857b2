// The external synthesizer dispatcher: hands all synthesized speech to one
// engine chosen by type (3 the MBROLA-driven Portuguese engine, 5 and 54 the
// system voices, any other the espeak-ng voices). Engines register
// themselves; a type with no registered engine cannot be started, and the
// front end then keeps its own reader.
#pragma once

#include <string>

struct ExtSynthEngine {
    const char* name;
    bool (*start)(int voice, int rate, int pitch, const std::string& output_file);
    void (*stop)();
    void (*speak)(const std::string& latin1_text);
    bool (*busy)();
    void (*silence)();
};

// Makes `engine` the one started for `type` (nullptr removes it).
void extsynth_register(int type, const ExtSynthEngine* engine);
// Starts the engine of `type`; false when none is registered or it fails.
bool extsynth_start(int voice, int rate, int pitch, const std::string& output_file, int type);
void extsynth_stop();
// Hands text to the running engine (asynchronous); logged as "ext TEXT".
void extsynth_speak(const std::string& latin1_text);
bool extsynth_busy();
void extsynth_silence();
void extsynth_reset();
