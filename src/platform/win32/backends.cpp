// The backends, sound device and voices Windows offers: the console window
// where the desktop takes one (else the program runs headless), playing
// through winmm.
#include <cstring>

#include "platform/backend.h"
#include "platform/system.h"
#include "platform/win32/win32_backend.h"
#include "platform/win32/sapi4_voice.h"
#include "platform/win32/sapi5_voice.h"

const OsBackend* system_backend_named(const char* name) {
    if (!std::strcmp(name, "window")) return win32_backend();
    return nullptr;
}

const OsBackend* system_default_backend() { return win32_backend()->start() ? win32_backend() : nullptr; }

const OsAudioDevice* system_audio_device() { return win32_audio_device(); }

// The SAPI 4 engines synthesize into the program's own sound; the SAPI 5
// voices play it themselves.
const OsSynthDriver* system_synth_driver() { return sapi4_synth_driver(); }

const OsVoiceServerDriver* system_voice_server_driver() { return sapi5_voice_driver(); }
