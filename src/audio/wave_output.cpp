// The wave output: one playback state for the program, a ring of four blocks
// queued on the sound device, and the waits that let a key cut sound short.
#include "audio/wave_output.h"

#include <cstdio>
#include <cstring>

#include "console/sound_log.h"
#include "console/console.h"
#include "console/key_cut.h"
#include "platform/os.h"
#include "util/latin1.h"
#include "util/wave_format.h"

namespace {
constexpr int WAVE_MAX_OPEN_ATTEMPTS = 100;
constexpr unsigned WAVE_OPEN_RETRY_MS = 100;
constexpr int WAVE_MAX_RING_WAITS = 40;
constexpr unsigned WAVE_RING_WAIT_MS = 50;
constexpr unsigned WAVE_FULL_WAIT_MS = 10;

// The sample memory: allocated once, for the whole run.
struct WaveMemory {
    uint8_t blocks[WAVE_MAX_BUFFERS][WAVE_MAX_BLOCK];
    uint8_t file_buffer[WAVE_MAX_BLOCK];
    uint8_t compress_buffer[WAVE_MAX_BLOCK];  // keeps callers' sound untouched
} g_memory;

struct WaveState {
    bool stop_on_key = true;
    bool fast_rate = false;
    bool compress = false;
    bool open = false;
    int32_t rate = 0;
    int bits = 0;
    int channels = 0;
    int last_buffer = 0;  // 1..4, the block written last
    int in_flight = 0;
    bool owned[WAVE_MAX_BUFFERS] = {};  // the device holds this block
} g_wave;

int open_error(OsAudioOpen r) {
    switch (r) {
        case OsAudioOpen::Ok: return 0;
        case OsAudioOpen::Allocated: return WAVE_ERR_ALLOCATED;
        case OsAudioOpen::BadFormat: return WAVE_ERR_BADFORMAT;
        case OsAudioOpen::NoDevice: break;
    }
    return WAVE_ERR_NODEVICE;
}

void announce_null_device() {
    // The device is often lost in the middle of a line the game is writing.
    console_start_line();
    console_write_text(latin1("Sem dispositivo de som: o programa seguirá em silêncio.\r\n"));
}

bool key_stops() { return g_wave.stop_on_key && key_cut_should_stop(); }

int open_for(int32_t rate, int bits, int channels) {
    if (rate != g_wave.rate || bits != g_wave.bits || channels != g_wave.channels) {
        while (wave_busy()) console_wait_message(WAVE_OPEN_RETRY_MS);
    }
    g_wave.rate = rate;
    g_wave.bits = bits;
    g_wave.channels = channels;
    if (g_wave.open) return 0;

    console_set_wave_done_hook(wave_done_hook);
    console_enable_wave_done_hook(true);
    os_set_audio_announce(announce_null_device);
    OsAudioFormat fmt;
    fmt.rate = rate;
    fmt.bits = bits;
    fmt.channels = channels;
    OsAudioOpen r = os_audio_open(fmt);
    for (int attempt = 1; r == OsAudioOpen::Allocated && attempt < WAVE_MAX_OPEN_ATTEMPTS; attempt++) {
        console_delay(WAVE_OPEN_RETRY_MS);
        r = os_audio_open(fmt);
    }
    g_wave.open = r == OsAudioOpen::Ok;
    return open_error(r);
}

bool mono_8bit() { return g_wave.channels == 1 && g_wave.bits == 8; }

// Copies one block into the next ring place and hands it to the device.
bool queue_block(const uint8_t* data, size_t length) {
    if (length == 0) return false;
    for (int waits = 0; g_wave.in_flight >= WAVE_MAX_BUFFERS; waits++) {
        if (waits == WAVE_MAX_RING_WAITS) return false;
        console_dispatch_messages();
        console_delay(WAVE_RING_WAIT_MS);
    }
    int previous = g_wave.last_buffer;
    g_wave.in_flight++;
    g_wave.last_buffer = g_wave.last_buffer % WAVE_MAX_BUFFERS + 1;
    int number = g_wave.last_buffer;
    uint8_t* block = g_memory.blocks[number - 1];

    std::memcpy(block, data, length);
    size_t sent = length;
    if (length < WAVE_MIN_BLOCK) {
        // Devices click on very short blocks; fill up with silence of the format.
        std::memset(block + length, g_wave.bits == 8 ? 128 : 0, WAVE_MIN_BLOCK - length);
        sent = WAVE_MIN_BLOCK;
    }
    if (mono_8bit() && length != WAVE_MAX_BLOCK) block[length - 1] = 128;

    if (!os_audio_write(number, block, sent)) {
        // The device refused the block: give its ring place back at once, so
        // the ring stays in order and nothing waits for a done that never comes.
        g_wave.in_flight--;
        g_wave.last_buffer = previous;
        return false;
    }
    g_wave.owned[number - 1] = true;
    return true;
}

int play_samples(const uint8_t* samples, uint32_t bytes, int32_t rate, uint16_t channels,
                 uint16_t bits, unsigned flags) {
    if (g_wave.fast_rate && !(flags & WAVE_KEEP_RATE)) rate = static_cast<int32_t>(int64_t(rate) * 3 / 2);
    bool compress = g_wave.compress && !(flags & WAVE_KEEP_LENGTH) && channels == 1;
    bool to_8bit = compress && bits == 16;
    int r = open_for(rate, to_8bit ? 8 : bits, channels);
    if (r != 0) return r;
    uint32_t done = 0;
    while (done < bytes) {
        while (g_wave.in_flight >= WAVE_MAX_BUFFERS) {
            if (key_stops()) {
                wave_stop();
                return 0;
            }
            // Woken by the first message, so a key is tested the moment it
            // arrives and not at the end of a sleep.
            console_wait_message(WAVE_FULL_WAIT_MS);
        }
        if (key_stops()) {
            wave_stop();
            return 0;
        }
        uint32_t n = bytes - done < WAVE_MAX_BLOCK ? bytes - done : uint32_t(WAVE_MAX_BLOCK);
        if (compress) {
            std::memcpy(g_memory.compress_buffer, samples + done, n);
            size_t m = wave_time_compress(g_memory.compress_buffer, n, bits, rate);
            queue_block(g_memory.compress_buffer, m);
        } else {
            queue_block(samples + done, n);
        }
        done += n;
    }
    return 0;
}

void log_image(uint32_t bytes, int32_t rate, int bits, int channels) {
    char text[64];
    std::snprintf(text, sizeof text, "%u %d %d %d", unsigned(bytes), int(rate), bits, channels);
    sound_log("image", text);
}

// The one release failure that can happen here: an open device handing back
// a block it does not hold.
const char* const WAVE_INVALID_HANDLE_TEXT = "Specified device handle is invalid.";

FILE* open_file(const std::string& path) {
    FILE* f = std::fopen(path.c_str(), "rb");
    if (f) return f;
    // A Latin-1 name may be stored as UTF-8 on disk.
    for (unsigned char c : path) {
        if (c >= 0x80) return std::fopen(utf8(path).c_str(), "rb");
    }
    return nullptr;
}
}  // namespace

void wave_reset() {
    if (g_wave.open) os_audio_close();
    g_wave = WaveState{};
}

void wave_set_speed(bool fast_rate, bool compress) {
    g_wave.fast_rate = fast_rate;
    g_wave.compress = compress;
}

void wave_set_stop_on_key(bool on) { g_wave.stop_on_key = on; }
bool wave_stops_on_key() { return g_wave.stop_on_key; }

void wave_done_hook(int buffer_number) {
    if (buffer_number < 1 || buffer_number > WAVE_MAX_BUFFERS) return;
    bool& owned = g_wave.owned[buffer_number - 1];
    if (!owned) {
        // Once the device is closed every block has been taken back already.
        if (!g_wave.open) return;
        // An open device handing back a block it does not hold is broken:
        // say so and let the user acknowledge it.
        console_write_text(WAVE_INVALID_HANDLE_TEXT);
        char line[128];
        console_read_line_raw(line, sizeof line);
        return;
    }
    owned = false;
    if (g_wave.in_flight > 0) g_wave.in_flight--;
}

void wave_stop() {
    if (g_wave.open) {
        if (g_wave.in_flight > 0) {
            os_audio_reset();
            console_dispatch_messages();
        }
        os_audio_close();
        console_dispatch_messages();
    }
    g_wave.open = false;
    // A closed device holds nothing, even if a done message went missing.
    for (bool& owned : g_wave.owned) owned = false;
    g_wave.in_flight = 0;
}

bool wave_busy() {
    console_dispatch_messages();
    if (key_stops() || g_wave.in_flight == 0) wave_stop();
    return g_wave.in_flight > 0;
}

int wave_play_samples(const uint8_t* samples, uint32_t bytes, int32_t rate, uint16_t channels,
                      uint16_t bits, unsigned flags) {
    if (!samples) bytes = 0;
    if (bytes > 0) log_image(bytes, rate, bits, channels);
    return play_samples(samples, bytes, rate, channels, bits, flags);
}

void wave_play_image(const uint8_t* image, size_t size, unsigned flags) {
    WaveImageView view;
    if (!wave_parse_image(image, size, view)) return;
    uint32_t bytes = static_cast<uint32_t>(view.bytes);
    log_image(bytes, view.format.rate, view.format.bits, view.format.channels);
    play_samples(view.samples, bytes, view.format.rate, view.format.channels, view.format.bits, flags);
}

int wave_play_file(const std::string& path, unsigned flags) {
    if (key_stops()) return 0;
    FILE* f = open_file(path);
    if (!f) return -1;
    WaveSource src = wave_file_source(f);
    WaveFileHeader header;
    int result = -1;
    if (wave_parse_file_header(src, g_memory.file_buffer, WAVE_MAX_BLOCK, header)) {
        size_t slash = path.find_last_of("/\\");
        sound_log("file", slash == std::string::npos ? path : path.substr(slash + 1));
        result = 0;
        uint32_t remaining = header.data_bytes > 0 ? uint32_t(header.data_bytes) : 0;
        while (remaining > 0) {
            size_t got = std::fread(g_memory.file_buffer, 1, wave_file_piece(remaining), f);
            if (got == 0) {
                result = -1;
                break;
            }
            remaining -= uint32_t(got);
            result = play_samples(g_memory.file_buffer, uint32_t(got), header.format.rate,
                                  header.format.channels, header.format.bits, flags);
            if (result != 0 || key_stops()) break;
        }
    }
    std::fclose(f);
    while (wave_busy()) console_wait_message(WAVE_OPEN_RETRY_MS);
    return result;
}
