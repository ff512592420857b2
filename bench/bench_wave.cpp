// How fast the wave output reacts: from a key event to wave_stop returning,
// from wave_play_file to the device's first block, and the speed of time
// compression.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <vector>

#include "audio/wave_output.h"
#include "console/console.h"
#include "platform/backend.h"
#include "util/wave_format.h"
#include "system_support.h"

namespace {
using Clock = std::chrono::steady_clock;

std::vector<uint8_t> wav_image(int rate, int bits, size_t data_bytes) {
    std::vector<uint8_t> v(WAVE_HEADER_BYTES + data_bytes);
    wave_make_header(v.data(), uint32_t(data_bytes), uint32_t(rate), 1, uint16_t(bits));
    for (size_t i = 0; i < data_bytes; i++) v[WAVE_HEADER_BYTES + i] = uint8_t(128 + 100 * std::sin(double(i) / 17.5));
    return v;
}

// Headless events (no window) with the given sound device, or the headless one.
bool start_with(const OsAudioDevice* device) {
    sys_set_env("FUGA_BACKEND", "headless");
    sys_set_env("SDL_AUDIODRIVER", "dummy");
    os_start();
    wave_reset();
    if (device) {
        OsAudioFormat fmt;
        if (device->open(fmt) != OsAudioOpen::Ok) return false;
        device->close();
    }
    os_set_audio_device_for_tests(device);
    return true;
}

void key_to_stop(benchmark::State& state, const OsAudioDevice* device) {
    if (!start_with(device)) {
        state.SkipWithError("sound device cannot be opened");
        return;
    }
    std::vector<uint8_t> image = wav_image(11025, 8, 4 * 65534);
    OsEvent key;
    key.type = OsEventType::Char;
    key.ch = 'x';
    for (auto _ : state) {
        wave_play_image(image.data(), image.size());
        auto start = Clock::now();
        os_post_event(key);
        while (wave_busy()) {
        }
        state.SetIterationTime(std::chrono::duration<double>(Clock::now() - start).count());
        console_discard_keys();
    }
    wave_reset();
    os_set_audio_device_for_tests(nullptr);
}
void BM_KeyToStopSdl(benchmark::State& state) { key_to_stop(state, sdl_audio_device()); }
void BM_KeyToStopHeadless(benchmark::State& state) { key_to_stop(state, nullptr); }

// A device in front of the real one that notes when the first block arrives
// and then asks for the sound to stop, so each playback is short.
struct FirstBlock {
    const OsAudioDevice* real = nullptr;
    Clock::time_point at;
    bool seen = false;
} g_first;

const OsAudioDevice* first_block_device(const OsAudioDevice* real) {
    g_first.real = real;
    static const OsAudioDevice device = {
        "first-block",
        [](const OsAudioFormat& f) { return g_first.real->open(f); },
        [](int n, const uint8_t* d, size_t b) {
            if (!g_first.seen) {
                g_first.seen = true;
                g_first.at = Clock::now();
                console_queue_key('x');
            }
            return g_first.real->write(n, d, b);
        },
        [] { g_first.real->reset(); },
        [] { g_first.real->close(); },
        [](const OsAudioFormat& f, const uint8_t* s, size_t b) { g_first.real->play_tone(f, s, b); },
    };
    return &device;
}

void file_to_first_block(benchmark::State& state, const OsAudioDevice* real) {
    if (!start_with(real)) {
        state.SkipWithError("sound device cannot be opened");
        return;
    }
    os_set_audio_device_for_tests(first_block_device(real ? real : headless_audio_device()));
    std::filesystem::path path = std::filesystem::temp_directory_path() / "fuga_bench_wave.wav";
    std::vector<uint8_t> image = wav_image(11025, 8, 3 * 65534);
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(image.data()), long(image.size()));
    for (auto _ : state) {
        g_first.seen = false;
        auto start = Clock::now();
        wave_play_file(path.string());
        if (!g_first.seen) {
            state.SkipWithError("no block reached the device");
            break;
        }
        state.SetIterationTime(std::chrono::duration<double>(g_first.at - start).count());
        console_discard_keys();
    }
    std::filesystem::remove(path);
    wave_reset();
    os_set_audio_device_for_tests(nullptr);
}
void BM_FileToFirstBlockSdl(benchmark::State& state) { file_to_first_block(state, sdl_audio_device()); }
void BM_FileToFirstBlockHeadless(benchmark::State& state) { file_to_first_block(state, nullptr); }

void BM_TimeCompress(benchmark::State& state) {
    int bits = int(state.range(0));
    int rate = int(state.range(1));
    std::vector<uint8_t> source(WAVE_MAX_BLOCK);
    for (size_t i = 0; i < source.size(); i++) {
        double s = std::sin(2 * SYS_PI * double(i) / (bits == 16 ? 220.0 : 110.0));
        source[i] = bits == 16 ? uint8_t(i % 2 ? int(100 * s) + 128 : 0) : uint8_t(128 + 100 * s);
    }
    std::vector<uint8_t> block(source.size());
    for (auto _ : state) {
        block = source;
        benchmark::DoNotOptimize(wave_time_compress(block.data(), block.size(), bits, rate));
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(source.size()));
}
}  // namespace

BENCHMARK(BM_KeyToStopSdl)->UseManualTime()->Unit(benchmark::kMicrosecond)->Iterations(50);
BENCHMARK(BM_KeyToStopHeadless)->UseManualTime()->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_FileToFirstBlockSdl)->UseManualTime()->Unit(benchmark::kMicrosecond)->Iterations(50);
BENCHMARK(BM_FileToFirstBlockHeadless)->UseManualTime()->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_TimeCompress)->Args({8, 11025})->Args({16, 11025})->Args({8, 16000})->Unit(benchmark::kMicrosecond);
