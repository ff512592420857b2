// How long a COM voice may stay silent about texts it was given before the
// program stops waiting for it: engines that never report an end must not
// hold the game. Counted in real time, as the engines run.
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>

// Any engine gets this long, plus a generous time per character of the
// texts it still owes (slow voices read some 10 characters a second).
constexpr uint64_t VOICE_DEADLINE_BASE_MS = 5000;
constexpr uint64_t VOICE_DEADLINE_PER_CHAR_MS = 200;

struct VoiceDeadline {
    uint64_t since = 0;  // the engine's last sign of life
    size_t chars = 0;    // characters of the texts not yet finished
};

inline void voice_deadline_alive(VoiceDeadline& d) { d.since = GetTickCount64(); }
inline void voice_deadline_add_text(VoiceDeadline& d, size_t chars) { d.chars += chars; }
inline void voice_deadline_clear(VoiceDeadline& d) { d = VoiceDeadline{}; }
inline bool voice_deadline_passed(const VoiceDeadline& d) {
    return d.since && GetTickCount64() - d.since > VOICE_DEADLINE_BASE_MS + d.chars * VOICE_DEADLINE_PER_CHAR_MS;
}
