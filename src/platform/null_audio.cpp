// The null sound device: used when no sound card can be opened. Plays nothing
// but keeps real time, so each block is reported done when it would have ended.
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

#include "platform/backend.h"

namespace {
using Clock = std::chrono::steady_clock;

constexpr int NULL_AUDIO_MAX_BLOCKS = 16;

struct NullBlock {
    int buffer_number;
    Clock::time_point ends;
};

struct NullAudioState {
    std::mutex lock;
    std::condition_variable changed;
    std::thread timer;
    bool running = false;
    bool open = false;
    int bytes_per_second = 0;
    NullBlock queue[NULL_AUDIO_MAX_BLOCKS];
    int head = 0, count = 0;
    Clock::time_point last_end;
} g_null;

void timer_loop() {
    std::unique_lock<std::mutex> hold(g_null.lock);
    while (g_null.running) {
        if (g_null.count == 0) {
            g_null.changed.wait(hold);
            continue;
        }
        NullBlock& front = g_null.queue[g_null.head];
        if (g_null.changed.wait_until(hold, front.ends) == std::cv_status::timeout &&
            g_null.count > 0 && Clock::now() >= g_null.queue[g_null.head].ends) {
            int number = g_null.queue[g_null.head].buffer_number;
            g_null.head = (g_null.head + 1) % NULL_AUDIO_MAX_BLOCKS;
            g_null.count--;
            os_post_wave_done(number);
        }
    }
}

// Posts the done of every queued block; the lock is held.
void drop_queue() {
    while (g_null.count > 0) {
        os_post_wave_done(g_null.queue[g_null.head].buffer_number);
        g_null.head = (g_null.head + 1) % NULL_AUDIO_MAX_BLOCKS;
        g_null.count--;
    }
}

OsAudioOpen open(const OsAudioFormat& fmt) {
    if ((fmt.bits != 8 && fmt.bits != 16) || fmt.channels < 1 || fmt.channels > 8 || fmt.rate < 1 ||
        fmt.rate > 1000000)
        return OsAudioOpen::BadFormat;
    std::lock_guard<std::mutex> hold(g_null.lock);
    g_null.bytes_per_second = fmt.rate * fmt.channels * (fmt.bits / 8);
    g_null.open = true;
    g_null.last_end = Clock::now();
    if (!g_null.running) {
        g_null.running = true;
        g_null.timer = std::thread(timer_loop);
    }
    return OsAudioOpen::Ok;
}

bool write(int buffer_number, const uint8_t*, size_t bytes) {
    std::lock_guard<std::mutex> hold(g_null.lock);
    if (!g_null.open || g_null.count == NULL_AUDIO_MAX_BLOCKS) return false;
    auto now = Clock::now();
    auto start = g_null.last_end > now ? g_null.last_end : now;
    auto length = std::chrono::microseconds(int64_t(bytes) * 1000000 / g_null.bytes_per_second);
    g_null.last_end = start + length;
    g_null.queue[(g_null.head + g_null.count) % NULL_AUDIO_MAX_BLOCKS] = {buffer_number, g_null.last_end};
    g_null.count++;
    g_null.changed.notify_all();
    return true;
}

void reset() {
    std::lock_guard<std::mutex> hold(g_null.lock);
    drop_queue();
    g_null.last_end = Clock::now();
    g_null.changed.notify_all();
}

void close() {
    std::thread timer;
    {
        std::lock_guard<std::mutex> hold(g_null.lock);
        drop_queue();
        g_null.open = false;
        g_null.running = false;
        g_null.changed.notify_all();
        timer = std::move(g_null.timer);
    }
    if (timer.joinable()) timer.join();
}

// Tones are short and only decorate key presses: without a card they are dropped.
void tone(const OsAudioFormat&, const uint8_t*, size_t) {}

const OsAudioDevice device = {"null", open, write, reset, close, tone};
}  // namespace

const OsAudioDevice* null_audio_device() { return &device; }
