// Short tones (the braille mode's, the bell's) played from a WAV image in
// memory with sndPlaySound, independent of the wave output's blocks.
#include <windows.h>
#include <mmsystem.h>

#include <cstring>

#include "platform/win32/win32_wave.h"
#include "util/wave_format.h"

namespace {
// A tone of up to about three seconds of 8-bit sound at 22050 Hz; longer
// samples are cut (tones are a fifth of a second).
constexpr size_t WIN32_TONE_MAX_SAMPLE_BYTES = 65536;

struct ToneState {
    uint8_t image[WAVE_HEADER_BYTES + WIN32_TONE_MAX_SAMPLE_BYTES];
    bool playing = false;
} g_tone;

void stop() {
    // The system reads the image while it plays: it is stopped before the
    // image is written again.
    if (g_tone.playing) sndPlaySoundA(nullptr, 0);
    g_tone.playing = false;
}
}  // namespace

void win32_tone_play(const OsAudioFormat& fmt, const uint8_t* samples, size_t bytes) {
    stop();
    if (!samples || bytes == 0) return;
    if ((fmt.bits != 8 && fmt.bits != 16) || fmt.channels < 1 || fmt.channels > 8 || fmt.rate < 1000) return;
    size_t frame = size_t(fmt.bits / 8 * fmt.channels);
    if (bytes > WIN32_TONE_MAX_SAMPLE_BYTES) bytes = WIN32_TONE_MAX_SAMPLE_BYTES - WIN32_TONE_MAX_SAMPLE_BYTES % frame;
    wave_make_header(g_tone.image, uint32_t(bytes), uint32_t(fmt.rate), uint16_t(fmt.channels), uint16_t(fmt.bits));
    std::memcpy(g_tone.image + WAVE_HEADER_BYTES, samples, bytes);
    g_tone.playing = sndPlaySoundA(reinterpret_cast<LPCSTR>(g_tone.image), SND_ASYNC | SND_MEMORY | SND_NODEFAULT);
}
