// How fast the system voices start and stop speaking: from a text handed to
// a bridge to its first sound, and from a silence request to the end of the
// sound; spd-say, handing the same texts to the same private speech server,
// is the peer. The espeak-ng bridge is timed at our own sound device; the
// speech server by its own log of the output module's begin and stop events
// (level 5 keeps each with its microseconds), the one clock all its clients
// share.
//
// On the headless backend the bridges' prescribed waits pass in virtual
// time, so the figures are the engines' and bridges' own work; a real
// backend adds the 50 ms that both bridges wait before cutting the sound.
#include <benchmark/benchmark.h>

#include <spawn.h>
#include <sys/wait.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <mutex>
#include <string>
#include <vector>

#include "audio/sapi4.h"
#include "audio/sapi5.h"
#include "audio/wave_output.h"
#include "console/console.h"
#include "platform/backend.h"
#include "util/latin1.h"
#include "system_support.h"

extern char** environ;

namespace {
using SteadyClock = std::chrono::steady_clock;
using WallClock = std::chrono::system_clock;

const char* const SENTENCE = "Você está na sua cela. Tem uma serra por aqui, e o guarda dorme no corredor.";

// Headless events with the real voice libraries.
void start_platform() {
    static bool started = false;
    if (started) return;
    started = true;
    sys_set_env("FUGA_BACKEND", "headless");
    sys_set_env("FUGA_VOICES", "system");
    os_start();
    wave_reset();
}

// --- the espeak-ng bridge, watched at the sound device ---------------------
// The watched device passes everything on to `inner`: the headless device
// (virtual time) for the first sample; the null one, which plays in real
// time with no sound card, for the silence, so that sound is still playing
// when it comes (the bridge then waits for room at the device by spinning
// through the headless backend's virtual waits, hence the CPU time).
const OsAudioDevice* g_inner = nullptr;

struct DeviceWatch {
    std::mutex lock;
    bool written = false, reset = false;
    size_t bytes = 0;  // written since the last forget_device
    SteadyClock::time_point first_write, last_reset;
} g_watch;

bool watched_write(int buffer, const uint8_t* data, size_t bytes) {
    {
        std::lock_guard<std::mutex> hold(g_watch.lock);
        if (!g_watch.written) g_watch.first_write = SteadyClock::now();
        g_watch.written = true;
        g_watch.bytes += bytes;
    }
    return g_inner->write(buffer, data, bytes);
}

void watched_reset() {
    {
        std::lock_guard<std::mutex> hold(g_watch.lock);
        g_watch.last_reset = SteadyClock::now();
        g_watch.reset = true;
    }
    g_inner->reset();
}

const OsAudioDevice WATCHED_DEVICE = {
    "watched",     [](const OsAudioFormat& f) { return g_inner->open(f); },
    watched_write, watched_reset,
    [] { g_inner->close(); },
    [](const OsAudioFormat& f, const uint8_t* samples, size_t bytes) { g_inner->play_tone(f, samples, bytes); },
};

bool device_written() {
    std::lock_guard<std::mutex> hold(g_watch.lock);
    return g_watch.written;
}

void forget_device() {
    std::lock_guard<std::mutex> hold(g_watch.lock);
    g_watch.written = g_watch.reset = false;
    g_watch.bytes = 0;
}

size_t device_bytes() {
    std::lock_guard<std::mutex> hold(g_watch.lock);
    return g_watch.bytes;
}

// A real millisecond. Waiting for a message instead would end the program:
// the headless backend sends the window's close request when it finds
// nothing left to wait for in virtual time.
void pause_a_moment() {
    struct timespec pause = {0, 1000000};
    nanosleep(&pause, nullptr);
}

// Speaks SENTENCE and waits for its first sample at the device.
bool espeak_until_first_sample(SteadyClock::time_point& at) {
    forget_device();
    sapi4_speak(latin1(SENTENCE));
    auto give_up = SteadyClock::now() + std::chrono::seconds(10);
    while (!device_written()) {
        if (SteadyClock::now() > give_up) return false;
        sapi4_busy(false);
        pause_a_moment();
    }
    std::lock_guard<std::mutex> hold(g_watch.lock);
    at = g_watch.first_write;
    return true;
}

bool start_espeak(benchmark::State& state, const OsAudioDevice* inner) {
    g_inner = inner;
    start_platform();
    os_set_audio_device_for_tests(&WATCHED_DEVICE);
    if (!sapi4_start(1, 0, 0, "")) {
        state.SkipWithError("espeak-ng cannot start (Debian: libespeak-ng1, espeak-ng-data)");
        return false;
    }
    return true;
}

void stop_espeak() {
    sapi4_silence();
    sapi4_stop();
    os_set_audio_device_for_tests(nullptr);
}

void BM_EspeakBridgeTextToFirstSample(benchmark::State& state) {
    if (!start_espeak(state, headless_audio_device())) return;
    for (auto _ : state) {
        auto start = SteadyClock::now();
        SteadyClock::time_point first;
        if (!espeak_until_first_sample(first)) {
            state.SkipWithError("no sample came");
            break;
        }
        state.SetIterationTime(std::chrono::duration<double>(first - start).count());
        sapi4_silence();
    }
    stop_espeak();
}
BENCHMARK(BM_EspeakBridgeTextToFirstSample)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(20);

void BM_EspeakBridgeSilenceToEndOfSound(benchmark::State& state) {
    if (!start_espeak(state, null_audio_device())) return;
    for (auto _ : state) {
        SteadyClock::time_point first;
        if (!espeak_until_first_sample(first)) {
            state.SkipWithError("no sample came");
            break;
        }
        // Cut in the middle of the sentence, a second of it handed over.
        const size_t second = size_t(os_synth_sample_rate()) * 2;
        while (device_bytes() < second && sapi4_busy(false)) pause_a_moment();
        auto start = SteadyClock::now();
        sapi4_silence();
        std::lock_guard<std::mutex> hold(g_watch.lock);
        if (!g_watch.reset) {
            state.SkipWithError("the silence did not reset the device");
            break;
        }
        state.SetIterationTime(std::chrono::duration<double>(g_watch.last_reset - start).count());
    }
    stop_espeak();
}
BENCHMARK(BM_EspeakBridgeSilenceToEndOfSound)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(20);

// --- the speech server, watched through its log -----------------------------

// The private server of tools/private_speech_server.sh, for the whole run.
struct PrivateServer {
    std::string dir = std::string(FUGA_BINARY_DIR) + "/bench-speech-server";
    bool tried = false, running = false;
    std::ifstream log;

    bool start() {
        if (tried) return running;
        tried = true;
        std::string command = std::string(FUGA_SOURCE_DIR) + "/tools/private_speech_server.sh start " + dir;
        FILE* out = popen(command.c_str(), "r");
        if (!out) return false;
        char line[512] = {};
        bool got = std::fgets(line, sizeof line, out) != nullptr;
        running = pclose(out) == 0 && got;
        if (!running) return false;
        std::string address(line);
        while (!address.empty() && (address.back() == '\n' || address.back() == '\r')) address.pop_back();
        size_t eq = address.find('=');
        sys_set_env(address.substr(0, eq).c_str(), address.substr(eq + 1));
        log.open(dir + "/log/speech-dispatcher.log");
        return bool(log);
    }
    ~PrivateServer() {
        if (running) std::system((std::string(FUGA_SOURCE_DIR) + "/tools/private_speech_server.sh stop " + dir).c_str());
    }
} g_server;

// The log's own time of a line "[Tue Dec  8 12:29:04 2026 : 389633] ...".
bool log_time(const std::string& line, WallClock::time_point& at) {
    size_t colon = line.find(" : ");
    if (line.size() < 2 || line[0] != '[' || colon == std::string::npos) return false;
    std::tm tm{};
    if (!strptime(line.substr(1, colon - 1).c_str(), "%a %b %d %H:%M:%S %Y", &tm)) return false;
    tm.tm_isdst = -1;
    long micro = std::strtol(line.c_str() + colon + 3, nullptr, 10);
    at = WallClock::from_time_t(std::mktime(&tm)) + std::chrono::microseconds(micro);
    return true;
}

// Waits for the next log line that contains `event` ("got begin", "got
// stopped", "got end") and gives its time; the lines before it are passed.
bool next_event(const std::string& event, WallClock::time_point& at) {
    auto give_up = SteadyClock::now() + std::chrono::seconds(10);
    std::string line;
    while (SteadyClock::now() < give_up) {
        if (std::getline(g_server.log, line)) {
            if (line.find(event) != std::string::npos && log_time(line, at)) return true;
            continue;
        }
        g_server.log.clear();  // at the end for now: more is being written
        pause_a_moment();
    }
    return false;
}

// Passes everything the log holds so far.
void skip_log() {
    std::string line;
    while (std::getline(g_server.log, line)) {
    }
    g_server.log.clear();
}

void spd_say(const std::vector<std::string>& args) {
    std::vector<char*> argv;
    std::string name = "spd-say";
    argv.push_back(name.data());
    std::vector<std::string> copies = args;
    for (std::string& a : copies) argv.push_back(a.data());
    argv.push_back(nullptr);
    pid_t pid;
    if (posix_spawnp(&pid, "spd-say", nullptr, nullptr, argv.data(), environ) != 0) return;
    int status;
    waitpid(pid, &status, 0);
}

bool start_server(benchmark::State& state) {
    start_platform();
    if (!g_server.start()) {
        state.SkipWithError("the private speech-dispatcher did not start (tools/private_speech_server.sh)");
        return false;
    }
    return true;
}

double seconds_between(WallClock::time_point from, WallClock::time_point to) {
    return std::chrono::duration<double>(to - from).count();
}

// A client of the speech server: our bridge, or spd-say started for each
// request as a user of the command would.
struct ServerClient {
    bool ours;
    void speak() const {
        if (ours) sapi5_speak(latin1(SENTENCE));
        else spd_say({SENTENCE});
    }
    void silence() const {
        if (ours) sapi5_silence();
        else spd_say({"-C"});
    }
};

bool start_client(benchmark::State& state, const ServerClient& client) {
    if (!start_server(state)) return false;
    if (client.ours && !sapi5_start(1, 0, 0, "")) {
        state.SkipWithError("the speech-server bridge cannot start");
        return false;
    }
    skip_log();
    return true;
}

void stop_client(const ServerClient& client) {
    if (client.ours) sapi5_stop();
}

// From the text handed over to the server's begin of its sound.
void text_to_begin(benchmark::State& state, const ServerClient& client) {
    if (!start_client(state, client)) return;
    double handover = 0;
    for (auto _ : state) {
        auto start = WallClock::now();
        client.speak();
        handover += seconds_between(start, WallClock::now());
        WallClock::time_point begun;
        if (!next_event("got begin", begun)) {
            state.SkipWithError("the server never began");
            break;
        }
        state.SetIterationTime(seconds_between(start, begun));
        client.silence();
        next_event("got stopped", begun);
        skip_log();
    }
    // How long handing the text over takes the client itself.
    state.counters["handover_ms"] = benchmark::Counter(handover * 1000, benchmark::Counter::kAvgIterations);
    stop_client(client);
}

// From the silence request, in the middle of the sentence, to the server's
// stop of the sound.
void silence_to_stop(benchmark::State& state, const ServerClient& client) {
    if (!start_client(state, client)) return;
    double notified = 0;
    for (auto _ : state) {
        WallClock::time_point at;
        client.speak();
        if (!next_event("got begin", at)) {
            state.SkipWithError("the server never began");
            break;
        }
        auto start = WallClock::now();
        client.silence();
        // Our bridge also learns of it, by the cancel notification.
        while (client.ours && sapi5_busy()) console_dispatch_messages();
        notified += seconds_between(start, WallClock::now());
        if (!next_event("got stopped", at)) {
            state.SkipWithError("the server never stopped");
            break;
        }
        state.SetIterationTime(seconds_between(start, at));
        skip_log();
    }
    if (client.ours)
        state.counters["notified_ms"] = benchmark::Counter(notified * 1000, benchmark::Counter::kAvgIterations);
    stop_client(client);
}

constexpr ServerClient OUR_BRIDGE{true}, SPD_SAY{false};
BENCHMARK_CAPTURE(text_to_begin, speechd_bridge, OUR_BRIDGE)
    ->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(10);
BENCHMARK_CAPTURE(text_to_begin, spd_say, SPD_SAY)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(10);
BENCHMARK_CAPTURE(silence_to_stop, speechd_bridge, OUR_BRIDGE)
    ->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(10);
BENCHMARK_CAPTURE(silence_to_stop, spd_say, SPD_SAY)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(10);
}  // namespace
