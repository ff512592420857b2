// The real SDL sound device on a private PulseAudio server that is killed and
// started again: the game goes on in silence while the server is away, and
// sound comes back at a sound after the server is back.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>
#include <thread>

#include "audio/wave_output.h"
#include "console_test_support.h"
#include "platform/headless/headless.h"
#include "skip_unless_ci.h"
#include "system_support.h"
#include "wave_test_support.h"

namespace {
namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

class SoundServerRestart : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = sys_make_temp_dir("fuga_pulse_");
        if (dir_.empty()) GTEST_SKIP() << "no temporary directory";
        for (const char* var : {"HOME", "XDG_RUNTIME_DIR", "PULSE_RUNTIME_PATH", "PULSE_STATE_PATH"})
            sys_set_env(var, dir_);
        sys_set_env("PULSE_SERVER", "unix:" + dir_ + "/native");
        sys_set_env("SDL_AUDIODRIVER", "pulseaudio");
        if (!start_server()) SKIP_UNLESS_CI("no private PulseAudio server could be started");
        headless_reset_for_test("");
        console_test_settings("");
        wave_reset();
        os_set_audio_device_for_tests(sdl_audio_device());
    }
    void TearDown() override {
        wave_reset();
        os_set_audio_device_for_tests(nullptr);
        kill_server();
        if (!dir_.empty()) fs::remove_all(dir_);
    }

    bool start_server() {
        fs::remove(dir_ + "/native");
        server_ = fork();
        if (server_ == 0) {
            std::string socket = "module-native-protocol-unix auth-anonymous=1 socket=" + dir_ + "/native";
            std::freopen((dir_ + "/pulseaudio.log").c_str(), "a", stderr);
            execlp("pulseaudio", "pulseaudio", "-n", "--daemonize=no", "--exit-idle-time=-1", "--use-pid-file=no",
                   "--log-target=stderr", "-L", socket.c_str(), "-L", "module-null-sink sink_name=fuga_test",
                   static_cast<char*>(nullptr));
            _exit(127);
        }
        if (server_ < 0) return false;
        // Ready when a client is answered.
        for (int i = 0; i < 250; ++i) {
            if (sink_inputs() >= 0) return true;
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        return false;
    }
    void kill_server() {
        if (server_ <= 0) return;
        kill(server_, SIGKILL);
        waitpid(server_, nullptr, 0);
        server_ = -1;
    }
    // The server's playback streams; -1 when it does not answer.
    static int sink_inputs() {
        FILE* p = popen("pactl list short sink-inputs 2>/dev/null; echo end $?", "r");
        if (!p) return -1;
        int lines = 0, status = -1;
        char line[512];
        while (std::fgets(line, sizeof line, p)) {
            if (std::sscanf(line, "end %d", &status) == 1) break;
            ++lines;
        }
        pclose(p);
        return status == 0 ? lines : -1;
    }

    std::string dir_;
    pid_t server_ = -1;
};
}  // namespace

TEST_F(SoundServerRestart, SoundComesBackAtASoundAfterTheServerIsBack) {
    auto path = write_temp_file("restart.wav", make_wav(11025, 1, 8, {{"data", ramp(2205)}}));  // 200 ms
    EXPECT_EQ(wave_play_file(path), 0);
    ASSERT_EQ(sink_inputs(), 1) << "the first sound has no stream at the server";

    kill_server();
    // Gone mid-game: the sound goes on in silence, without a hang.
    auto start = Clock::now();
    EXPECT_EQ(wave_play_file(path), 0);
    EXPECT_EQ(wave_play_file(path), 0);
    EXPECT_LT(Clock::now() - start, std::chrono::seconds(10));

    ASSERT_TRUE(start_server());
    // A failed card is tried again at most once a second.
    console_delay(1100);
    EXPECT_EQ(wave_play_file(path), 0);
    EXPECT_EQ(sink_inputs(), 1) << "no stream at the server after it came back";
}
