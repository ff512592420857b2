// The sound log (FUGA_SOUND_LOG): one line per sound event, in order, so a
// session's sound can be compared without ears. Every layer adds its lines
// here: "say TEXT", "file NAME", "image BYTES RATE BITS CHANNELS",
// "ext TEXT", "tone FREQ", "beep".
#pragma once

#include <string>

// Appends "<kind> <latin1 text as UTF-8>" when the log is enabled.
void sound_log(const std::string& kind, const std::string& latin1_text);
bool sound_log_enabled();
// Opens the log at the program's start: a log that cannot be created is
// reported on standard error at once, and one that lost lines at exit.
void sound_log_open();
// Closes the file and forgets the setting (tests).
void sound_log_reset();
