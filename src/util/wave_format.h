// The system's sound formats: RIFF/WAVE files and images (the format chunk and
// the first data chunk, identifiers compared without regard to case), the
// canonical 44-byte header, and the unit database's index record.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>

struct WaveFormat {
    int32_t rate = 0;
    uint16_t channels = 0;
    uint16_t bits = 0;
};

// A WAV image: the samples of its first data chunk, clipped to the image.
struct WaveImageView {
    WaveFormat format;
    const uint8_t* samples = nullptr;
    size_t bytes = 0;
};

// Accepts an image that starts with "RIFF" and has "fmt " at offset 12 and a
// format body of at least 16 bytes; chunks other than "data" are skipped by
// their size. False when the header is not accepted or no data chunk lies
// within `size` bytes. A data chunk that claims more than the image holds is
// cut at the image's end.
bool wave_parse_image(const uint8_t* image, size_t size, WaveImageView& out);

// A sequential byte source for a WAV file: read returns the bytes it got
// (fewer at the end), skip moves forward without reading (false on failure).
struct WaveSource {
    void* context = nullptr;
    size_t (*read)(void* context, uint8_t* into, size_t bytes) = nullptr;
    bool (*skip)(void* context, uint32_t bytes) = nullptr;
};

struct WaveFileHeader {
    WaveFormat format;
    int32_t data_bytes = 0;  // as the data chunk states it; 0 or less: nothing to play
};

// Reads the header of a file up to and including the data chunk's size, using
// `buffer` (at least 16 bytes) for chunk bodies; bodies larger than the buffer
// are skipped. False for a header that is not accepted or comes up short. On
// success the source stands at the first sample.
bool wave_parse_file_header(const WaveSource& src, uint8_t* buffer, size_t capacity,
                            WaveFileHeader& out);

// Size of the next piece of a file's data still to read: the remainder, at
// most 65534 bytes, but 65278 when the remainder lies strictly between 65534
// and 65790, so that the last piece is never shorter than 256 bytes.
uint32_t wave_file_piece(uint32_t remaining);

// A source over an open file: reads with fread, skips with fseek.
WaveSource wave_file_source(FILE* f);

// Bytes of the canonical header that wave_make_header writes.
constexpr size_t WAVE_HEADER_BYTES = 44;

// Writes the canonical header for `data_bytes` bytes of PCM into
// header[0..43]: one format chunk of 16 bytes, then the data chunk's head.
void wave_make_header(uint8_t* header, uint32_t data_bytes, uint32_t rate, uint16_t channels, uint16_t bits);

// One record of a unit database's index (the .IND file), in name order: the
// name's length, the name blank-padded to 8 bytes, the sound's length
// (16 bits) and its offset in the data file (32 bits), little-endian.
constexpr size_t WAVE_UNIT_RECORD_BYTES = 15;
constexpr size_t WAVE_UNIT_MAX_NAME = 8;

struct WaveUnitRecord {
    const char* name = nullptr;  // not terminated; points into the record
    size_t name_length = 0;      // at most WAVE_UNIT_MAX_NAME, whatever the record claims
    uint16_t length = 0;
    uint32_t offset = 0;
};

// Writes a record; a name longer than WAVE_UNIT_MAX_NAME is cut.
void wave_unit_record_write(uint8_t* record, const char* name, size_t name_length, uint16_t length,
                            uint32_t offset);
WaveUnitRecord wave_unit_record_read(const uint8_t* record);
