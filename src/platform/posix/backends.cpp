// The backends Linux offers: the SDL window where there is a display, else
// the terminal when standard input is one; both play through SDL's sound.
#include <unistd.h>

#include <cstdlib>
#include <cstring>

#include "platform/backend.h"
#include "platform/system.h"

const OsBackend* system_backend_named(const char* name) {
    if (!std::strcmp(name, "sdl")) return sdl_backend();
    if (!std::strcmp(name, "terminal")) return terminal_backend();
    return nullptr;
}

const OsBackend* system_default_backend() {
    const char* display = std::getenv("DISPLAY");
    const char* wayland = std::getenv("WAYLAND_DISPLAY");
    if (((display && *display) || (wayland && *wayland)) && sdl_backend()->start()) return sdl_backend();
    if (isatty(STDIN_FILENO) && terminal_backend()->start()) return terminal_backend();
    return nullptr;
}

const OsAudioDevice* system_audio_device() { return sdl_audio_device(); }

void system_start() {}

const OsSynthDriver* system_synth_driver() { return espeak_synth_driver(); }

const OsVoiceServerDriver* system_voice_server_driver() { return speechd_voice_driver(); }
