// The backends, sound device and voices Windows offers. The window backend
// is not part of this build yet: until it is, the program runs headless (the
// null sound device keeping real time where a real backend would play).
#include "platform/backend.h"
#include "platform/system.h"
#include "platform/win32/sapi4_voice.h"
#include "platform/win32/sapi5_voice.h"

const OsBackend* system_backend_named(const char*) { return nullptr; }

const OsBackend* system_default_backend() { return nullptr; }

const OsAudioDevice* system_audio_device() { return null_audio_device(); }

// The SAPI 4 engines synthesize into the program's own sound; the SAPI 5
// voices play it themselves.
const OsSynthDriver* system_synth_driver() { return sapi4_synth_driver(); }

const OsVoiceServerDriver* system_voice_server_driver() { return sapi5_voice_driver(); }
