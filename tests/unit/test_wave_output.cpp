// The wave output against a recording device in virtual time: what reaches
// the device, in which blocks, when it opens and closes, and how keys stop it.
#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <sstream>

#include "console/sound_log.h"
#include "audio/wave_output.h"
#include "console_test_support.h"
#include "platform/headless/headless.h"
#include "util/latin1.h"
#include "system_support.h"
#include "wave_test_support.h"

namespace {
class WaveOutput : public ::testing::Test {
protected:
    void SetUp() override {
        headless_reset_for_test("");
        console_test_settings("");
        wave_reset();
        wave_recorder() = WaveRecorder{};
        os_set_audio_device_for_tests(wave_recording_device());
    }
    void TearDown() override {
        wave_reset();
        os_set_audio_device_for_tests(nullptr);
    }
    static void wait_end() {
        while (wave_busy()) console_wait_message(100);
    }
    static std::vector<uint8_t> with_last_128(std::vector<uint8_t> v) {
        v.back() = 128;
        return v;
    }
    WaveRecorder& rec = wave_recorder();
};

std::string screen_row(int row) {
    std::string s;
    for (int c = 1; c <= 80; c++) s += char(console_char_at(c, row));
    return s;
}

std::vector<uint8_t> sine16(size_t samples, double period) {
    std::vector<uint8_t> v;
    for (size_t i = 0; i < samples; i++) {
        int16_t s = int16_t(20000 * std::sin(2 * SYS_PI * double(i) / period));
        put16(v, uint16_t(s));
    }
    return v;
}
}  // namespace

TEST_F(WaveOutput, FileInOtherCasesWithAListChunkPlaysToItsEnd) {
    std::vector<uint8_t> data = ramp(1000);
    auto path = write_temp_file("cases.wav",
                                make_wav(11025, 1, 8, {{"LIST", ramp(30)}, {"DATA", data}}, "riff", "FMT "));
    EXPECT_EQ(wave_play_file(path), 0);
    EXPECT_EQ(rec.log, (std::vector<std::string>{"open 11025 8 1", "write 1 1000", "close"}));
    ASSERT_EQ(rec.blocks.size(), 1u);
    EXPECT_EQ(rec.blocks[0], with_last_128(data));
    // It returned when the sound had ended: 1000 samples last 90.7 ms.
    EXPECT_GE(os_ticks_ms(), 90u);
    EXPECT_FALSE(wave_busy());
    EXPECT_FALSE(rec.open);
}

TEST_F(WaveOutput, LongFilesArePlayedInPiecesThroughTheRingInOrder) {
    std::vector<uint8_t> data = ramp(65600);
    EXPECT_EQ(wave_play_file(write_temp_file("a.wav", make_wav(11025, 1, 8, {{"data", data}}))), 0);
    EXPECT_EQ(rec.only("write"), (std::vector<std::string>{"write 1 65278", "write 2 322"}));
    ASSERT_EQ(rec.blocks.size(), 2u);
    EXPECT_EQ(rec.blocks[0], with_last_128({data.begin(), data.begin() + 65278}));
    EXPECT_EQ(rec.blocks[1], with_last_128({data.begin() + 65278, data.end()}));

    // Six full blocks: the ring runs 3, 4, 1, 2, 3, 4 after the two above,
    // never more than four ahead of the sound; full blocks keep their last sample.
    rec = WaveRecorder{};
    data = ramp(6 * 65534);
    EXPECT_EQ(wave_play_file(write_temp_file("b.wav", make_wav(11025, 1, 8, {{"data", data}}))), 0);
    EXPECT_EQ(rec.numbers, (std::vector<int>{3, 4, 1, 2, 3, 4}));
    EXPECT_EQ(rec.blocks[5].back(), data.back());
    // The fifth block could only be written once the first had played (5.94 s).
    EXPECT_GE(rec.times[5], 5944u);
}

TEST_F(WaveOutput, ShortBlocksArePaddedWithSilenceOfTheirFormat) {
    std::vector<uint8_t> data = ramp(100);
    EXPECT_EQ(wave_play_samples(data.data(), 100, 11025, 1, 8), 0);
    ASSERT_EQ(rec.blocks.size(), 1u);
    ASSERT_EQ(rec.blocks[0].size(), 256u);
    EXPECT_TRUE(std::equal(data.begin(), data.begin() + 99, rec.blocks[0].begin()));
    for (size_t i = 99; i < 256; i++) ASSERT_EQ(rec.blocks[0][i], 128) << i;
    wait_end();

    // 16-bit sound is padded with zeros and its last sample is its own.
    rec = WaveRecorder{};
    EXPECT_EQ(wave_play_samples(data.data(), 100, 11025, 1, 16), 0);
    ASSERT_EQ(rec.blocks.size(), 1u);
    ASSERT_EQ(rec.blocks[0].size(), 256u);
    EXPECT_TRUE(std::equal(data.begin(), data.end(), rec.blocks[0].begin()));
    for (size_t i = 100; i < 256; i++) ASSERT_EQ(rec.blocks[0][i], 0) << i;
    wait_end();

    // Nothing is queued for no bytes.
    rec = WaveRecorder{};
    EXPECT_EQ(wave_play_samples(data.data(), 0, 11025, 1, 8), 0);
    EXPECT_TRUE(rec.only("write").empty());
}

TEST_F(WaveOutput, SameFormatKeepsTheDeviceOpenAnotherWaitsAndReopens) {
    auto image = make_wav(11025, 1, 8, {{"data", ramp(22050)}});  // 2 s
    auto same = write_temp_file("same.wav", make_wav(11025, 1, 8, {{"data", ramp(1000)}}));
    auto other = write_temp_file("other.wav", make_wav(22050, 1, 8, {{"data", ramp(1000)}}));

    wave_play_image(image.data(), image.size());
    EXPECT_EQ(wave_play_file(same), 0);
    EXPECT_EQ(rec.log, (std::vector<std::string>{"open 11025 8 1", "write 1 22050", "write 2 1000", "close"}));

    rec = WaveRecorder{};
    uint64_t start = os_ticks_ms();
    wave_play_image(image.data(), image.size());
    EXPECT_EQ(wave_play_file(other), 0);
    EXPECT_EQ(rec.log, (std::vector<std::string>{"open 11025 8 1", "write 3 22050", "close", "open 22050 8 1",
                                                 "write 4 1000", "close"}));
    // The new format opened only after the first sound had played.
    EXPECT_GE(rec.times[3] - start, 2000u);
}

TEST_F(WaveOutput, FastRateRaisesTheRateByHalf) {
    wave_set_speed(true, false);
    auto path = write_temp_file("fast.wav", make_wav(11025, 1, 8, {{"data", ramp(16537)}}));
    EXPECT_EQ(wave_play_file(path), 0);
    EXPECT_EQ(rec.log.front(), "open 16537 8 1");
    // One second of samples at 16537 per second.
    EXPECT_LT(os_ticks_ms(), 1100u);
}

TEST_F(WaveOutput, CompressPlaysMono16BitAs8BitInAboutHalfTheTime) {
    wave_set_speed(false, true);
    std::vector<uint8_t> data = sine16(40000, 110);
    const std::vector<uint8_t> original = data;
    auto path = write_temp_file("c16.wav", make_wav(11025, 1, 16, {{"data", data}}));
    EXPECT_EQ(wave_play_file(path), 0);
    EXPECT_EQ(rec.log.front(), "open 11025 8 1");
    EXPECT_GT(rec.bytes_written(), 40000 * 0.4);
    EXPECT_LT(rec.bytes_written(), 40000 * 0.6);
    // 40000 samples last 3.63 s uncompressed.
    EXPECT_GT(os_ticks_ms(), 1450u);
    EXPECT_LT(os_ticks_ms(), 2180u);
    if (const char* dir = std::getenv("FUGA_WAVE_DUMP_DIR")) {
        std::ofstream out(std::string(dir) + "/compressed_11025_u8.raw", std::ios::binary);
        for (const auto& b : rec.blocks) out.write(reinterpret_cast<const char*>(b.data()), long(b.size()));
    }

    // Under 1000 samples: converted but not shortened; the caller's sound
    // stays as it was.
    rec = WaveRecorder{};
    std::vector<uint8_t> little = sine16(500, 110);
    const std::vector<uint8_t> kept = little;
    EXPECT_EQ(wave_play_samples(little.data(), uint32_t(little.size()), 11025, 1, 16), 0);
    EXPECT_EQ(little, kept);
    ASSERT_EQ(rec.blocks.size(), 1u);
    ASSERT_EQ(rec.blocks[0].size(), 500u);
    for (size_t i = 0; i + 1 < 500; i++) ASSERT_EQ(rec.blocks[0][i], kept[2 * i + 1] ^ 0x80) << i;
    wait_end();
    // Stereo is not compressed.
    rec = WaveRecorder{};
    std::vector<uint8_t> stereo = sine16(4000, 110);
    EXPECT_EQ(wave_play_samples(stereo.data(), uint32_t(stereo.size()), 11025, 2, 16), 0);
    EXPECT_EQ(rec.log.front(), "open 11025 16 2");
    EXPECT_EQ(rec.bytes_written(), stereo.size());
}

TEST_F(WaveOutput, AWaitingKeyStopsSoundAndStaysQueued) {
    console_queue_key('x');
    EXPECT_EQ(wave_play_file("/no/such/file.wav"), 0);  // never opened, else -1
    EXPECT_TRUE(rec.log.empty());
    wave_set_stop_on_key(false);
    EXPECT_EQ(wave_play_file("/no/such/file.wav"), -1);
    wave_set_stop_on_key(true);
    console_discard_keys();

    // A key during playback: reset at the next test, the device closed.
    auto image = make_wav(11025, 1, 8, {{"data", ramp(5 * 11025)}});
    wave_play_image(image.data(), image.size());
    EXPECT_TRUE(wave_busy());
    console_queue_key('x');
    EXPECT_FALSE(wave_busy());
    EXPECT_EQ(rec.log, (std::vector<std::string>{"open 11025 8 1", "write 1 55125", "reset", "close"}));
    EXPECT_TRUE(console_key_waiting());
    EXPECT_LT(os_ticks_ms(), 100u);
}

TEST_F(WaveOutput, ATypedKeyCutsAPlayingFileShort) {
    ASSERT_TRUE(headless_reset_for_test("{wait 500}x"));
    auto path = write_temp_file("long.wav", make_wav(11025, 1, 8, {{"data", ramp(3 * 11025)}}));
    EXPECT_EQ(wave_play_file(path), 0);
    EXPECT_GE(os_ticks_ms(), 500u);
    EXPECT_LT(os_ticks_ms(), 700u);
    EXPECT_EQ(rec.only("reset").size(), 1u);
    EXPECT_EQ(rec.log.back(), "close");
    EXPECT_EQ(console_read_key(), 'x');
}

TEST_F(WaveOutput, BusyTurnsFalseAndTheDeviceClosesAfterTheLastDone) {
    std::vector<uint8_t> data = ramp(150000);
    EXPECT_EQ(wave_play_samples(data.data(), uint32_t(data.size()), 22050, 1, 8), 0);
    EXPECT_EQ(rec.numbers, (std::vector<int>{1, 2, 3}));
    EXPECT_TRUE(wave_busy());
    EXPECT_TRUE(rec.open);
    while (wave_busy()) {
        EXPECT_TRUE(rec.open);
        console_wait_message(100);
    }
    EXPECT_FALSE(rec.open);
    EXPECT_EQ(rec.log.back(), "close");
    // 150000 samples at 22050 per second.
    EXPECT_GE(os_ticks_ms(), 6802u);
    EXPECT_LT(os_ticks_ms(), 6950u);
    // wave_stop on a closed device does nothing more.
    wave_stop();
    EXPECT_EQ(rec.only("close").size(), 1u);
}

TEST_F(WaveOutput, DeviceFailures) {
    // Busy twice, then free: retried 100 ms apart.
    rec.allocated_left = 2;
    auto path = write_temp_file("f.wav", make_wav(11025, 1, 8, {{"data", ramp(500)}}));
    EXPECT_EQ(wave_play_file(path), 0);
    EXPECT_EQ(rec.only("open").size(), 3u);
    EXPECT_EQ(rec.times[2] - rec.times[0], 200u);
    // Busy for good: 100 attempts, then its code.
    rec = WaveRecorder{};
    rec.allocated_left = 1000;
    EXPECT_EQ(wave_play_file(path), WAVE_ERR_ALLOCATED);
    EXPECT_EQ(rec.only("open").size(), 100u);
    // A format no device plays.
    rec = WaveRecorder{};
    auto odd = write_temp_file("odd.wav", make_wav(11025, 1, 12, {{"data", ramp(500)}}));
    EXPECT_EQ(wave_play_file(odd), WAVE_ERR_BADFORMAT);
    std::vector<uint8_t> data = ramp(10);
    EXPECT_EQ(wave_play_samples(data.data(), 10, 11025, 1, 12), WAVE_ERR_BADFORMAT);
    EXPECT_TRUE(rec.only("write").empty());
    // Files that cannot be opened, are not WAV, or end inside their data.
    EXPECT_EQ(wave_play_file("/no/such/file.wav"), -1);
    EXPECT_EQ(wave_play_file(write_temp_file("text.wav", {'h', 'e', 'l', 'l', 'o'})), -1);
    auto truncated = make_wav(11025, 1, 8, {{"data", ramp(1000)}});
    truncated.resize(truncated.size() - 400);
    rec = WaveRecorder{};
    EXPECT_EQ(wave_play_file(write_temp_file("cut.wav", truncated)), -1);
    ASSERT_EQ(rec.blocks.size(), 1u);
    EXPECT_EQ(rec.blocks[0].size(), 600u);
    // An empty data chunk plays nothing and is no failure.
    rec = WaveRecorder{};
    EXPECT_EQ(wave_play_file(write_temp_file("empty.wav", make_wav(11025, 1, 8, {{"data", {}}}))), 0);
    EXPECT_TRUE(rec.log.empty());
}

TEST_F(WaveOutput, ARefusedBlockGivesItsRingPlaceBack) {
    rec.refuse_writes = 1;
    std::vector<uint8_t> data = ramp(3000);
    EXPECT_EQ(wave_play_samples(data.data(), 1000, 11025, 1, 8), 0);
    EXPECT_FALSE(wave_busy());  // nothing waits for a done that never comes
    EXPECT_EQ(wave_play_samples(data.data(), 1000, 11025, 1, 8), 0);
    EXPECT_EQ(wave_play_samples(data.data(), 1000, 11025, 1, 8), 0);
    EXPECT_EQ(rec.only("write"), (std::vector<std::string>{"write 1 1000", "write 1 1000", "write 2 1000"}));
    wait_end();
    EXPECT_EQ(rec.log.back(), "close");
}

TEST_F(WaveOutput, DoneMessagesThatReleaseNothing) {
    std::vector<uint8_t> data = ramp(11025);
    wave_play_samples(data.data(), uint32_t(data.size()), 11025, 1, 8);
    wave_done_hook(0);
    wave_done_hook(5);
    wave_done_hook(-1);
    EXPECT_TRUE(wave_busy());
    // An open device handing back a block it never got: the message, then
    // Enter to go on; the block that is playing still counts.
    console_queue_key(13);
    wave_done_hook(3);
    EXPECT_NE(screen_row(1).find("Specified device handle is invalid."), std::string::npos) << screen_row(1);
    EXPECT_TRUE(wave_busy());
    wait_end();
    // After the close, stray done messages are ignored quietly.
    wave_done_hook(1);
    EXPECT_EQ(screen_row(2).find_first_not_of(' '), std::string::npos);
}

TEST_F(WaveOutput, TheSoundLogNamesFilesAndImages) {
    namespace fs = std::filesystem;
    std::string log = (fs::temp_directory_path() / ("fuga_wave_log_" + std::to_string(::sys_process_id()))).string();
    sys_set_env("FUGA_SOUND_LOG", log);
    sound_log_reset();
    auto path = write_temp_file("QUEFAZER.wav", make_wav(11025, 1, 8, {{"data", ramp(300)}}));
    wave_play_file(path);
    auto image = make_wav(16000, 1, 16, {{"LIST", ramp(4)}, {"data", ramp(640)}});
    wave_play_image(image.data(), image.size());
    std::vector<uint8_t> data = ramp(100);
    wave_play_samples(data.data(), 100, 22050, 2, 16);
    wave_play_file("/no/such/file.wav");
    wait_end();
    sys_unset_env("FUGA_SOUND_LOG");
    sound_log_reset();
    std::ifstream in(log);
    std::stringstream text;
    text << in.rdbuf();
    in.close();
    EXPECT_EQ(text.str(), "file QUEFAZER.wav\nimage 640 16000 16 1\nimage 100 22050 16 2\n");
    fs::remove(log);
}

TEST_F(WaveOutput, WithoutASoundCardTheNullDeviceKeepsRealTimeAndSaysSoOnce) {
    rec.forced = OsAudioOpen::NoDevice;
    // The device is lost while the game writes a line: the notice goes on a
    // line of its own.
    console_write_text(latin1("Não sei o que é XYZZY"));
    auto path = write_temp_file("null.wav", make_wav(11025, 1, 8, {{"data", ramp(2205)}}));  // 200 ms
    auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(wave_play_file(path), 0);
    auto took = std::chrono::steady_clock::now() - start;
    EXPECT_GE(took, std::chrono::milliseconds(190));
    EXPECT_LT(took, std::chrono::milliseconds(1500));
    EXPECT_EQ(screen_row(1).find_last_not_of(' '), latin1("Não sei o que é XYZZY").size() - 1) << screen_row(1);
    EXPECT_EQ(screen_row(2).find("Sem dispositivo de som"), 0u) << screen_row(2);
    // Playing again says nothing more.
    EXPECT_EQ(wave_play_file(path), 0);
    EXPECT_EQ(screen_row(3).find_first_not_of(' '), std::string::npos) << screen_row(3);
}

TEST_F(WaveOutput, AFailedCardIsTriedAgainAtASoundAtMostOnceASecond) {
    // Each sound is queued and stopped at once: the null device keeps real
    // time, and waiting for its end would move the virtual clock by as much
    // as the waits that poll it.
    std::vector<uint8_t> data = ramp(1102);
    auto play = [&] {
        EXPECT_EQ(wave_play_samples(data.data(), uint32_t(data.size()), 11025, 1, 8), 0);
        wave_stop();
        return rec.only("open ").size();
    };
    rec.forced = OsAudioOpen::NoDevice;
    size_t tries = play();
    EXPECT_EQ(tries, 1u);
    // Still lost: asked again only once a second has passed since it failed.
    console_delay(600);
    EXPECT_EQ(play(), tries);
    console_delay(500);
    EXPECT_EQ(play(), tries + 1);
    EXPECT_EQ(play(), tries + 1);
    // Back, but the last try was half a second ago.
    rec.forced = OsAudioOpen::Ok;
    console_delay(500);
    EXPECT_EQ(play(), tries + 1);
    EXPECT_TRUE(rec.blocks.empty());
    console_delay(600);
    EXPECT_EQ(play(), tries + 2);
    EXPECT_EQ(rec.blocks.size(), 1u);
    // From then on every sound goes to the card, and the loss was said once.
    EXPECT_EQ(play(), tries + 3);
    EXPECT_EQ(screen_row(1).find("Sem dispositivo de som"), 0u) << screen_row(1);
    EXPECT_EQ(screen_row(2).find_first_not_of(' '), std::string::npos) << screen_row(2);
    // A later loss is news again.
    rec.forced = OsAudioOpen::NoDevice;
    play();
    EXPECT_EQ(screen_row(2).find("Sem dispositivo de som"), 0u) << screen_row(2);
}
