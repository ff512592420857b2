// Every recording the speech front end plays from its letters directory,
// with the Portuguese text it speaks: letters (_NN), number, time and date
// fragments, the editor's prompts and the spelling words (_FONnn). The
// installation data is generated from this list, and a test checks that the
// generated tree holds each one.
#pragma once

#include <string>
#include <vector>

struct SpeechRecording {
    std::string key;   // file name without ".wav", e.g. "_65", "_quatorz", "_DEL"
    std::string text;  // Latin-1 text to speak
};

std::vector<SpeechRecording> speech_letter_recordings();
// The dial tones: "dtmf_0".."dtmf_9", "dtmf_X" (for "*"), "dtmf_#".
std::vector<std::string> speech_dial_tone_keys();
