// Test helpers for the wave output: WAV files built in memory and a sound
// device that records what reaches it while the headless device keeps time.
#pragma once


#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "platform/backend.h"
#include "system_support.h"

struct WavChunk {
    std::string id;
    std::vector<uint8_t> body;
};

inline void put32(std::vector<uint8_t>& v, uint32_t x) {
    for (int i = 0; i < 4; i++) v.push_back(uint8_t(x >> (8 * i)));
}
inline void put16(std::vector<uint8_t>& v, uint16_t x) {
    v.push_back(uint8_t(x));
    v.push_back(uint8_t(x >> 8));
}
inline void put_id(std::vector<uint8_t>& v, const std::string& id) {
    for (int i = 0; i < 4; i++) v.push_back(uint8_t(id[i]));
}

inline std::vector<uint8_t> fmt_body(int rate, int channels, int bits) {
    std::vector<uint8_t> b;
    put16(b, 1);
    put16(b, uint16_t(channels));
    put32(b, uint32_t(rate));
    put32(b, uint32_t(rate * channels * bits / 8));
    put16(b, uint16_t(channels * bits / 8));
    put16(b, uint16_t(bits));
    return b;
}

// RIFF, WAVE, the format chunk, then `chunks` in order (identifiers as given).
inline std::vector<uint8_t> make_wav(int rate, int channels, int bits, const std::vector<WavChunk>& chunks,
                                     const std::string& riff = "RIFF", const std::string& fmt = "fmt ") {
    std::vector<uint8_t> v;
    put_id(v, riff);
    put32(v, 0);
    put_id(v, "WAVE");
    put_id(v, fmt);
    std::vector<uint8_t> body = fmt_body(rate, channels, bits);
    put32(v, uint32_t(body.size()));
    v.insert(v.end(), body.begin(), body.end());
    for (const WavChunk& c : chunks) {
        put_id(v, c.id);
        put32(v, uint32_t(c.body.size()));
        v.insert(v.end(), c.body.begin(), c.body.end());
    }
    uint32_t riff_size = uint32_t(v.size() - 8);
    std::memcpy(v.data() + 4, &riff_size, 4);
    return v;
}

inline std::vector<uint8_t> ramp(size_t n) {
    std::vector<uint8_t> v(n);
    for (size_t i = 0; i < n; i++) v[i] = uint8_t(1 + i % 200);
    return v;
}

inline std::string write_temp_file(const std::string& name, const std::vector<uint8_t>& bytes) {
    namespace fs = std::filesystem;
    fs::path dir = fs::temp_directory_path() / ("fuga_wave_test_" + std::to_string(::sys_process_id()));
    fs::create_directories(dir);
    fs::path p = dir / name;
    std::ofstream(p, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()),
                                             std::streamsize(bytes.size()));
    return p.string();
}

// A sound device in front of the headless one: notes each call, with the
// virtual time, and keeps a copy of every block written.
struct WaveRecorder {
    std::vector<std::string> log;
    std::vector<std::vector<uint8_t>> blocks;
    std::vector<int> numbers;
    std::vector<uint64_t> times;  // os_ticks_ms of each log entry
    int allocated_left = 0;       // opens answered "allocated" first
    OsAudioOpen forced = OsAudioOpen::Ok;
    int refuse_writes = 0;        // writes refused next
    bool open = false;

    void note(const std::string& s) {
        log.push_back(s);
        times.push_back(os_ticks_ms());
    }
    std::vector<std::string> only(const std::string& prefix) const {
        std::vector<std::string> out;
        for (const auto& s : log) {
            if (s.compare(0, prefix.size(), prefix) == 0) out.push_back(s);
        }
        return out;
    }
    size_t bytes_written() const {
        size_t n = 0;
        for (const auto& b : blocks) n += b.size();
        return n;
    }
};

inline WaveRecorder& wave_recorder() {
    static WaveRecorder r;
    return r;
}

inline const OsAudioDevice* wave_recording_device() {
    static const OsAudioDevice device = {
        "recorder",
        [](const OsAudioFormat& f) {
            WaveRecorder& r = wave_recorder();
            r.note("open " + std::to_string(f.rate) + " " + std::to_string(f.bits) + " " +
                   std::to_string(f.channels));
            if (r.allocated_left > 0) {
                r.allocated_left--;
                return OsAudioOpen::Allocated;
            }
            if (r.forced != OsAudioOpen::Ok) return r.forced;
            OsAudioOpen result = headless_audio_device()->open(f);
            r.open = result == OsAudioOpen::Ok;
            return result;
        },
        [](int number, const uint8_t* data, size_t bytes) {
            WaveRecorder& r = wave_recorder();
            r.note("write " + std::to_string(number) + " " + std::to_string(bytes));
            if (r.refuse_writes > 0) {
                r.refuse_writes--;
                return false;
            }
            r.blocks.emplace_back(data, data + bytes);
            r.numbers.push_back(number);
            return headless_audio_device()->write(number, data, bytes);
        },
        [] {
            wave_recorder().note("reset");
            headless_audio_device()->reset();
        },
        [] {
            wave_recorder().note("close");
            wave_recorder().open = false;
            headless_audio_device()->close();
        },
        [](const OsAudioFormat& fmt, const uint8_t* samples, size_t bytes) {
            headless_audio_device()->play_tone(fmt, samples, bytes);
        },
    };
    return &device;
}
