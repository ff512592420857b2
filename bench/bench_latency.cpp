// Latency as the player hears it, timed at a real sound server: a private
// PulseAudio server with a null sink, its monitor recorded and every sample
// timestamped, the game driven by xdotool in a virtual X display (window) and
// by tmux (terminal). Three figures per backend: start to the first sound,
// a key at the prompt to its echo's first sample, and a key during the long
// introduction to the end of the introduction's sound. The peers are timed
// the same way: espeak-ng from exec to its first sample.
//
// The Windows program is timed the same way in its window under Wine when
// FUGA_BENCH_WINDOWS_EXE names its fuga.exe (and FUGA_BENCH_WINEPREFIX a
// prefix made by tools/wine_prefix.sh; the wineserver is kept running, as
// a player's system keeps its own services).
//
// A measurement, not a test: it needs pulseaudio, parec, Xvfb, xdotool and
// tmux, and the installation data the build makes. A window's key is stamped
// when the X server has delivered it, a terminal's when tmux send-keys has
// returned, so the senders' own start and connection cost is not counted.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "system_support.h"

extern char** environ;

namespace {
constexpr int RATE = 48000;
// A sample this loud (of 32767) is sound: well above the dither of the
// stored 8-bit recordings.
constexpr int LOUD = 2048;
constexpr double NEVER = 1e300;

double now_s() {
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

void pause_s(double s) { std::this_thread::sleep_for(std::chrono::duration<double>(s)); }

std::string build_dir() { return FUGA_BINARY_DIR; }

struct Child {
    pid_t pid = -1;
};

// Starts argv with `extra` added to the environment; stdout to `out_fd` and
// stdin from `in_fd` when given (else /dev/null), stderr to `err_path` or
// /dev/null.
Child spawn(const std::vector<std::string>& argv, const std::vector<std::string>& extra, int out_fd = -1,
            const std::string& err_path = "/dev/null", int in_fd = -1) {
    std::vector<std::string> env;
    for (char** e = environ; *e; ++e) {
        std::string s = *e;
        bool replaced = false;
        for (const std::string& x : extra)
            if (s.substr(0, s.find('=') + 1) == x.substr(0, x.find('=') + 1)) replaced = true;
        if (!replaced) env.push_back(s);
    }
    for (const std::string& x : extra) env.push_back(x);
    std::vector<char*> a, e;
    for (const std::string& s : argv) a.push_back(const_cast<char*>(s.c_str()));
    a.push_back(nullptr);
    for (const std::string& s : env) e.push_back(const_cast<char*>(s.c_str()));
    e.push_back(nullptr);
    posix_spawn_file_actions_t fa;
    posix_spawn_file_actions_init(&fa);
    if (in_fd >= 0) posix_spawn_file_actions_adddup2(&fa, in_fd, 0);
    else posix_spawn_file_actions_addopen(&fa, 0, "/dev/null", O_RDONLY, 0);
    if (out_fd >= 0) posix_spawn_file_actions_adddup2(&fa, out_fd, 1);
    else posix_spawn_file_actions_addopen(&fa, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&fa, 2, err_path.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0644);
    posix_spawnattr_t attr;
    posix_spawnattr_init(&attr);
    posix_spawnattr_setflags(&attr, POSIX_SPAWN_SETPGROUP);
    posix_spawnattr_setpgroup(&attr, 0);
    Child c;
    if (posix_spawnp(&c.pid, a[0], &fa, &attr, a.data(), e.data()) != 0) c.pid = -1;
    posix_spawn_file_actions_destroy(&fa);
    posix_spawnattr_destroy(&attr);
    return c;
}

// Runs a program to its end; returns the time at which it had ended.
double run(const std::vector<std::string>& argv, const std::vector<std::string>& extra) {
    Child c = spawn(argv, extra);
    int status = 0;
    if (c.pid > 0) waitpid(c.pid, &status, 0);
    return now_s();
}

void stop(Child& c) {
    if (c.pid <= 0) return;
    kill(-c.pid, SIGTERM);
    for (int i = 0; i < 100; ++i) {
        if (waitpid(c.pid, nullptr, WNOHANG) == c.pid) {
            c.pid = -1;
            return;
        }
        pause_s(0.01);
    }
    kill(-c.pid, SIGKILL);
    waitpid(c.pid, nullptr, 0);
    c.pid = -1;
}

// A directory of our own under $TMPDIR (else /tmp), removed with all it
// holds when its owner is done with it: after a whole run and after one
// that gave up part way alike, since every early return passes here.
class TempDir {
public:
    TempDir() = default;
    explicit TempDir(const char* name) : path_(sys_make_temp_dir(std::string("fuga-") + name + "-")) {}
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    TempDir& operator=(TempDir&& other) noexcept {
        remove();
        path_ = std::move(other.path_);
        other.path_.clear();
        return *this;
    }
    ~TempDir() { remove(); }
    // "" when it could not be made.
    const std::string& path() const { return path_; }

private:
    void remove() {
        std::error_code ignored;
        if (!path_.empty()) std::filesystem::remove_all(path_, ignored);
        path_.clear();
    }
    std::string path_;
};

// The private sound server and the recording of its null sink's monitor.
class SoundServer {
public:
    bool start() {
        own_ = TempDir("pulse");
        dir_ = own_.path();
        if (dir_.empty()) return false;
        env_ = {"HOME=" + dir_, "XDG_RUNTIME_DIR=" + dir_, "PULSE_RUNTIME_PATH=" + dir_, "PULSE_STATE_PATH=" + dir_,
            "PULSE_SERVER=unix:" + dir_ + "/native"};
        // At debug level the server logs every underrun of a stream: the
        // objective count of gaps in what we play (parec's own view can be
        // starved while the stream is whole).
        server_ = spawn({"pulseaudio", "-n", "--daemonize=no", "--exit-idle-time=-1", "--use-pid-file=no",
                            "--log-level=debug", "--log-target=stderr",
                            "-L", "module-native-protocol-unix auth-anonymous=1 socket=" + dir_ + "/native",
                            "-L", "module-null-sink sink_name=fuga_bench rate=48000 channels=1"},
            env_, -1, dir_ + "/pulseaudio.log");
        for (int i = 0; i < 200; ++i) {
            struct stat st;
            if (stat((dir_ + "/native").c_str(), &st) == 0) break;
            pause_s(0.02);
        }
        return record("fuga_bench");
    }

    // Records the null sink `sink` of a sound server that runs already
    // (the private speech server's own), at `address`.
    bool attach(const std::string& address, const std::string& sink) {
        own_ = TempDir("pulse-attached");
        dir_ = own_.path();
        if (dir_.empty()) return false;
        env_ = {"PULSE_SERVER=" + address};
        return record(sink);
    }

    bool record(const std::string& sink) {
        int fds[2];
        if (pipe(fds) != 0) return false;
        recorder_ = spawn({"parec", "-d", sink + ".monitor", "--raw", "--format=s16le", "--rate=48000",
                              "--channels=1", "--latency-msec=2", "--process-time-msec=1"},
            env_, fds[1], dir_ + "/parec.log");
        close(fds[1]);
        read_fd_ = fds[0];
        reader_ = std::thread([this] { read_loop(); });
        // Wait for the recording to flow.
        for (int i = 0; i < 300 && samples() < RATE / 10; ++i) pause_s(0.01);
        return samples() >= RATE / 10;
    }

    ~SoundServer() {
        stop(recorder_);
        if (reader_.joinable()) reader_.join();
        if (read_fd_ >= 0) close(read_fd_);
        stop(server_);
    }

    const std::vector<std::string>& env() const { return env_; }

    // Underruns the server has logged so far, for any stream: `actual`
    // ones played silence for want of data; the others found the stream's
    // queue just emptied by the sink's read, before the next data came.
    int underruns(bool actual) const {
        std::ifstream log(dir_ + "/pulseaudio.log");
        int n = 0;
        const char* kind = actual ? "Actual underrun of" : "Implicit underrun of";
        for (std::string line; std::getline(log, line);)
            if (line.find(kind) != std::string::npos) ++n;
        return n;
    }

    size_t samples() {
        std::lock_guard<std::mutex> hold(lock_);
        return pcm_.size();
    }

    // Steady-clock time of sample `i`: its chunk arrived when its last
    // sample had been recorded.
    double time_of(size_t i) {
        std::lock_guard<std::mutex> hold(lock_);
        for (const Chunk& c : chunks_)
            if (i < c.end) return c.arrived - double(c.end - 1 - i) / RATE;
        return NEVER;
    }

    // The index of the first sample recorded at or after time t.
    size_t index_at(double t) {
        std::lock_guard<std::mutex> hold(lock_);
        size_t begin = 0;
        for (const Chunk& c : chunks_) {
            double first = c.arrived - double(c.end - 1 - begin) / RATE;
            if (t <= c.arrived) {
                if (t <= first) return begin;
                return c.end - 1 - size_t((c.arrived - t) * RATE);
            }
            begin = c.end;
        }
        return pcm_.size();
    }

    int16_t at(size_t i) {
        std::lock_guard<std::mutex> hold(lock_);
        return i < pcm_.size() ? pcm_[i] : 0;
    }

    // Index of the first loud sample at or after t, waiting up to `limit`
    // s; SIZE_MAX when none came.
    size_t first_loud_after(double t, double limit) { return first_loud_from(index_at(t), limit); }
    size_t first_loud_from(size_t i, double limit) {
        double give_up = now_s() + limit;
        while (now_s() < give_up) {
            size_t n = samples();
            for (; i < n; ++i)
                if (std::abs(at(i)) >= LOUD) return i;
            pause_s(0.002);
        }
        return SIZE_MAX;
    }
    double first_sound_after(double t, double limit) {
        size_t i = first_loud_after(t, limit);
        return i == SIZE_MAX ? NEVER : time_of(i);
    }

    // Waits until the sink has been silent for `quiet` s (at most `limit`).
    bool wait_quiet(double quiet, double limit) {
        double give_up = now_s() + limit;
        while (now_s() < give_up) {
            size_t n = samples();
            size_t span = size_t(quiet * RATE);
            if (n > span) {
                bool loud = false;
                for (size_t i = n - span; i < n && !loud; ++i) loud = std::abs(at(i)) >= LOUD;
                if (!loud) return true;
            }
            pause_s(0.05);
        }
        return false;
    }

    // Start of the first stretch of `span` s without sound after time t.
    double quiet_after(double t, double span, double limit) {
        double give_up = now_s() + limit;
        size_t i = index_at(t), run_start = i, need = size_t(span * RATE);
        while (now_s() < give_up) {
            size_t n = samples();
            for (; i < n; ++i) {
                if (std::abs(at(i)) >= LOUD) run_start = i + 1;
                else if (i + 1 - run_start >= need) return time_of(run_start);
            }
            pause_s(0.01);
        }
        return NEVER;
    }

    void copy(size_t from, size_t to, std::vector<int16_t>& out) {
        std::lock_guard<std::mutex> hold(lock_);
        if (to > pcm_.size()) to = pcm_.size();
        out.assign(pcm_.begin() + long(std::min(from, to)), pcm_.begin() + long(to));
    }

private:
    struct Chunk {
        size_t end;
        double arrived;
    };

    void read_loop() {
        int16_t buf[256];
        for (;;) {
            ssize_t n = read(read_fd_, buf, sizeof buf);
            if (n <= 0) return;
            double t = now_s();
            std::lock_guard<std::mutex> hold(lock_);
            size_t count = size_t(n) / 2;  // parec writes whole samples
            pcm_.insert(pcm_.end(), buf, buf + count);
            chunks_.push_back({pcm_.size(), t});
        }
    }

    // Removed after the destructor has stopped what writes there.
    TempDir own_;
    std::string dir_;
    std::vector<std::string> env_;
    Child server_, recorder_;
    int read_fd_ = -1;
    std::thread reader_;
    std::mutex lock_;
    std::vector<int16_t> pcm_;
    std::vector<Chunk> chunks_;
};

// The introduction's recording, as the sink should play it.
struct Recording {
    std::vector<double> samples;  // -1..1
    int rate = 11025;
    size_t first_loud = 0, last_loud = 0;
    bool load(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), {});
        if (bytes.size() < 44) return false;
        rate = int(bytes[24] | bytes[25] << 8 | bytes[26] << 16);
        for (size_t i = 44; i < bytes.size(); ++i) samples.push_back((int(bytes[i]) - 128) / 128.0);
        while (first_loud < samples.size() && std::abs(samples[first_loud]) * 32768 < LOUD) ++first_loud;
        for (size_t i = first_loud; i < samples.size(); ++i)
            if (std::abs(samples[i]) * 32768 >= LOUD) last_loud = i;
        return first_loud < samples.size();
    }
    // The first time at or after `from` s (counted from the first loud
    // sample) where no 20 ms of the next `span` s are silent.
    // Samples from the first loud one to the last, at the sink's rate.
    size_t loud_length_at_sink() const { return size_t(double(last_loud - first_loud) * RATE / rate); }
    double speaking_from(double from, double span) const {
        const size_t step = size_t(rate) / 50;
        for (size_t at = first_loud + size_t(from * rate); at + size_t(span * rate) < samples.size(); at += step) {
            bool speaks = true;
            for (size_t w = at; w < at + size_t(span * rate) && speaks; w += step) {
                double e = 0;
                for (size_t k = w; k < w + step; ++k) e += samples[k] * samples[k];
                speaks = e > double(step) * 1e-4;
            }
            if (speaks) return double(at - first_loud) / rate;
        }
        return from;
    }
    double value(double position) const {
        if (position < 0 || position + 1 >= double(samples.size())) return 0;
        size_t i = size_t(position);
        double f = position - double(i);
        return samples[i] * (1 - f) + samples[i + 1] * f;
    }
};

// Where the sink stops playing the recording: windows of 5 ms after `from`
// are compared with what the recording holds there; the first window that
// does not match (other sound, or silence where the recording speaks) is the
// end. `start` is the sink index of the recording's first loud sample.
double end_of_recording(SoundServer& s, const Recording& r, size_t start, double from, double limit, double& match) {
    const size_t window = RATE / 200;
    const double step = double(r.rate) / RATE;
    double give_up = now_s() + limit;
    const size_t from_index = s.index_at(from);
    size_t i = from_index;
    std::vector<int16_t> got;
    // The sink's resampler delays the sound a little: that lag is found on
    // the first half second, then followed within a millisecond.
    auto correlation = [&](size_t at, size_t length, int lag, double& want2, double& got2) {
        s.copy(at, at + length, got);
        double dot = 0;
        want2 = got2 = 0;
        for (size_t k = 0; k < got.size(); ++k) {
            double w = r.value(double(r.first_loud) + (double(at + k) - double(start) + lag) * step);
            double g = got[k] / 32768.0;
            dot += w * g;
            want2 += w * w;
            got2 += g * g;
        }
        return want2 > 0 && got2 > 0 ? dot / std::sqrt(want2 * got2) : 0.0;
    };
    while (s.samples() < start + RATE && now_s() < give_up) pause_s(0.01);
    // Under Wine a burst of noise can come some tens of milliseconds before
    // the sound itself and be taken for its start: the lag is found on half
    // a second from 100 ms on, within 125 ms, coarsely and then finely.
    auto best_lag = [&](size_t at, size_t length, int from_lag, int to_lag, int stride, double& best) {
        int found = from_lag;
        best = -2;
        for (int lag = from_lag; lag <= to_lag; lag += stride) {
            double w2, g2, c = correlation(at, length, lag, w2, g2);
            if (c > best) best = c, found = lag;
        }
        return found;
    };
    double best0 = -2;
    int lag0 = best_lag(start + RATE / 10, RATE / 2, -RATE / 8, RATE / 8, 8, best0);
    lag0 = best_lag(start + RATE / 10, RATE / 2, lag0 - 8, lag0 + 8, 1, best0);
    match = best0;
    // Something else is playing there: no end of this recording to find.
    if (best0 < 0.5) return NEVER;
    // A recorder starved under load loses samples, and the lag moves by
    // what it lost: found again on the 50 ms before `from`, where the
    // recording still plays whole, so that an earlier loss does not read
    // as the end.
    if (i > start + RATE / 20) {
        double best = -2;
        int found = best_lag(i - RATE / 20, RATE / 20, lag0 - RATE / 20, lag0 + RATE / 20, 1, best);
        if (best >= 0.5) lag0 = found;
    }
    while (now_s() < give_up) {
        if (s.samples() < i + window + RATE / 100) {
            pause_s(0.005);
            continue;
        }
        double best = -1, energy_got = 0, energy_want = 0;
        for (int lag = lag0 - RATE / 1000; lag <= lag0 + RATE / 1000; lag += 4) {
            double w2, g2, c = correlation(i, window, lag, w2, g2);
            energy_want = std::max(energy_want, w2);
            energy_got = g2;
            best = std::max(best, c);
        }
        double floor = double(window) * 1e-4;
        bool want_sound = energy_want > floor, got_sound = energy_got > floor;
        if (want_sound != got_sound || (want_sound && best < 0.5)) {
            // Not following the recording even where the key cannot yet
            // have cut it: the sink lost its place, no end was found.
            if (i == from_index) {
                match = 0;
                return NEVER;
            }
            return s.time_of(i);
        }
        i += window;
    }
    return NEVER;
}

// Keys for an X display from one xdotool that reads its commands from a
// pipe: each key is followed by a pointer query, whose answer comes once the
// X server has handled the key before it, so a key is stamped when the
// server has delivered it (a new xdotool per key would be stamped after its
// exit, tens of milliseconds late under load, or before its start and
// connection, as much early).
class KeySender {
public:
    bool start(const std::string& display) {
        int in[2], out[2];
        if (pipe(in) != 0) return false;
        if (pipe(out) != 0) {
            close(in[0]);
            close(in[1]);
            return false;
        }
        // An xdotool that has ended makes a write fail rather than end us.
        signal(SIGPIPE, SIG_IGN);
        // Our ends stay out of the programs started later (the game).
        fcntl(in[1], F_SETFD, FD_CLOEXEC);
        fcntl(out[0], F_SETFD, FD_CLOEXEC);
        child_ = spawn({"xdotool", "-"}, {"DISPLAY=" + display}, out[1], "/dev/null", in[0]);
        close(in[0]);
        close(out[1]);
        to_ = in[1];
        from_ = out[0];
        return child_.pid > 0;
    }
    ~KeySender() {
        if (to_ >= 0) close(to_);
        if (from_ >= 0) close(from_);
        ::stop(child_);
    }
    // Sends the key; returns the time the server had handled it (NEVER when
    // xdotool is gone or gave no answer within 5 s).
    double key(const char* name) {
        std::string command = std::string("key --delay 0 ") + name + "\ngetmouselocation\n";
        if (to_ < 0 || write(to_, command.data(), command.size()) != ssize_t(command.size())) return NEVER;
        pollfd answer = {from_, POLLIN, 0};
        for (char c = 0; c != '\n';)
            if (poll(&answer, 1, 5000) != 1 || read(from_, &c, 1) != 1) return NEVER;
        return now_s();
    }

private:
    Child child_;
    int to_ = -1, from_ = -1;
};

// The game with its generated installation in one backend.
class Game {
public:
    virtual ~Game() = default;
    // Starts the program; returns the time of the exec.
    virtual double start(const std::vector<std::string>& env) = 0;
    // Sends one key; returns the time it had been delivered (the window's)
    // or its sender had returned (the terminal's).
    virtual double key(const char* name) = 0;
    virtual void stop() = 0;
};

class WindowGame : public Game {
public:
    // The display is one that Xvfb finds free and names once it listens:
    // others on the machine may run their own displays, and keys sent to one
    // of theirs would be lost to this game.
    bool ready() {
        if (xvfb_.pid > 0) return true;
        int fds[2];
        if (pipe(fds) != 0) return false;
        fcntl(fds[0], F_SETFD, FD_CLOEXEC);
        xvfb_ = spawn({"Xvfb", "-displayfd", "1", "-screen", "0", "1280x1024x24", "-nolisten", "tcp"}, {}, fds[1]);
        close(fds[1]);
        std::string number;
        pollfd named = {fds[0], POLLIN, 0};
        for (char c = 0; c != '\n';) {
            if (poll(&named, 1, 10000) != 1 || read(fds[0], &c, 1) != 1) break;
            if (c >= '0' && c <= '9') number += c;
        }
        close(fds[0]);
        if (number.empty()) return false;
        display_ = ":" + number;
        return keys_.start(display_);
    }
    ~WindowGame() override {
        stop();
        ::stop(xvfb_);
    }
    double start(const std::vector<std::string>& env) override {
        std::vector<std::string> e = env;
        e.push_back("DISPLAY=" + display_);
        e.push_back("FUGA_BACKEND=sdl");
        e.push_back("SDL_AUDIODRIVER=pulseaudio");
        return launch({build_dir() + "/play", "-r"}, e, "FUGA");
    }
    double key(const char* name) override { return keys_.key(name); }
    void stop() override { ::stop(game_); }

protected:
    // Starts the program and focuses its window (found by a title pattern)
    // once it is there, so that keys reach it; returns the time of the exec.
    double launch(const std::vector<std::string>& argv, const std::vector<std::string>& env, const char* title) {
        double t = now_s();
        game_ = spawn(argv, env);
        std::string display = display_, name = title;
        std::thread([display, name] {
            run({"xdotool", "search", "--sync", "--name", name, "windowfocus", "--sync"}, {"DISPLAY=" + display});
        }).detach();
        return t;
    }
    std::string display_;

private:
    Child xvfb_, game_;
    KeySender keys_;
};

// The Windows program in its window under Wine, on a display of its own.
class WineGame : public WindowGame {
public:
    WineGame(std::string exe, std::string prefix) : exe_(std::move(exe)), prefix_(std::move(prefix)) {}
    bool ready() {
        if (!WindowGame::ready()) return false;
        // One server for all runs, kept half a minute after the last: a
        // Windows system does not start anew for each program either.
        run({"wineserver", "-p30"}, env({}));
        return true;
    }
    double start(const std::vector<std::string>& extra) override {
        std::vector<std::string> e = env(extra);
        e.push_back("TALUNE_HOME=" + build_dir() + "/data");
        return launch({"wine", exe_, "-r"}, e, "fuga\\.exe");
    }

private:
    std::vector<std::string> env(std::vector<std::string> e) const {
        e.push_back("DISPLAY=" + display_);
        e.push_back("WINEDEBUG=-all");
        if (!prefix_.empty()) e.push_back("WINEPREFIX=" + prefix_);
        return e;
    }
    std::string exe_, prefix_;
};

class TerminalGame : public Game {
public:
    ~TerminalGame() override { stop(); }
    double start(const std::vector<std::string>& env) override {
        own_ = TempDir("tmux");
        dir_ = own_.path();
        std::string fifo = dir_ + "/go";
        mkfifo(fifo.c_str(), 0600);
        std::string command = "read go < " + fifo + "; exec env";
        for (const std::string& e : env) command += " '" + e + "'";
        command += " FUGA_BACKEND=terminal " + build_dir() + "/play -r";
        socket_ = dir_ + "/tmux";
        run({"tmux", "-S", socket_, "-f", "/dev/null", "new-session", "-d", "-x", "100", "-y", "30", command}, {});
        // The pane waits on the fifo; opening it for writing starts the game.
        int fd = open(fifo.c_str(), O_WRONLY);
        double t = now_s();
        if (fd >= 0) {
            ssize_t ignored = write(fd, "\n", 1);
            (void)ignored;
            close(fd);
        }
        return t;
    }
    double key(const char* name) override { return run({"tmux", "-S", socket_, "send-keys", name}, {}); }
    void type(const std::string& text) { run({"tmux", "-S", socket_, "send-keys", "-l", text}, {}); }
    void stop() override {
        if (socket_.empty()) return;
        run({"tmux", "-S", socket_, "kill-server"}, {});
        socket_.clear();
    }

private:
    TempDir own_;
    std::string dir_, socket_;
};

bool tools_present() {
    for (const char* tool : {"pulseaudio", "parec", "Xvfb", "xdotool", "tmux"}) {
        std::string cmd = std::string("command -v ") + tool + " >/dev/null 2>&1";
        if (std::system(cmd.c_str()) != 0) return false;
    }
    struct stat st;
    return stat((build_dir() + "/data/som/INTRO.wav").c_str(), &st) == 0;
}

enum Kind { TERMINAL, WINDOW, WINE };

std::string windows_exe() {
    const char* exe = std::getenv("FUGA_BENCH_WINDOWS_EXE");
    return exe ? exe : "";
}

std::unique_ptr<Game> make_game(int kind) {
    if (kind == TERMINAL) return std::make_unique<TerminalGame>();
    if (kind == WINE) {
        const char* prefix = std::getenv("FUGA_BENCH_WINEPREFIX");
        auto g = std::make_unique<WineGame>(windows_exe(), prefix ? prefix : "");
        if (windows_exe().empty() || !g->ready()) return nullptr;
        return g;
    }
    auto g = std::make_unique<WindowGame>();
    if (!g->ready()) return nullptr;
    return g;
}

const char* no_game(int kind) {
    if (kind != WINE) return "no X display";
    return windows_exe().empty() ? "FUGA_BENCH_WINDOWS_EXE names no fuga.exe" : "no X display or Wine";
}

// One iteration's figure: its time, and the median and extremes of all so
// far as counters (a stray slow run, from another program on the cores,
// moves the mean but not the median).
void record(benchmark::State& state, std::vector<double>& seen, double seconds) {
    state.SetIterationTime(seconds);
    seen.push_back(1000 * seconds);
    std::vector<double> sorted = seen;
    std::sort(sorted.begin(), sorted.end());
    size_t n = sorted.size();
    state.counters["median_ms"] = n % 2 ? sorted[n / 2] : (sorted[n / 2 - 1] + sorted[n / 2]) / 2;
    state.counters["min_ms"] = sorted.front();
    state.counters["max_ms"] = sorted.back();
}

// Figure 1: from the exec to the first sample of sound.
void start_to_first_sample(benchmark::State& state, int kind) {
    SoundServer sound;
    if (!tools_present() || !sound.start()) return state.SkipWithError("no sound server or tools");
    std::vector<double> seen;
    for (auto _ : state) {
        auto game = make_game(kind);
        if (!game) return state.SkipWithError(no_game(kind));
        double t0 = game->start(sound.env());
        double heard = sound.first_sound_after(t0, 10);
        game->stop();
        if (heard == NEVER) return state.SkipWithError("nothing was heard");
        record(state, seen, heard - t0);
        sound.wait_quiet(0.3, 5);
    }
}

// Figure 1 at a sound server started afresh for each game: the server's
// first stream is where the title was once heard late.
void start_at_fresh_server(benchmark::State& state, int kind) {
    std::vector<double> seen;
    for (auto _ : state) {
        SoundServer sound;
        if (!tools_present() || !sound.start()) return state.SkipWithError("no sound server or tools");
        auto game = make_game(kind);
        if (!game) return state.SkipWithError(no_game(kind));
        double t0 = game->start(sound.env());
        double heard = sound.first_sound_after(t0, 10);
        game->stop();
        if (heard == NEVER) return state.SkipWithError("nothing was heard");
        record(state, seen, heard - t0);
    }
}

// Figure 3 and then figure 2 in the same game: a key 2.5 s into the
// introduction, the end of the introduction's sound; then, at the quiet
// prompt, letters whose echoes are timed.
void key_figures(benchmark::State& state, int kind, bool echo) {
    SoundServer sound;
    Recording title, intro;
    if (!tools_present() || !sound.start() || !title.load(build_dir() + "/data/som/TITULO.wav") ||
        !intro.load(build_dir() + "/data/som/INTRO.wav"))
        return state.SkipWithError("no sound server, tools or installation");
    // The echoes are timed in one game; each key to silence starts its own.
    std::unique_ptr<Game> keep;
    if (echo && !(keep = make_game(kind))) return state.SkipWithError(no_game(kind));
    bool started = false;
    double t0 = 0, heard = 0, quiet_total = 0;
    int quiet_count = 0, gap_runs = 0;
    std::vector<double> seen;
    for (auto _ : state) {
        if (echo) {
            if (!started) {
                started = true;
                t0 = keep->start(sound.env());
                heard = sound.first_sound_after(t0, 10);
                pause_s(1.0);
                keep->key("Escape");
                if (!sound.wait_quiet(1.5, 20)) return state.SkipWithError("the game never fell quiet");
            }
            double sent = keep->key("a");
            if (sent == NEVER) return state.SkipWithError("the key was not sent");
            double echo_heard = sound.first_sound_after(sent, 3);
            if (echo_heard == NEVER) return state.SkipWithError("no echo");
            record(state, seen, std::max(0.0, echo_heard - sent));
            sound.wait_quiet(0.3, 5);
        } else {
            // A busy machine starves the sound device now and then: the
            // introduction then plays with gaps and does not match its
            // recording. Such a run is counted and made again.
            bool timed = false;
            for (int attempt = 0; attempt < 8 && !timed; ++attempt) {
                auto g = make_game(kind);
                if (!g) return state.SkipWithError(no_game(kind));
                t0 = g->start(sound.env());
                // The title's recording comes first: the introduction's first
                // loud sample is the first after the title's last.
                size_t title_start = sound.first_loud_after(t0, 10);
                if (title_start == SIZE_MAX) return state.SkipWithError("nothing was heard");
                size_t start = sound.first_loud_from(title_start + title.loud_length_at_sink() + RATE / 100, 10);
                if (start == SIZE_MAX) return state.SkipWithError("no introduction after the title");
                heard = sound.time_of(start);
                // 2.5 s in, or later where the recording speaks for 300 ms on,
                // so that its end cannot hide in a pause of its own.
                pause_s(intro.speaking_from(2.5, 0.3) + 0.1 - (now_s() - heard));
                double sent = g->key("x");
                if (sent == NEVER) return state.SkipWithError("the key was not sent");
                double match = 0;
                double end = end_of_recording(sound, intro, start, sent - 0.05, 60, match);
                // What the turn plays after the introduction (its attention
                // tone and the room) goes on until the prompt: the first
                // 300 ms of quiet shows how long that takes.
                double quiet = sound.quiet_after(sent, 0.3, 60);
                g->stop();
                sound.wait_quiet(0.3, 5);
                // A sound that broke off before the key (a gap in its
                // playback, the server's queue emptied under load) cannot
                // time the key either.
                if (match < 0.5 || end == NEVER || end < sent - 0.005) {
                    state.counters["runs_with_gaps"] = ++gap_runs;
                    continue;
                }
                timed = true;
                record(state, seen, std::max(0.0, end - sent));
                quiet_total += quiet - sent;
                state.counters["key_to_quiet_ms"] = benchmark::Counter(1000 * quiet_total / ++quiet_count);
            }
            if (!timed) return state.SkipWithError("the introduction never played whole");
        }
    }
    if (keep) keep->stop();
    state.counters["server_underruns"] = sound.underruns(true);
    state.counters["server_queue_emptied"] = sound.underruns(false);
}

// The private speech server of tools/private_speech_server.sh, with its own
// sound server: types 5 and 54 play there, so their sound is told apart from
// the game's own (its keys' echoes and clicks).
class SpeechServer {
public:
    SpeechServer() : own_("speech"), dir_(own_.path()) {}
    bool start() {
        if (dir_.empty()) return false;
        std::string command = std::string(FUGA_SOURCE_DIR) + "/tools/private_speech_server.sh start " + dir_;
        FILE* out = popen(command.c_str(), "r");
        if (!out) return false;
        char line[512] = {};
        bool got = std::fgets(line, sizeof line, out) != nullptr;
        if (pclose(out) != 0 || !got) return false;
        address_ = line;
        while (!address_.empty() && (address_.back() == '\n' || address_.back() == '\r')) address_.pop_back();
        started_ = true;
        return true;
    }
    ~SpeechServer() {
        if (started_) run({std::string(FUGA_SOURCE_DIR) + "/tools/private_speech_server.sh", "stop", dir_}, {});
    }
    const std::string& address() const { return address_; }  // SPEECHD_ADDRESS=...
    std::string sound_server() const { return "unix:" + dir_ + "/pulse/native"; }

private:
    TempDir own_;
    std::string dir_, address_;
    bool started_ = false;
};

// A key that cuts a synthesized line, to the end of its sound, for each kind
// of voice, in the terminal: with the typed-character echo off (F4), a long
// command line is typed and read whole with Ctrl+F1; 0.4 s into its sound
// End, a key with no sound of its own that leaves the line as it is (the
// cursor is at its end already), cuts it. The end is the start of the
// first 60 ms without sound, at the sink where that voice plays.
const char* const LONG_LINE = "anticonstitucionalissimamente paralelepipedo inconstitucionalissimamente "
                              "otorrinolaringologista desproporcionadamente";

void key_to_silence_voice(benchmark::State& state, const char* type) {
    SoundServer sound;
    if (!tools_present() || !sound.start()) return state.SkipWithError("no sound server or tools");
    std::string kind = type;
    std::vector<std::string> env = sound.env();
    std::unique_ptr<SpeechServer> speech;
    SoundServer speech_sound;
    SoundServer* heard_at = &sound;
    std::string home = build_dir() + "/data-type" + kind;
    if (kind == "own") {
        home = build_dir() + "/data";
    } else if (kind == "5" || kind == "54") {
        speech = std::make_unique<SpeechServer>();
        if (!speech->start()) return state.SkipWithError("the private speech-dispatcher did not start");
        if (!speech_sound.attach(speech->sound_server(), "fuga_null"))
            return state.SkipWithError("the speech server's sink cannot be recorded");
        env.push_back(speech->address());
        heard_at = &speech_sound;
    }
    env.push_back("TALUNE_HOME=" + home);
    TerminalGame game;
    game.start(env);
    // The espeak-ng module lists some 13,000 voices before the game's title,
    // which takes seconds on a busy machine.
    if (sound.first_sound_after(now_s() - 1, 60) == NEVER) return state.SkipWithError("nothing was heard");
    pause_s(1.0);
    game.key("Escape");
    if (!sound.wait_quiet(1.5, 30)) return state.SkipWithError("the game never fell quiet");
    game.key("F4");
    pause_s(0.5);
    game.type(LONG_LINE);
    sound.wait_quiet(0.5, 10);
    std::vector<double> seen;
    for (auto _ : state) {
        double asked = game.key("C-F1");
        double began = heard_at->first_sound_after(asked, 10);
        if (began == NEVER) return state.SkipWithError("the line was not read");
        pause_s(began + 0.4 - now_s());
        double sent = game.key("End");
        double quiet = heard_at->quiet_after(sent, 0.06, 10);
        if (quiet == NEVER) return state.SkipWithError("the reading was not cut");
        record(state, seen, std::max(0.0, quiet - sent));
        heard_at->wait_quiet(0.5, 20);
    }
    game.stop();
}

// The peer: espeak-ng from exec to its first sample.
void peer_espeak_first_sample(benchmark::State& state) {
    SoundServer sound;
    if (!tools_present() || !sound.start()) return state.SkipWithError("no sound server or tools");
    std::vector<double> seen;
    for (auto _ : state) {
        double t0 = now_s();
        Child c = spawn({"espeak-ng", "-v", "pt-br", "Que fazer?"}, sound.env());
        // (A wait for pid -1 would wait for the sound server instead.)
        if (c.pid <= 0) return state.SkipWithError("espeak-ng did not start");
        double heard = sound.first_sound_after(t0, 10);
        waitpid(c.pid, nullptr, 0);
        if (heard == NEVER) return state.SkipWithError("nothing was heard");
        record(state, seen, heard - t0);
        sound.wait_quiet(0.3, 5);
    }
}
}  // namespace

BENCHMARK_CAPTURE(start_to_first_sample, window, WINDOW)->UseManualTime()->Iterations(10)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(start_to_first_sample, terminal, TERMINAL)->UseManualTime()->Iterations(10)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(start_at_fresh_server, window, WINDOW)->UseManualTime()->Iterations(50)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(start_at_fresh_server, terminal, TERMINAL)->UseManualTime()->Iterations(50)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(start_to_first_sample, windows_under_wine, WINE)->UseManualTime()->Iterations(10)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(key_figures, key_to_echo_window, WINDOW, true)->UseManualTime()->Iterations(20)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(key_figures, key_to_echo_terminal, TERMINAL, true)->UseManualTime()->Iterations(20)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(key_figures, key_to_echo_windows_under_wine, WINE, true)->UseManualTime()->Iterations(20)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(key_figures, key_to_silence_window, WINDOW, false)->UseManualTime()->Iterations(10)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(key_figures, key_to_silence_terminal, TERMINAL, false)->UseManualTime()->Iterations(5)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(key_figures, key_to_silence_windows_under_wine, WINE, false)->UseManualTime()->Iterations(10)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(key_to_silence_voice, own_reader, "own")->UseManualTime()->Iterations(10)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(key_to_silence_voice, type4, "4")->UseManualTime()->Iterations(10)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(key_to_silence_voice, type5, "5")->UseManualTime()->Iterations(10)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(key_to_silence_voice, type54, "54")->UseManualTime()->Iterations(10)->Unit(benchmark::kMillisecond);
BENCHMARK(peer_espeak_first_sample)->UseManualTime()->Iterations(10)->Unit(benchmark::kMillisecond);
