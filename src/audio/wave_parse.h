// Reading the RIFF layout of WAV files and WAV images: the format chunk and
// the first data chunk, with identifiers compared without regard to case.
#pragma once

#include <cstddef>
#include <cstdint>

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
