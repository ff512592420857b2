// The synthesis loop: MBROLA lines to MBROLA, its samples to a file or, in
// play images, to the wave output.
#include "verna/synthesis.h"

#include <cstring>

#include "audio/wave_output.h"
#include "console/key_cut.h"
#include "util/wave_format.h"
#include "verna/mbrola.h"

namespace {

// The wave output plays queued images from our memory, so an image is not
// refilled until it has played: one more image than the output queues.
constexpr int VERNA_PLAY_IMAGES = WAVE_MAX_BUFFERS + 1;

struct SynthesisState {
    short read_buffer[VERNA_READ_SAMPLES];
    uint8_t images[VERNA_PLAY_IMAGES][WAVE_HEADER_BYTES + VERNA_PLAY_DATA_BYTES];
    int image = 0;      // the image being filled
    int collected = 0;  // bytes of samples in it
    uint64_t delivered = 0;
};
SynthesisState g_synth;

void queue_image(uint32_t rate) {
    uint8_t* image = g_synth.images[g_synth.image];
    verna_wave_header(image, uint32_t(g_synth.collected), rate);
    // The engine's sound plays as MBROLA made it, whatever the voice's speed settings.
    wave_play_image(image, WAVE_HEADER_BYTES + size_t(g_synth.collected), WAVE_KEEP_RATE | WAVE_KEEP_LENGTH);
    g_synth.image = (g_synth.image + 1) % VERNA_PLAY_IMAGES;
    g_synth.collected = 0;
}

// One read; 0 also when it failed, which then counts as an error of the text.
int read_bytes(bool& result) {
    const MbrolaApi& m = mbrola();
    int n = m.read(g_synth.read_buffer, VERNA_READ_SAMPLES);
    if (n < 0 || n > VERNA_READ_SAMPLES) n = 0;
    if (n == 0 && m.last_error() != 0) {
        m.reset();
        result = false;
    }
    return n * 2;
}

}  // namespace

void verna_wave_header(uint8_t* image, uint32_t data_length, uint32_t rate) {
    wave_make_header(image, data_length, rate, 1, 16);
}

bool verna_synthesise(const std::vector<std::string>& lines, FILE* file) {
    const MbrolaApi& m = mbrola();
    int rate = m.get_freq ? m.get_freq() : VERNA_SAMPLE_RATE;
    if (rate <= 0) rate = VERNA_SAMPLE_RATE;
    m.reset();
    g_synth.collected = 0;
    g_synth.delivered = 0;
    bool result = true;
    for (size_t i = 0; i < lines.size(); ++i) {
        bool last = i + 1 == lines.size();
        if (lines[i].empty() && !last) continue;
        // A key waiting cuts the sound at once (the wave output drops what
        // is queued); the rest of the text would only be made to be dropped.
        if (!file && key_cut_should_stop()) {
            m.reset();
            g_synth.collected = 0;
            break;
        }
        std::string line = lines[i] + "\r\n";
        m.write(line.c_str());
        if (m.last_error() != 0) {
            m.reset();
            result = false;
        }
        if (last) m.flush();
        int n = read_bytes(result);
        while (n > 0) {
            g_synth.delivered += uint64_t(n);
            if (file) {
                if (std::fwrite(g_synth.read_buffer, 1, size_t(n), file) != size_t(n)) result = false;
            } else {
                // A read that alone reaches the threshold queues no empty piece.
                if (g_synth.collected > 0 && g_synth.collected + n >= VERNA_PLAY_THRESHOLD)
                    queue_image(uint32_t(rate));
                std::memcpy(g_synth.images[g_synth.image] + WAVE_HEADER_BYTES + g_synth.collected, g_synth.read_buffer,
                            size_t(n));
                g_synth.collected += n;
            }
            n = read_bytes(result);
        }
    }
    if (file && std::fflush(file) != 0) result = false;
    if (!file && g_synth.collected > 0) {
        if (g_synth.collected < VERNA_MIN_PLAY_BYTES) {
            std::memset(g_synth.images[g_synth.image] + WAVE_HEADER_BYTES + g_synth.collected, 0,
                        size_t(VERNA_MIN_PLAY_BYTES - g_synth.collected));
            g_synth.collected = VERNA_MIN_PLAY_BYTES;
        }
        queue_image(uint32_t(rate));
    }
    return result;
}

uint64_t verna_synthesised_bytes() { return g_synth.delivered; }

void verna_synthesis_reset() {
    g_synth.image = 0;
    g_synth.collected = 0;
    g_synth.delivered = 0;
}
