// How long a period the SDL sound device is opened with, for each rate.
#pragma once

// A sound that starts from silence is heard after the period being played
// and the one already queued behind it, so the period sets the latency of a
// key's echo; it is counted in time at the stream's own rate (a power of two
// at 11025 Hz rounds 20 ms to 11.6 ms and a smaller one to 5.8 ms). With
// 8 ms the sound server played no underrun of ours (its debug log) with both
// cores fully loaded, also when the audio thread could not raise its
// priority.
constexpr int SDL_AUDIO_PERIOD_MS = 8;
// The fewest samples a period holds, whatever the rate.
constexpr int SDL_AUDIO_MIN_PERIOD_SAMPLES = 16;

constexpr int sdl_audio_period_samples(int rate) {
    int samples = (rate * SDL_AUDIO_PERIOD_MS + 500) / 1000;
    if (samples < SDL_AUDIO_MIN_PERIOD_SAMPLES) samples = SDL_AUDIO_MIN_PERIOD_SAMPLES;
    return samples > 65535 ? 65535 : samples;
}
