// Time compression: 16-bit to 8-bit, and every second pitch period dropped.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <vector>

#include "audio/wave_output.h"
#include "system_support.h"

namespace {
std::vector<uint8_t> tone8(size_t n, double period) {
    std::vector<uint8_t> v(n);
    for (size_t i = 0; i < n; i++) v[i] = uint8_t(128 + 100 * std::sin(2 * SYS_PI * double(i) / period));
    return v;
}
}  // namespace

TEST(WaveCompress, SixteenBitBecomesEightBitAndShortBlocksKeepTheirLength) {
    std::vector<uint8_t> b;
    const int16_t samples[] = {0, 0x1234, -1, -32768, 32767};
    for (int16_t s : samples) {
        b.push_back(uint8_t(s & 0xFF));
        b.push_back(uint8_t((s >> 8) & 0xFF));
    }
    b.push_back(0x55);  // an odd byte is no sample
    size_t n = wave_time_compress(b.data(), b.size(), 16, 11025);
    ASSERT_EQ(n, 5u);
    EXPECT_EQ(b[0], 0x80);
    EXPECT_EQ(b[1], 0x92);
    EXPECT_EQ(b[2], 0x7F);
    EXPECT_EQ(b[3], 0x00);
    EXPECT_EQ(b[4], 0xFF);

    // 999 samples of 16-bit sound: converted, not shortened.
    std::vector<uint8_t> wide(999 * 2, 0);
    for (size_t i = 0; i < 999; i++) wide[2 * i + 1] = uint8_t(i);
    EXPECT_EQ(wave_time_compress(wide.data(), wide.size(), 16, 11025), 999u);
    EXPECT_EQ(wide[998], uint8_t(998 % 256) ^ 0x80);
    // 999 8-bit samples are left alone.
    std::vector<uint8_t> narrow = tone8(999, 110);
    std::vector<uint8_t> copy = narrow;
    EXPECT_EQ(wave_time_compress(narrow.data(), narrow.size(), 8, 11025), 999u);
    EXPECT_EQ(narrow, copy);
}

TEST(WaveCompress, PeriodicSoundPlaysInAboutHalfTheTime) {
    struct Case {
        int rate;
        double period;
    };
    for (Case c : {Case{11025, 110}, Case{16000, 400}, Case{22050, 330}}) {
        std::vector<uint8_t> v = tone8(40000, c.period);
        size_t n = wave_time_compress(v.data(), v.size(), 8, c.rate);
        EXPECT_GT(n, 40000 * 0.40) << c.rate;
        EXPECT_LT(n, 40000 * 0.60) << c.rate;
        // Kept periods join peak to peak: no sample jumps more than one step
        // of the sine would.
        double step = 2 * SYS_PI * 100 / c.period + 2;
        for (size_t i = 1; i < n; i++) ASSERT_LE(std::abs(int(v[i]) - int(v[i - 1])), int(step)) << c.rate << " " << i;
    }
    // 16-bit input at 11025: half the bytes from the conversion, then half the time.
    std::vector<uint8_t> wide(2 * 40000);
    for (size_t i = 0; i < 40000; i++) {
        int16_t s = int16_t(20000 * std::sin(2 * SYS_PI * double(i) / 110));
        wide[2 * i] = uint8_t(s & 0xFF);
        wide[2 * i + 1] = uint8_t((s >> 8) & 0xFF);
    }
    size_t n = wave_time_compress(wide.data(), wide.size(), 16, 11025);
    EXPECT_GT(n, 40000 * 0.40);
    EXPECT_LT(n, 40000 * 0.60);
}

TEST(WaveCompress, DegenerateSoundEndsAndStaysInItsBlock) {
    // All bytes 0: no peak anywhere; the passes must still end.
    std::vector<uint8_t> zeros(5000, 0);
    EXPECT_LE(wave_time_compress(zeros.data(), zeros.size(), 8, 11025), 5000u);
    // Noise and lengths around the other rate's search reach (1320 bytes).
    std::srand(7);
    for (size_t len : {1000u, 1001u, 1100u, 1319u, 1320u, 1321u, 2081u, 65534u}) {
        for (int rate : {11025, 16000}) {
            std::vector<uint8_t> v(len);
            for (auto& b : v) b = uint8_t(std::rand());
            size_t n = wave_time_compress(v.data(), v.size(), 8, rate);
            EXPECT_LE(n, len);
        }
    }
    // The rate's low 16 bits choose the constants: 11025 + 65536 acts as 11025.
    std::vector<uint8_t> a = tone8(20000, 110), b = a;
    EXPECT_EQ(wave_time_compress(a.data(), a.size(), 8, 11025),
              wave_time_compress(b.data(), b.size(), 8, 11025 + 65536));
}
