// The SDL sound device: blocks of the wave output played in order through an
// SDL audio callback, each reported done as it is used up, and a second,
// independent stream for short tones.
#include <SDL.h>
#include <fcntl.h>
#include <unistd.h>

#include <cstring>
#include <vector>

#include "platform/backend.h"
#include "platform/sdl/sdl_audio_period.h"

namespace {
constexpr int SDL_AUDIO_MAX_BLOCKS = 16;

struct SdlBlock {
    int buffer_number;
    const uint8_t* data;
    size_t bytes;
};

struct SdlAudioState {
    bool initialised = false;
    SDL_AudioDeviceID device = 0;
    bool playing = false;    // opened by the wave output, not merely kept
    bool started = false;    // its first block since the open is queued
    OsAudioFormat format;    // of `device`
    uint8_t silence = 0;
    // Touched by the callback: only under SDL_LockAudioDevice.
    SdlBlock queue[SDL_AUDIO_MAX_BLOCKS] = {};
    int head = 0, count = 0;
    size_t position = 0;  // bytes of the head block already played

    SDL_AudioDeviceID tone_device = 0;
    bool tone_failed = false;  // no card: tones are not tried again
    SDL_AudioSpec tone_spec = {};
    std::vector<uint8_t> tone;  // the tone's samples, owned
    size_t tone_position = 0;
} g_sdl;

// The sound libraries under SDL (ALSA) write their complaints about a missing
// card to standard error, which on the terminal backend is the player's
// screen; a missing card is announced on the console instead.
struct QuietStderr {
    int saved = -1;
    QuietStderr() {
        int null_fd = ::open("/dev/null", O_WRONLY | O_CLOEXEC);
        if (null_fd < 0) return;
        saved = ::dup(STDERR_FILENO);
        if (saved >= 0) ::dup2(null_fd, STDERR_FILENO);
        ::close(null_fd);
    }
    ~QuietStderr() {
        if (saved < 0) return;
        ::dup2(saved, STDERR_FILENO);
        ::close(saved);
    }
};

SDL_AudioDeviceID open_device(const SDL_AudioSpec& want, SDL_AudioSpec& have) {
    QuietStderr quiet;
    // No changes allowed: SDL converts our exact format for the sound card.
    return SDL_OpenAudioDevice(nullptr, 0, &want, &have, 0);
}

void pop_head() {
    os_post_wave_done(g_sdl.queue[g_sdl.head].buffer_number);
    g_sdl.head = (g_sdl.head + 1) % SDL_AUDIO_MAX_BLOCKS;
    g_sdl.count--;
    g_sdl.position = 0;
}

void SDLCALL fill(void*, Uint8* stream, int len) {
    size_t want = size_t(len);
    while (want > 0 && g_sdl.count > 0) {
        SdlBlock& b = g_sdl.queue[g_sdl.head];
        size_t take = b.bytes - g_sdl.position;
        if (take > want) take = want;
        std::memcpy(stream, b.data + g_sdl.position, take);
        stream += take;
        want -= take;
        g_sdl.position += take;
        if (g_sdl.position >= b.bytes) pop_head();
    }
    if (want > 0) std::memset(stream, g_sdl.silence, want);
}

bool init_audio() {
    if (!g_sdl.initialised) {
        QuietStderr quiet;
        g_sdl.initialised = SDL_InitSubSystem(SDL_INIT_AUDIO) == 0;
    }
    return g_sdl.initialised;
}

void close();

bool valid(const OsAudioFormat& fmt) {
    return (fmt.bits == 8 || fmt.bits == 16) && fmt.channels >= 1 && fmt.channels <= 8 &&
           fmt.rate >= 1000 && fmt.rate <= 384000;
}

SDL_AudioSpec spec_for(const OsAudioFormat& fmt, SDL_AudioCallback callback) {
    SDL_AudioSpec want;
    SDL_zero(want);
    want.freq = fmt.rate;
    want.format = fmt.bits == 8 ? AUDIO_U8 : AUDIO_S16LSB;
    want.channels = Uint8(fmt.channels);
    want.samples = Uint16(sdl_audio_period_samples(fmt.rate));
    want.callback = callback;
    return want;
}

// A device whose sound server went away (killed, restarted) stays stopped
// for good while SDL keeps calling back in silence, and SDL's connection to
// the server died with it: the devices are closed and SDL's sound started
// anew, so that the next open reaches the server again if it is back.
void drop_lost_device() {
    if (!g_sdl.device || SDL_GetAudioDeviceStatus(g_sdl.device) != SDL_AUDIO_STOPPED) return;
    SDL_CloseAudioDevice(g_sdl.device);
    g_sdl.device = 0;
    g_sdl.playing = false;
    if (g_sdl.tone_device) SDL_CloseAudioDevice(g_sdl.tone_device);
    g_sdl.tone_device = 0;
    g_sdl.tone.clear();
    g_sdl.tone_position = 0;
    g_sdl.tone_failed = false;
    QuietStderr quiet;
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    g_sdl.initialised = false;
}

OsAudioOpen open(const OsAudioFormat& fmt) {
    if (!valid(fmt)) return OsAudioOpen::BadFormat;
    drop_lost_device();
    if (!init_audio()) return OsAudioOpen::NoDevice;
    close();
    bool same = g_sdl.device && fmt.rate == g_sdl.format.rate && fmt.bits == g_sdl.format.bits &&
                fmt.channels == g_sdl.format.channels;
    if (!same) {
        if (g_sdl.device) SDL_CloseAudioDevice(g_sdl.device);
        SDL_AudioSpec want = spec_for(fmt, fill), have;
        g_sdl.device = open_device(want, have);
        if (!g_sdl.device) return OsAudioOpen::NoDevice;
        g_sdl.format = fmt;
        g_sdl.silence = have.silence;
    }
    g_sdl.head = g_sdl.count = 0;
    g_sdl.position = 0;
    g_sdl.playing = true;
    // The device starts with its first block (see write).
    g_sdl.started = false;
    return OsAudioOpen::Ok;
}

bool write(int buffer_number, const uint8_t* data, size_t bytes) {
    if (!g_sdl.playing || !data || bytes == 0) return false;
    SDL_LockAudioDevice(g_sdl.device);
    bool room = g_sdl.count < SDL_AUDIO_MAX_BLOCKS;
    if (room) {
        g_sdl.queue[(g_sdl.head + g_sdl.count) % SDL_AUDIO_MAX_BLOCKS] = {buffer_number, data, bytes};
        g_sdl.count++;
    }
    SDL_UnlockAudioDevice(g_sdl.device);
    // Started only now that it has sound: a device started ahead of its
    // sound (the game held up between the open and the first block) hands
    // its first periods to the sound server as silence, and a server that
    // has just started may then ask for the next period hundreds of ms later,
    // which the player hears as a title that starts late.
    if (room && !g_sdl.started) {
        g_sdl.started = true;
        SDL_PauseAudioDevice(g_sdl.device, 0);
    }
    return room;
}

void reset() {
    if (!g_sdl.device) return;
    SDL_LockAudioDevice(g_sdl.device);
    while (g_sdl.count > 0) pop_head();
    SDL_UnlockAudioDevice(g_sdl.device);
}

// Closing only pauses the SDL device and keeps it for the next sound of the
// same format: SDL_CloseAudioDevice waits for the audio thread (tens of ms),
// which a key press must not. Another format closes it for real.
void close() {
    if (!g_sdl.playing) return;
    reset();
    SDL_PauseAudioDevice(g_sdl.device, 1);
    g_sdl.playing = false;
}

void SDLCALL fill_tone(void*, Uint8* stream, int len) {
    size_t want = size_t(len);
    size_t left = g_sdl.tone.size() - g_sdl.tone_position;
    size_t take = left < want ? left : want;
    if (take) std::memcpy(stream, g_sdl.tone.data() + g_sdl.tone_position, take);
    g_sdl.tone_position += take;
    if (want > take) std::memset(stream + take, g_sdl.tone_spec.silence, want - take);
}

void stop_tone() {
    if (!g_sdl.tone_device) return;
    SDL_LockAudioDevice(g_sdl.tone_device);
    g_sdl.tone.clear();
    g_sdl.tone_position = 0;
    SDL_UnlockAudioDevice(g_sdl.tone_device);
}

void play_tone(const OsAudioFormat& fmt, const uint8_t* samples, size_t count) {
    if (!samples || count == 0) {
        stop_tone();
        return;
    }
    if (g_sdl.tone_failed || !valid(fmt)) return;
    if (!init_audio()) {
        g_sdl.tone_failed = true;
        return;
    }
    SDL_AudioSpec want = spec_for(fmt, fill_tone);
    bool same = g_sdl.tone_device && want.freq == g_sdl.tone_spec.freq &&
                want.format == g_sdl.tone_spec.format && want.channels == g_sdl.tone_spec.channels;
    if (!same) {
        if (g_sdl.tone_device) SDL_CloseAudioDevice(g_sdl.tone_device);
        g_sdl.tone.clear();
        g_sdl.tone_position = 0;
        g_sdl.tone_device = open_device(want, g_sdl.tone_spec);
        if (!g_sdl.tone_device) {
            g_sdl.tone_failed = true;
            return;
        }
    }
    SDL_LockAudioDevice(g_sdl.tone_device);
    g_sdl.tone.assign(samples, samples + count);
    g_sdl.tone_position = 0;
    SDL_UnlockAudioDevice(g_sdl.tone_device);
    // A new device starts with its tone in place, as the wave device does.
    if (!same) SDL_PauseAudioDevice(g_sdl.tone_device, 0);
}

const OsAudioDevice device = {"sdl", open, write, reset, close, play_tone};
}  // namespace

const OsAudioDevice* sdl_audio_device() { return &device; }
