// The Portuguese engine as the dispatcher's synthesizer type 3: where its
// voice and five data files are (section "VERNATTS" of the configuration),
// and how the front end's rate and pitch become the engine's factors.
#pragma once

#include <string>

struct ExtSynthEngine;

struct VernaBackendFiles {
    std::string database, directory, base;
    std::string rules, exceptions, abbreviations, prosody, diphones;
    std::string library;  // "MBROLA_LIB": a MBROLA library to load instead of the default
};

// The configuration as read (once) from "VERNATTS" and the registry.
const VernaBackendFiles& verna_backend_files();

// Sets the output file, starts the engine with the configured files and sets
// the factors 0.8 - rate / 15 and (pitch + 11) / 11. The voice is not used.
bool verna_backend_start(int voice, int rate, int pitch, const std::string& output_file);
// Speaks, then posts the wake-up message 2980.
void verna_backend_speak(const std::string& latin1_text);
// Whether the engine still speaks; a key waiting silences it first and
// answers false. Posts 2980.
bool verna_backend_busy();
// Silences the engine, then posts 2980.
void verna_backend_silence();
// Waits (500 ms steps) while the engine speaks, silences it, stops it.
void verna_backend_stop();
// The five operations above as the dispatcher's engine for type 3.
const ExtSynthEngine* verna_backend_engine();
// Forgets the configuration read.
void verna_backend_reset();
