// The speech front end's state, shared by its own files (start-up, recorded
// output, the own reader, spoken numbers); not for other modules.
#pragma once

#include <cstdint>
#include <string>

#include "speech/speech.h"
#include "util/wave_format.h"

struct SpeechState {
    std::string startup_directory;
    std::string sound_directory;    // ends in "/" when not empty
    std::string letters_directory;  // ends in "/"
    int speed = 0;
    int period_pause = 250;
    int comma_pause = 150;
    int colon_pause = 200;
    bool external_active = false;
    int external_type = 4;
    bool external_pending = true;
    bool echo_typed = true;
    bool speak_punctuation = true;
    bool abort = false;
    void (*screen_review)() = nullptr;
    uint8_t click[WAVE_HEADER_BYTES + SPEECH_CLICK_SAMPLES] = {};
};

SpeechState& speech_state();
