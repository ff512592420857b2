// The headless sound device: blocks "play" back to back in virtual time and
// each reports its end as a WaveDone event at the instant it would finish.
#include <mutex>

#include "platform/backend.h"
#include "platform/headless/scheduler.h"

namespace {
struct HeadlessAudio {
    bool open = false;
    OsAudioFormat format;
    // The blocks written since the device last fell idle form one stream;
    // end times come from its total length so rounding never accumulates.
    uint64_t stream_start_us = 0;
    uint64_t stream_bytes = 0;
    uint64_t stream_end_us = 0;
};

struct AudioState {
    std::mutex lock;
    HeadlessAudio a;
} g;

bool valid_format(const OsAudioFormat& f) {
    return f.rate >= 1000 && f.rate <= 200000 && (f.bits == 8 || f.bits == 16) && (f.channels == 1 || f.channels == 2);
}

OsAudioOpen open(const OsAudioFormat& fmt) {
    if (!valid_format(fmt)) return OsAudioOpen::BadFormat;
    std::lock_guard<std::mutex> lk(g.lock);
    g.a.open = true;
    g.a.format = fmt;
    return OsAudioOpen::Ok;
}

bool write(int buffer_number, const uint8_t*, size_t bytes) {
    std::lock_guard<std::mutex> lk(g.lock);
    if (!g.a.open) return false;
    uint64_t now = headless_now_us();
    if (now >= g.a.stream_end_us) {
        g.a.stream_start_us = now;
        g.a.stream_bytes = 0;
    }
    uint64_t per_second = static_cast<uint64_t>(g.a.format.rate) * (g.a.format.bits / 8) * g.a.format.channels;
    uint64_t total = g.a.stream_bytes + bytes;
    uint64_t end = g.a.stream_start_us + (total * 1000000 + per_second - 1) / per_second;
    OsEvent ev;
    ev.type = OsEventType::WaveDone;
    ev.param = buffer_number;
    if (!headless_schedule(end, ev, HEADLESS_TAG_SOUND)) return false;
    g.a.stream_bytes = total;
    g.a.stream_end_us = end;
    return true;
}

void reset() {
    std::lock_guard<std::mutex> lk(g.lock);
    headless_flush_scheduled(HEADLESS_TAG_SOUND);
    g.a.stream_end_us = g.a.stream_start_us = headless_now_us();
    g.a.stream_bytes = 0;
}

void close() {
    std::lock_guard<std::mutex> lk(g.lock);
    // A closed device reports nothing more, like a released handle.
    headless_drop_scheduled(HEADLESS_TAG_SOUND);
    g.a = HeadlessAudio{};
}

// The tone's own module writes its log line; there is nothing to hear.
void play_tone(const OsAudioFormat&, const uint8_t*, size_t) {}

const OsAudioDevice device = {"headless", open, write, reset, close, play_tone};
}  // namespace

const OsAudioDevice* headless_audio_device() { return &device; }

void headless_audio_reset() {
    std::lock_guard<std::mutex> lk(g.lock);
    g.a = HeadlessAudio{};
}
