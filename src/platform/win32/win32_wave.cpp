// The sound device on winmm: each block of the wave output is one prepared
// header written to the wave mapper, opened with the console window as its
// callback target; the block-done message hands the header back.
#include "platform/win32/win32_wave.h"
#include "platform/win32/win32_backend.h"

#include <mmsystem.h>

#include <vector>

#include "platform/win32/win32_events.h"

namespace {
// Buffer numbers the device accepts (the wave output uses 1..4).
constexpr int WIN32_WAVE_MAX_BUFFERS = 16;

struct WaveDeviceState {
    HWAVEOUT out = nullptr;
    // 8-bit sound goes to the device as 16-bit samples: Wine's output pads
    // an 8-bit stream with zero bytes where it has no data yet (at a start,
    // in an underrun), and a zero byte is the loudest negative sample of that
    // format, heard as a click of about 10 ms before sounds. In 16 bits zero
    // is silence, and the widening loses nothing.
    bool widen = false;
    std::vector<int16_t> wide[WIN32_WAVE_MAX_BUFFERS];
    WAVEHDR headers[WIN32_WAVE_MAX_BUFFERS] = {};
    bool queued[WIN32_WAVE_MAX_BUFFERS] = {};  // written and not yet handed back
    unsigned long done_count = 0;
} g_wave;

bool valid(const OsAudioFormat& fmt) {
    return (fmt.bits == 8 || fmt.bits == 16) && fmt.channels >= 1 && fmt.channels <= 8 && fmt.rate >= 1000 &&
           fmt.rate <= 384000;
}

WAVEFORMATEX pcm_format(const OsAudioFormat& fmt) {
    WAVEFORMATEX wfx = {};
    wfx.wFormatTag = WAVE_FORMAT_PCM;
    wfx.nChannels = WORD(fmt.channels);
    wfx.nSamplesPerSec = DWORD(fmt.rate);
    wfx.wBitsPerSample = WORD(fmt.bits);
    wfx.nBlockAlign = WORD(fmt.bits / 8 * fmt.channels);
    wfx.nAvgBytesPerSec = wfx.nBlockAlign * wfx.nSamplesPerSec;
    return wfx;
}

// Unprepares a header the device no longer plays and tells the console.
void hand_back(int index, bool announce) {
    waveOutUnprepareHeader(g_wave.out, &g_wave.headers[index], sizeof(WAVEHDR));
    g_wave.queued[index] = false;
    if (!announce) return;
    OsEvent ev;
    ev.type = OsEventType::WaveDone;
    ev.param = int(g_wave.headers[index].dwUser);
    win32_events_push(ev);
}

// After waveOutReset every header is marked done, but its done message may
// still be on its way: the blocks are handed back here at once, so the
// console counts them before it closes the device, and the late messages
// find nothing to hand back.
void take_back_all() {
    for (int i = 0; i < WIN32_WAVE_MAX_BUFFERS; ++i)
        if (g_wave.queued[i]) hand_back(i, true);
}

OsAudioOpen open(const OsAudioFormat& fmt) {
    if (!valid(fmt)) return OsAudioOpen::BadFormat;
    if (g_wave.out) {
        waveOutReset(g_wave.out);
        take_back_all();
        waveOutClose(g_wave.out);
        g_wave.out = nullptr;
    }
    OsAudioFormat device_fmt = fmt;
    if (fmt.bits == 8) device_fmt.bits = 16;
    WAVEFORMATEX wfx = pcm_format(device_fmt);
    HWAVEOUT out = nullptr;
    MMRESULT r = waveOutOpen(&out, WAVE_MAPPER, &wfx, reinterpret_cast<DWORD_PTR>(win32_events_target()), 0,
                             CALLBACK_WINDOW | WAVE_ALLOWSYNC);
    if (r == MMSYSERR_ALLOCATED) return OsAudioOpen::Allocated;
    if (r == WAVERR_BADFORMAT) return OsAudioOpen::BadFormat;
    if (r != MMSYSERR_NOERROR) return OsAudioOpen::NoDevice;
    g_wave.out = out;
    g_wave.widen = fmt.bits == 8;
    return OsAudioOpen::Ok;
}

bool write(int buffer_number, const uint8_t* data, size_t bytes) {
    if (!g_wave.out || !data || bytes == 0 || bytes > 0xFFFFFFFFu) return false;
    if (buffer_number < 1 || buffer_number > WIN32_WAVE_MAX_BUFFERS) return false;
    int i = buffer_number - 1;
    if (g_wave.queued[i]) return false;
    WAVEHDR& h = g_wave.headers[i];
    h = WAVEHDR{};
    if (g_wave.widen) {
        if (bytes > 0x7FFFFFFFu) return false;
        std::vector<int16_t>& wide = g_wave.wide[i];
        wide.resize(bytes);
        for (size_t k = 0; k < bytes; ++k) wide[k] = int16_t((int(data[k]) - 128) * 256);
        h.lpData = reinterpret_cast<LPSTR>(wide.data());
        h.dwBufferLength = DWORD(bytes * 2);
    } else {
        h.lpData = reinterpret_cast<LPSTR>(const_cast<uint8_t*>(data));
        h.dwBufferLength = DWORD(bytes);
    }
    h.dwUser = DWORD_PTR(buffer_number);
    if (waveOutPrepareHeader(g_wave.out, &h, sizeof h) != MMSYSERR_NOERROR) return false;
    if (waveOutWrite(g_wave.out, &h, sizeof h) != MMSYSERR_NOERROR) {
        waveOutUnprepareHeader(g_wave.out, &h, sizeof h);
        return false;
    }
    g_wave.queued[i] = true;
    return true;
}

void reset() {
    if (!g_wave.out) return;
    waveOutReset(g_wave.out);
    take_back_all();
}

void close() {
    if (!g_wave.out) return;
    reset();
    waveOutClose(g_wave.out);
    g_wave.out = nullptr;
}

const OsAudioDevice device = {"winmm", open, write, reset, close, win32_tone_play};
}  // namespace

const OsAudioDevice* win32_audio_device() { return &device; }

int win32_wave_done(HWAVEOUT out, WAVEHDR* header) {
    if (!header || !g_wave.out || out != g_wave.out) return 0;
    int i = int(header - g_wave.headers);
    if (i < 0 || i >= WIN32_WAVE_MAX_BUFFERS || !g_wave.queued[i]) return 0;
    g_wave.done_count++;
    hand_back(i, false);
    return int(header->dwUser);
}

unsigned long win32_wave_done_count() { return g_wave.done_count; }
