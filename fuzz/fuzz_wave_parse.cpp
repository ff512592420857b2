// Arbitrary bytes as a WAV file and as a WAV image: the parsers must stay
// inside their buffers and end, and the compressor must survive any samples.
#include <cstdint>
#include <cstring>
#include <vector>

#include "audio/wave_output.h"
#include "util/wave_format.h"

namespace {
struct MemorySource {
    const uint8_t* data;
    size_t size;
    size_t pos;
};
size_t mem_read(void* c, uint8_t* into, size_t n) {
    auto* m = static_cast<MemorySource*>(c);
    size_t left = m->pos < m->size ? m->size - m->pos : 0;
    if (n > left) n = left;
    if (n) std::memcpy(into, m->data + m->pos, n);
    m->pos += n;
    return n;
}
bool mem_skip(void* c, uint32_t n) {
    auto* m = static_cast<MemorySource*>(c);
    m->pos += n;
    return true;
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // An exact-size copy, so a read past the end is caught.
    std::vector<uint8_t> image(data, data + size);
    WaveImageView view;
    if (wave_parse_image(image.data(), image.size(), view)) {
        std::vector<uint8_t> samples(view.samples, view.samples + view.bytes);
        if (samples.size() > WAVE_MAX_BLOCK) samples.resize(WAVE_MAX_BLOCK);
        wave_time_compress(samples.data(), samples.size(), view.format.bits, view.format.rate);
    }

    static uint8_t small_buffer[64];
    static uint8_t file_buffer[WAVE_MAX_BLOCK];
    for (int pass = 0; pass < 2; pass++) {
        MemorySource m{image.data(), image.size(), 0};
        WaveFileHeader header;
        uint8_t* buffer = pass ? small_buffer : file_buffer;
        size_t capacity = pass ? sizeof small_buffer : sizeof file_buffer;
        if (!wave_parse_file_header({&m, mem_read, mem_skip}, buffer, capacity, header)) continue;
        uint32_t remaining = header.data_bytes > 0 ? uint32_t(header.data_bytes) : 0;
        while (remaining > 0) {
            uint32_t piece = wave_file_piece(remaining);
            if (piece == 0 || piece > WAVE_MAX_BLOCK) __builtin_trap();
            size_t got = mem_read(&m, file_buffer, piece);
            if (got == 0) break;
            remaining -= uint32_t(got);
        }
    }
    return 0;
}
