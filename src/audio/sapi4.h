// The system engine bridge (espeak-ng on Linux, the version 4 speech engines
// on Windows), back end of every synthesizer type but 3, 5 and 54: a voice
// chosen by number, texts handed over asynchronously, and two notification
// sinks that count the texts in work and watch the sound.
#pragma once

#include <string>

// Voice number 0 counts as 1; a number past the last voice keeps the last.
// `speed` in words per minute and `pitch` in Hz, each left alone when 0.
// False when the library cannot start or offers no voice.
bool sapi4_start(int voice, int speed, int pitch, const std::string& output_file);
// Trims blanks and control characters, sends one digit as "7.", sends
// nothing when empty, or when a key is waiting (with wave_stop_on_key).
void sapi4_speak(const std::string& latin1_text);
// With start_wait: texts are still in work; otherwise also while sound plays.
bool sapi4_busy(bool start_wait);
// Cuts the sound at once and forgets every text in work; when sound was
// playing, then gives the engine 200 ms to settle.
void sapi4_silence();
void sapi4_stop();
// Texts handed over and not yet finished, never below 0.
int sapi4_pending();
void sapi4_reset();
