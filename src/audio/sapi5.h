// The two speech-server bridges, back ends of synthesizer types 5 (the
// server's default output module) and 54 (the RHVoice module). They behave
// alike and each keeps a connection and state of its own.
#pragma once

#include <string>

// A voice number outside 1..voices gives voice 1 at the voice's own rate
// (the rate is then ignored). The pitch is not used. False when there is no
// server, no such module or no voice.
bool sapi5_start(int voice, int rate, int pitch, const std::string& output_file);
// Queued after what still speaks; "" is sent as one space; a failure beeps.
void sapi5_speak(const std::string& latin1_text);
// Waits at most 20 ms for the end of speech, less when a key is or comes to
// be waiting; while it goes on, posts the wake message and answers true. A
// server that went away is not busy.
bool sapi5_busy();
// Drops everything queued and cuts the speech, then waits 50 ms.
void sapi5_silence();
// Lets the speech end (300 ms steps), then closes the connection.
void sapi5_stop();
// The voice number in use after a successful start (0 before).
int sapi5_voice_number();
// Started and its server still there (false once the server went away).
bool sapi5_available();

bool sapi54_start(int voice, int rate, int pitch, const std::string& output_file);
void sapi54_speak(const std::string& latin1_text);
bool sapi54_busy();
void sapi54_silence();
void sapi54_stop();
int sapi54_voice_number();
bool sapi54_available();

void sapi5_reset();
