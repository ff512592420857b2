// RIFF/WAVE reading and writing, and the unit index record.
#include "util/wave_format.h"

#include <cstring>

namespace {
constexpr size_t WAVE_FORMAT_MIN_BODY = 16;

uint32_t le32(const uint8_t* p) {
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}
uint16_t le16(const uint8_t* p) { return uint16_t(p[0] | p[1] << 8); }

void put_le(uint8_t* p, uint32_t v, int bytes) {
    for (int i = 0; i < bytes; ++i) p[i] = static_cast<uint8_t>(v >> (8 * i));
}

void put_id(uint8_t* p, const char* id) { std::memcpy(p, id, 4); }

size_t file_read(void* f, uint8_t* into, size_t bytes) { return std::fread(into, 1, bytes, static_cast<FILE*>(f)); }

bool file_skip(void* f, uint32_t bytes) { return std::fseek(static_cast<FILE*>(f), long(bytes), SEEK_CUR) == 0; }

bool same_id(const uint8_t* p, const char* id) {
    for (int i = 0; i < 4; i++) {
        unsigned char a = p[i], b = static_cast<unsigned char>(id[i]);
        if (a >= 'A' && a <= 'Z') a = static_cast<unsigned char>(a + 32);
        if (b >= 'A' && b <= 'Z') b = static_cast<unsigned char>(b + 32);
        if (a != b) return false;
    }
    return true;
}

WaveFormat format_of(const uint8_t* body) {
    WaveFormat f;
    f.channels = le16(body + 2);
    f.rate = static_cast<int32_t>(le32(body + 4));
    f.bits = le16(body + 14);
    return f;
}
}  // namespace

bool wave_parse_image(const uint8_t* image, size_t size, WaveImageView& out) {
    if (!image || size < 20) return false;
    if (!same_id(image, "RIFF") || !same_id(image + 12, "fmt ")) return false;
    uint32_t body = le32(image + 16);
    if (body < WAVE_FORMAT_MIN_BODY || body > size - 20) return false;
    WaveFormat format = format_of(image + 20);
    size_t pos = 20 + size_t(body);
    // Each step moves at least 8 bytes forward, so the walk ends within size/8 steps.
    while (size - pos >= 8) {
        uint32_t chunk = le32(image + pos + 4);
        size_t left = size - pos - 8;
        if (same_id(image + pos, "data")) {
            out.format = format;
            out.samples = image + pos + 8;
            out.bytes = chunk < left ? chunk : left;
            return true;
        }
        if (chunk > left) return false;
        pos += 8 + size_t(chunk);
    }
    return false;
}

bool wave_parse_file_header(const WaveSource& src, uint8_t* buffer, size_t capacity,
                            WaveFileHeader& out) {
    if (capacity < WAVE_FORMAT_MIN_BODY) return false;
    uint8_t head[12];
    if (src.read(src.context, head, 12) != 12 || !same_id(head, "RIFF")) return false;
    if (src.read(src.context, head, 8) != 8 || !same_id(head, "fmt ")) return false;
    uint32_t body = le32(head + 4);
    if (body < WAVE_FORMAT_MIN_BODY) return false;
    size_t first = body < capacity ? body : capacity;
    if (src.read(src.context, buffer, first) != first) return false;
    if (body > first && !src.skip(src.context, uint32_t(body - first))) return false;
    WaveFormat format = format_of(buffer);
    for (;;) {
        if (src.read(src.context, head, 8) != 8) return false;
        uint32_t chunk = le32(head + 4);
        if (same_id(head, "data")) {
            out.format = format;
            out.data_bytes = static_cast<int32_t>(chunk);
            return true;
        }
        if (chunk <= capacity) {
            if (src.read(src.context, buffer, chunk) != chunk) return false;
        } else if (!src.skip(src.context, chunk)) {
            return false;
        }
    }
}

uint32_t wave_file_piece(uint32_t remaining) {
    if (remaining > 65534 && remaining < 65790) return 65278;
    return remaining < 65534 ? remaining : 65534;
}

WaveSource wave_file_source(FILE* f) { return WaveSource{f, file_read, file_skip}; }

void wave_make_header(uint8_t* header, uint32_t data_bytes, uint32_t rate, uint16_t channels, uint16_t bits) {
    uint32_t frame = uint32_t(channels) * (bits / 8);
    if (frame == 0) frame = 1;
    put_id(header, "RIFF");
    put_le(header + 4, data_bytes + 36, 4);
    put_id(header + 8, "WAVE");
    put_id(header + 12, "fmt ");
    put_le(header + 16, 16, 4);
    put_le(header + 20, 1, 2);  // PCM
    put_le(header + 22, channels, 2);
    put_le(header + 24, rate, 4);
    put_le(header + 28, rate * frame, 4);
    put_le(header + 32, frame, 2);
    put_le(header + 34, bits, 2);
    put_id(header + 36, "data");
    put_le(header + 40, data_bytes, 4);
}

void wave_unit_record_write(uint8_t* record, const char* name, size_t name_length, uint16_t length,
                            uint32_t offset) {
    if (name_length > WAVE_UNIT_MAX_NAME) name_length = WAVE_UNIT_MAX_NAME;
    record[0] = static_cast<uint8_t>(name_length);
    for (size_t i = 0; i < WAVE_UNIT_MAX_NAME; ++i) record[1 + i] = i < name_length ? uint8_t(name[i]) : ' ';
    put_le(record + 9, length, 2);
    put_le(record + 11, offset, 4);
}

WaveUnitRecord wave_unit_record_read(const uint8_t* record) {
    WaveUnitRecord r;
    r.name = reinterpret_cast<const char*>(record + 1);
    r.name_length = record[0] < WAVE_UNIT_MAX_NAME ? record[0] : WAVE_UNIT_MAX_NAME;
    r.length = le16(record + 9);
    r.offset = le32(record + 11);
    return r;
}
