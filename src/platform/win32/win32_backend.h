// What the Windows platform routes to when it runs in the console window:
// the GDI window backend and the winmm sound device.
#pragma once

#include "platform/backend.h"

// The window backend: the console window, its message pump, keys,
// clipboard and message boxes.
const OsBackend* win32_backend();
// The sound device on the wave mapper, completed by window messages to the
// console window; braille tones with sndPlaySound.
const OsAudioDevice* win32_audio_device();
