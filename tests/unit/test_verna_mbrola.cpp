// The MBROLA binding and the synthesis loop: binding from a library and from
// the `mbrola` program, the loop's pieces, padding, file output, errors and
// the wave settings, and the program binding's exactness with a real voice.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include "audio/wave_output.h"
#include "console_test_support.h"
#include "mbrola_voice.h"
#include "platform/headless/headless.h"
#include "platform/os.h"
#include "verna/mbrola.h"
#include "verna/mbrola_pipe.h"
#include "util/wave_format.h"
#include "verna/synthesis.h"
#include "system_support.h"
#include "wave_test_support.h"

namespace {


void configure_fake(int rate, int chunk) {
    void* lib = os_library_open(TEST_MBROLA_LIBRARY);
    auto configure = reinterpret_cast<void (*)(int, int)>(os_library_symbol(lib, "test_mbrola_configure"));
    ASSERT_NE(configure, nullptr);
    configure(rate, chunk);
    os_library_close(lib);
}

int fake_resets() {
    void* lib = os_library_open(TEST_MBROLA_LIBRARY);
    auto resets = reinterpret_cast<int (*)()>(os_library_symbol(lib, "test_mbrola_resets"));
    int n = resets ? resets() : -1;
    os_library_close(lib);
    return n;
}

class VernaSynthesis : public ::testing::Test {
protected:
    void SetUp() override {
        headless_reset_for_test("");
        console_test_settings("");
        wave_reset();
        wave_recorder() = WaveRecorder{};
        os_set_audio_device_for_tests(wave_recording_device());
        mbrola_reset();
        verna_synthesis_reset();
        mbrola_set_library(TEST_MBROLA_LIBRARY);
        ASSERT_TRUE(mbrola_bind());
        configure_fake(16000, 16000);
    }
    void TearDown() override {
        mbrola_reset();
        wave_reset();
        os_set_audio_device_for_tests(nullptr);
    }
    std::vector<std::string> writes() const { return wave_recorder().only("write"); }
    // The sizes of the blocks that reached the device.
    std::vector<size_t> block_sizes() const {
        std::vector<size_t> v;
        for (const auto& b : wave_recorder().blocks) v.push_back(b.size());
        return v;
    }
    static void wait_end() {
        while (wave_busy()) console_wait_message(100);
    }
};

}  // namespace

TEST(MbrolaBind, LibraryNeedsEveryEntryPointAndTheProgramStandsInForTheDefault) {
    mbrola_reset();
    mbrola_set_library(TEST_MBROLA_INCOMPLETE_LIBRARY);
    EXPECT_FALSE(mbrola_bind()) << "appendf0_Phone is missing, though never called";
    EXPECT_FALSE(mbrola_bound());
    mbrola_set_library("/nonexistent/libmbrola.so");
    EXPECT_FALSE(mbrola_bind()) << "a library named explicitly has no stand-in";
    mbrola_set_library(TEST_MBROLA_LIBRARY);
    ASSERT_TRUE(mbrola_bind());
    EXPECT_FALSE(mbrola_builtin());
    EXPECT_EQ(mbrola().init("voice"), 0);
    EXPECT_LT(mbrola().init("missing-voice"), 0);
    mbrola_unbind();
    EXPECT_FALSE(mbrola_bound());

    mbrola_set_library("");
    if (!os_find_program("mbrola").empty()) {
        ASSERT_TRUE(mbrola_bind());
        EXPECT_TRUE(mbrola_builtin());
    }
    mbrola_reset();
}

TEST_F(VernaSynthesis, PiecesAreQueuedFromSixteenThousandBytesAndABigReadFillsTheImage) {
    // 500 ms make one read of 8000 samples (16000 bytes), 1000 ms one of 16000.
    EXPECT_TRUE(verna_synthesise({"_ 500", "a 1000", "_ 100"}, nullptr));
    // 16000 collected, then the 32000 new bytes: the first piece goes, the
    // second fills the image; the last 100 ms (3200 bytes) go at the end.
    EXPECT_EQ(block_sizes(), (std::vector<size_t>{16000, 32000, 3200}));
    EXPECT_EQ(verna_synthesised_bytes(), 51200u);
    wait_end();
    // A read that alone reaches the threshold with nothing collected queues no empty piece.
    wave_recorder() = WaveRecorder{};
    EXPECT_TRUE(verna_synthesise({"a 1000"}, nullptr));
    EXPECT_EQ(block_sizes(), (std::vector<size_t>{32000}));
}

TEST_F(VernaSynthesis, ShortSoundIsPaddedToTwoHundredFiftySixBytesOfSilence) {
    // 3 ms: 48 samples, 96 bytes.
    EXPECT_TRUE(verna_synthesise({";word", "a 3", ""}, nullptr));
    ASSERT_EQ(block_sizes(), (std::vector<size_t>{256}));
    const std::vector<uint8_t>& b = wave_recorder().blocks[0];
    EXPECT_EQ(b[0], 1);  // the fake's first sample
    for (size_t i = 96; i < 256; ++i) ASSERT_EQ(b[i], 0) << i;
    EXPECT_EQ(wave_recorder().only("open"), (std::vector<std::string>{"open 16000 16 1"}));
}

TEST_F(VernaSynthesis, SmallReadsCollectAndTheVoiceRateReachesTheHeader) {
    configure_fake(22050, 1000);
    std::vector<std::string> lines;
    for (int i = 0; i < 10; ++i) lines.push_back("a 100");  // 2205 samples each
    EXPECT_TRUE(verna_synthesise(lines, nullptr));
    // Reads of 2000 bytes collect until the next would reach 16000 bytes.
    size_t total = 0;
    for (size_t n : block_sizes()) {
        total += n;
        EXPECT_LT(n, size_t(VERNA_PLAY_THRESHOLD));
    }
    EXPECT_EQ(total, 10u * 2205 * 2);
    EXPECT_EQ(wave_recorder().only("open"), (std::vector<std::string>{"open 22050 16 1"}));
}

TEST_F(VernaSynthesis, SpeedSettingsDoNotTouchTheEnginesSoundAndStayInForce) {
    wave_set_speed(true, true);
    for (bool stop_on_key : {false, true}) {
        wave_set_stop_on_key(stop_on_key);
        EXPECT_TRUE(verna_synthesise({"a 10"}, nullptr));
        EXPECT_EQ(wave_stops_on_key(), stop_on_key);
        wait_end();
    }
    wave_set_stop_on_key(false);
    wave_recorder() = WaveRecorder{};
    EXPECT_TRUE(verna_synthesise({"a 100"}, nullptr));
    // Played unchanged: 16-bit at the true rate, not compressed to 8 bits.
    EXPECT_EQ(wave_recorder().only("open"), (std::vector<std::string>{"open 16000 16 1"}));
    EXPECT_EQ(block_sizes(), (std::vector<size_t>{3200}));
    wait_end();
    // Other sound still gets the fast rate afterwards.
    std::vector<uint8_t> tone = make_wav(11025, 1, 8, {{"data", ramp(300)}});
    wave_play_image(tone.data(), tone.size());
    wait_end();
    EXPECT_EQ(wave_recorder().only("open").back(), "open 16537 8 1");
}

TEST_F(VernaSynthesis, AnErrorResetsMbrolaAndTheRestOfTheTextStillSounds) {
    int before = fake_resets();
    EXPECT_FALSE(verna_synthesise({"a 100", "ERR 10", "a 200", ""}, nullptr));
    // One reset at the start, one after the error line.
    EXPECT_EQ(fake_resets() - before, 2);
    EXPECT_EQ(verna_synthesised_bytes(), (100u + 200u) * 32);
}

TEST_F(VernaSynthesis, FileOutputGrowsByExactlyTheBytesReadAndNothingPlays) {
    FILE* f = std::tmpfile();
    ASSERT_NE(f, nullptr);
    EXPECT_TRUE(verna_synthesise({"_ 500", "a 1000", "", "e 37"}, f));
    EXPECT_EQ(std::ftell(f), long((500 + 1000 + 37) * 32));
    EXPECT_TRUE(writes().empty());
    std::fclose(f);
    // A file that refuses writes fails the text.
    FILE* ro = std::fopen("/dev/full", "wb");
    if (ro) {
        EXPECT_FALSE(verna_synthesise({"a 1000"}, ro));
        std::fclose(ro);
    }
}

TEST(VernaWaveHeader, CanonicalSixteenBitMonoAtTheGivenRate) {
    uint8_t h[44];
    verna_wave_header(h, 1000);
    WaveImageView view;
    std::vector<uint8_t> image(h, h + 44);
    image.resize(44 + 1000);
    ASSERT_TRUE(wave_parse_image(image.data(), image.size(), view));
    EXPECT_EQ(view.format.rate, 16000);
    EXPECT_EQ(view.format.bits, 16);
    EXPECT_EQ(view.format.channels, 1);
    EXPECT_EQ(view.bytes, 1000u);
    EXPECT_EQ(h[4] | h[5] << 8, 1036);
    EXPECT_EQ(h[28] | h[29] << 8 | h[30] << 16, 32000);  // bytes per second
    EXPECT_EQ(h[32], 2);                                  // block align
}

// The program binding with the real voice

namespace {

class MbrolaProgram : public ::testing::Test {
protected:
    void SetUp() override {
        mbrola_reset();
        mbrola_set_library("");
    }
    void TearDown() override { mbrola_reset(); }
    // Every sample of one text, reading as the engine does.
    static long read_all() {
        static short buf[MBROLA_MAX_READ];
        long total = 0;
        int n;
        while ((n = mbrola().read(buf, MBROLA_MAX_READ)) > 0) total += n;
        return total;
    }
    static long speak(const std::vector<std::string>& lines) {
        const MbrolaApi& m = mbrola();
        m.reset();
        long total = 0;
        static short buf[MBROLA_MAX_READ];
        for (const std::string& l : lines) {
            m.write((l + "\r\n").c_str());
            int n;
            while ((n = m.read(buf, MBROLA_MAX_READ)) > 0) total += n;
        }
        m.flush();
        return total + read_all();
    }
    // Samples the program gives for the same lines run on its own.
    static long direct_count(const std::vector<std::string>& lines) {
        std::string pho = "/tmp/fuga_mbrola_direct_" + std::to_string(::sys_process_id()) + ".pho";
        FILE* f = std::fopen(pho.c_str(), "w");
        for (const std::string& l : lines) std::fprintf(f, "%s\n", l.c_str());
        std::fclose(f);
        std::string cmd = std::string("mbrola -e ") + BR1 + " " + pho + " - 2>/dev/null | wc -c";
        FILE* p = popen(cmd.c_str(), "r");
        long bytes = 0;
        if (p && std::fscanf(p, "%ld", &bytes) != 1) bytes = -1;
        if (p) pclose(p);
        std::remove(pho.c_str());
        return bytes / 2;
    }
};

std::vector<std::string> sentence() {
    return {"_ 100", "k 80 50 230", "a 130 80 260", "z 90", "a 100 50 200", "_ 200"};
}

// The program started on the br1 voice as the engine starts it; skipped
// where mbrola or the voice is not installed.
class MbrolaOnBr1 : public MbrolaProgram {
protected:
    void SetUp() override {
        MbrolaProgram::SetUp();
        REQUIRE_MBROLA();
        ASSERT_TRUE(mbrola_bind());
        ASSERT_EQ(mbrola().init(BR1), 0);
        mbrola().set_no_error(1);
    }
};

}  // namespace

TEST_F(MbrolaOnBr1, EveryTextDeliversExactlyTheProgramsSamplesAndResetDiscards) {
    ASSERT_TRUE(mbrola_builtin());
    const MbrolaApi& m = mbrola();
    EXPECT_EQ(m.get_freq(), 16000);
    long expected = direct_count(sentence());
    ASSERT_GT(expected, 8000);
    for (int i = 0; i < 3; ++i) EXPECT_EQ(speak(sentence()), expected) << "text " << i;
    // A long text comes in whole reads and one remainder, however the pipe
    // cuts it, so the pieces the engine queues are always the same.
    std::vector<std::string> longer;
    for (int i = 0; i < 40; ++i)
        for (const std::string& l : sentence()) longer.push_back(l);
    m.reset();
    std::vector<int> sizes;
    static short buf[MBROLA_MAX_READ];
    for (size_t i = 0; i < longer.size(); ++i) {
        m.write((longer[i] + "\r\n").c_str());
        if (i + 1 == longer.size()) m.flush();
        for (int n; (n = m.read(buf, MBROLA_MAX_READ)) > 0;) sizes.push_back(n);
    }
    ASSERT_GT(sizes.size(), 2u);
    for (size_t i = 0; i + 1 < sizes.size(); ++i) EXPECT_EQ(sizes[i], MBROLA_MAX_READ) << i;
    EXPECT_LT(sizes.back(), MBROLA_MAX_READ + 1);
    EXPECT_EQ(m.last_error(), 0);

    // Half a text, then a reset: nothing of it comes with the next text.
    m.write("a 5000\r\n");
    m.write("e 5000\r\n");
    m.reset();
    EXPECT_EQ(speak(sentence()), expected);
}

TEST_F(MbrolaOnBr1, LongTextWrittenWithoutReadingDoesNotDeadlock) {
    const MbrolaApi& m = mbrola();
    // About 200 s of sound (6.4 MB), far more than any pipe holds, written
    // before a single read.
    std::vector<std::string> lines{"_ 100"};
    for (int i = 0; i < 1000; ++i) {
        lines.push_back("a 100");
        lines.push_back("k 100");
    }
    lines.push_back("_ 100");
    m.reset();
    for (const std::string& l : lines) m.write((l + "\n").c_str());
    m.flush();
    EXPECT_EQ(read_all(), direct_count(lines));
    char text[256];
    m.last_error_text(text, sizeof text);
    EXPECT_EQ(m.last_error(), 0) << text;
}

TEST_F(MbrolaProgram, MbrolasOwnErrorsAreReportedAndAMissingVoiceFailsInit) {
    REQUIRE_MBROLA();
    ASSERT_TRUE(mbrola_bind());
    const MbrolaApi& m = mbrola();
    EXPECT_LT(m.init("/nonexistent/voice"), 0);
    char text[256];
    m.last_error_text(text, sizeof text);
    EXPECT_NE(std::string(text).find("/nonexistent/voice"), std::string::npos) << text;

    ASSERT_EQ(m.init(BR1), 0);
    m.set_no_error(1);
    m.reset();
    m.write("_ 100\r\n");
    m.write("a xyz\r\n");
    m.flush();
    read_all();
    EXPECT_NE(m.last_error(), 0);
    m.last_error_text(text, sizeof text);
    EXPECT_NE(std::string(text).find("a xyz"), std::string::npos) << text;
    // A warning about a replaced diphone is not an error.
    EXPECT_GT(speak({"_ 100", "a 100", "QQ 50", "a 100", "_ 100"}), 0);
    EXPECT_EQ(m.last_error(), 0);
}

TEST_F(MbrolaOnBr1, AProcessKilledBeforeItsSoundHandsItsTextOnOnceAfterThatTheTextFailsAlone) {
    const MbrolaApi& m = mbrola();
    long expected = direct_count(sentence());
    // Killed after the text's first line: a fresh process is given the whole
    // text, and it is heard whole.
    m.reset();
    m.write("_ 100\r\n");
    int pid = mbrola_pipe_process_id();
    ASSERT_GT(pid, 0);
    sys_kill_process(pid);
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    for (size_t i = 1; i < sentence().size(); ++i) m.write((sentence()[i] + "\r\n").c_str());
    m.flush();
    EXPECT_EQ(read_all(), expected);
    EXPECT_EQ(m.last_error(), 0);
    EXPECT_NE(mbrola_pipe_process_id(), pid);

    // Its second process killed too: the text fails, soon and without a
    // SIGPIPE ending us, and the next text gets a process of its own.
    m.reset();
    m.write("_ 100\r\n");
    sys_kill_process(mbrola_pipe_process_id());
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    m.write("a 100\r\n");
    pid = mbrola_pipe_process_id();
    sys_kill_process(pid);
    auto t0 = std::chrono::steady_clock::now();
    for (int i = 0; i < 20; ++i) m.write("a 100\r\n");
    m.flush();
    read_all();
    EXPECT_NE(m.last_error(), 0);
    EXPECT_LT(std::chrono::steady_clock::now() - t0, std::chrono::seconds(6));
    EXPECT_EQ(speak(sentence()), expected);
    EXPECT_EQ(m.last_error(), 0);
    EXPECT_NE(mbrola_pipe_process_id(), pid);
    EXPECT_FALSE(mbrola_stopped());
}

TEST_F(MbrolaOnBr1, AProcessKilledWhileItWaitsIsReapedAndReplacedWithoutLosingTheText) {
    const MbrolaApi& m = mbrola();
    long expected = direct_count(sentence());
    int pid = mbrola_pipe_process_id();
    ASSERT_GT(pid, 0);
    sys_kill_process(pid);
    // Dead, not yet reaped: a zombie until someone waits for it.
    for (int i = 0; i < 200 && ::kill(pid, 0) == 0; ++i) {
        mbrola_tend();
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    EXPECT_NE(::kill(pid, 0), 0) << "the killed process was not reaped";
    EXPECT_GT(mbrola_pipe_process_id(), 0);
    EXPECT_NE(mbrola_pipe_process_id(), pid);
    // Killed again and again from outside with no text between: the program
    // is fine, so each time a fresh one takes over, the last found only by
    // the next text.
    for (int signal : {SIGTERM, SIGKILL, SIGHUP}) {
        ::kill(mbrola_pipe_process_id(), signal);
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        if (signal != SIGHUP) mbrola_tend();
    }
    EXPECT_EQ(speak(sentence()), expected);
    EXPECT_EQ(m.last_error(), 0);
    EXPECT_FALSE(mbrola_stopped());
}

TEST_F(MbrolaOnBr1, AProgramThatCrashesTwiceBeforeAnyTextCannotBeRestarted) {
    const MbrolaApi& m = mbrola();
    long expected = direct_count(sentence());
    // One crash, then a finished text: the count starts again.
    ::kill(mbrola_pipe_process_id(), SIGSEGV);
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    EXPECT_EQ(speak(sentence()), expected);
    EXPECT_FALSE(mbrola_stopped());
    for (int crash = 0; crash < 2; ++crash) {
        int pid = mbrola_pipe_process_id();
        ASSERT_GT(pid, 0);
        ::kill(pid, SIGSEGV);
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        mbrola_tend();
    }
    EXPECT_TRUE(mbrola_stopped());
    EXPECT_EQ(mbrola_pipe_process_id(), -1);
    EXPECT_NE(m.last_error(), 0);
}

TEST_F(VernaSynthesis, AKeyWaitingEndsTheTextOnTheCardButNotInAFile) {
    os_post_event(char_event('x'));
    EXPECT_TRUE(verna_synthesise({"a 1000", "a 1000", ""}, nullptr));
    EXPECT_TRUE(block_sizes().empty());
    FILE* f = std::tmpfile();
    EXPECT_TRUE(verna_synthesise({"a 1000", "a 1000", ""}, f));
    EXPECT_EQ(std::ftell(f), 2 * 32000L);
    std::fclose(f);
    EXPECT_EQ(console_read_key(), 'x');
}
