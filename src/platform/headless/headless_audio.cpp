// Placeholder until the headless sound device lands: no device.
#include "platform/backend.h"

namespace {
OsAudioOpen open(const OsAudioFormat&) { return OsAudioOpen::NoDevice; }
bool write(int, const uint8_t*, size_t) { return false; }
void reset() {}
void close() {}
void tone(const uint8_t*, size_t) {}
const OsAudioDevice device = {"headless", open, write, reset, close, tone};
}  // namespace

const OsAudioDevice* headless_audio_device() { return &device; }
