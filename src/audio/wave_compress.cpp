// Time compression of mono sound: 16-bit to 8-bit, then every second pitch
// period dropped, so speech plays in about half the time at the same pitch.
#include <cstdlib>
#include <cstring>

#include "audio/wave_output.h"

namespace {
struct PeakSearch {
    const uint8_t* block;
    size_t bytes;
    size_t last;  // what a search over bytes that never exceed 0 yields
};

// Position of the first maximum of block[from..to] (both included, clipped to
// the block). A range of zero bytes yields the previous search's position.
size_t first_maximum(PeakSearch& s, size_t from, size_t to) {
    if (to >= s.bytes) to = s.bytes - 1;
    unsigned best = 0;
    for (size_t j = from; j <= to; j++) {
        if (s.block[j] > best) {
            best = s.block[j];
            s.last = j;
        }
    }
    return s.last;
}
}  // namespace

size_t wave_time_compress(uint8_t* block, size_t n, int bits, int32_t rate) {
    if (bits == 16) {
        n /= 2;
        for (size_t i = 0; i < n; i++) block[i] = block[2 * i + 1] ^ 0x80;
    }
    if (n < 1000) return n;
    bool low_rate = (uint32_t(rate) & 0xFFFF) == 11025;
    const size_t start = low_rate ? 200 : 800;
    const size_t shortest = low_rate ? 80 : 320;
    const size_t width = low_rate ? 50 : 200;

    PeakSearch s{block, n, start};
    size_t read = first_maximum(s, start, start + shortest + width);
    size_t write = read;
    const size_t reach = 2 * (shortest + width);
    // A pass reads at most `reach` bytes ahead of `read`, so the bound keeps
    // both searches inside the block.
    while (n > reach && read < n - reach) {
        size_t h = first_maximum(s, read + shortest, read + shortest + width);
        size_t q = first_maximum(s, h + shortest, h + shortest + width);
        // Over bytes that never rise above 0 the searches stand still.
        if (q <= read) break;
        size_t kept = q - h + 1;
        std::memmove(block + write, block + h, kept);
        write += kept;
        read = q;
    }
    // The tail runs on while the sample still at the writing position (not
    // the one copied there) lies away from the midpoint.
    while (read < n && write < n && std::abs(int(block[write]) - 128) > 20) block[write++] = block[read++];
    return write;
}
