// Building WAV headers for assembled sound and playing such images to their end.
#include "speech/wave_image.h"


namespace {

void put_le(uint8_t* p, uint32_t v, int bytes) {
    for (int i = 0; i < bytes; ++i) p[i] = static_cast<uint8_t>(v >> (8 * i));
}

void put_id(uint8_t* p, const char* id) {
    for (int i = 0; i < 4; ++i) p[i] = static_cast<uint8_t>(id[i]);
}

}  // namespace

void speech_make_wave_header(uint8_t* image, uint32_t data_bytes, uint32_t rate, uint16_t channels,
                             uint16_t bits) {
    put_id(image, "RIFF");
    put_le(image + 4, data_bytes + 36, 4);
    put_id(image + 8, "WAVE");
    put_id(image + 12, "fmt ");
    put_le(image + 16, 16, 4);
    put_le(image + 20, 1, 2);
    put_le(image + 22, channels, 2);
    put_le(image + 24, rate, 4);
    put_le(image + 28, rate * channels * (bits / 8), 4);
    put_le(image + 32, 1, 2);
    put_le(image + 34, bits, 2);
    put_id(image + 36, "data");
    put_le(image + 40, data_bytes, 4);
}
