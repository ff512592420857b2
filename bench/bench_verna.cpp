// The Portuguese engine with the generated installation data and MBROLA's br1
// voice, on the headless backend, in wall-clock time (MBROLA works in a
// process of its own): the front end (text to MBROLA lines) against MBROLA's
// synthesis of those lines, both for the 1,000-word text; a ten-word sentence
// from verna_speak to its first image on the sound device; the whole path
// of the 1,000-word text into a WAV file, next to espeak-ng speaking the same
// text with its br1 MBROLA voice into a WAV file.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "audio/wave_output.h"
#include "console/console.h"
#include "platform/backend.h"
#include "platform/config.h"
#include "platform/headless/headless.h"
#include "util/latin1.h"
#include "verna/backend.h"
#include "verna/mbrola.h"
#include "verna/message.h"
#include "verna/synthesis.h"
#include "verna/verna.h"
#include "system_support.h"

namespace {

using Clock = std::chrono::steady_clock;
const std::string DATA = std::string(FUGA_BINARY_DIR) + "/data";
const std::string TEXT_FILE = std::string(FUGA_SOURCE_DIR) + "/bench/texto_1000_palavras.txt";
const std::string SENTENCE = latin1("O preso abriu a porta da cela com a chave velha.");

std::string read_text() {
    std::ifstream in(TEXT_FILE, std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    return latin1(ss.str());
}

Clock::time_point g_first_block;
bool g_block_seen = false;
OsAudioDevice g_device;
bool timed_write(int buffer, const uint8_t* data, size_t bytes) {
    if (!g_block_seen) g_first_block = Clock::now(), g_block_seen = true;
    return headless_audio_device()->write(buffer, data, bytes);
}

void ignore(const std::string&) {}

// Starts the engine as type 3 does, from the generated TALUNE.INI.
bool start_engine(benchmark::State& state, const std::string& output_file = "") {
    sys_set_env("FUGA_BACKEND", "headless");
    sys_set_env("TALUNE_HOME", DATA);
    os_start();
    headless_reset_for_test("");
    config_reset();
    console_reset();
    wave_reset();
    g_device = *headless_audio_device();
    g_device.write = timed_write;
    os_set_audio_device_for_tests(&g_device);
    verna_set_message_recorder(ignore);
    verna_reset();
    verna_backend_reset();
    const VernaBackendFiles& f = verna_backend_files();
    verna_set_output_file(output_file);
    if (!verna_start(f.database, f.rules, f.exceptions, f.abbreviations, f.prosody, f.diphones)) {
        state.SkipWithError("the engine did not start (build fuga_data; install mbrola and mbrola-br1)");
        verna_stop();
        return false;
    }
    verna_set_factors(1.0, 1.0);
    return true;
}

std::vector<std::string> lines_of(const std::string& text) {
    std::vector<std::string> lines;
    std::string all = verna_mbrola_text(text);
    for (size_t pos = 0, nl; (nl = all.find('\n', pos)) != std::string::npos; pos = nl + 1)
        lines.push_back(all.substr(pos, nl - pos));
    return lines;
}

void BM_FrontEndToMbrolaLines(benchmark::State& state) {
    if (!start_engine(state)) return;
    std::string text = read_text();
    for (auto _ : state) benchmark::DoNotOptimize(verna_mbrola_text(text));
    state.counters["lines"] = double(lines_of(text).size());
    verna_stop();
}
BENCHMARK(BM_FrontEndToMbrolaLines)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_MbrolaSynthesisOfTheLines(benchmark::State& state) {
    std::string out = "/tmp/fuga_bench_verna_" + std::to_string(sys_process_id()) + ".raw";
    if (!start_engine(state)) return;
    std::vector<std::string> lines = lines_of(read_text());
    FILE* f = std::fopen(out.c_str(), "wb");
    for (auto _ : state) {
        std::rewind(f);
        benchmark::DoNotOptimize(verna_synthesise(lines, f));
    }
    state.counters["audio_s"] = double(verna_synthesised_bytes()) / 2.0 / 16000.0;
    std::fclose(f);
    std::remove(out.c_str());
    verna_stop();
}
BENCHMARK(BM_MbrolaSynthesisOfTheLines)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_SentenceToFirstImage(benchmark::State& state) {
    if (!start_engine(state)) return;
    for (auto _ : state) {
        g_block_seen = false;
        auto t0 = Clock::now();
        verna_speak(SENTENCE);
        verna_silence();
        if (!g_block_seen) {
            state.SkipWithError("no sound reached the device");
            break;
        }
        state.SetIterationTime(std::chrono::duration<double>(g_first_block - t0).count());
    }
    verna_stop();
}
BENCHMARK(BM_SentenceToFirstImage)->UseManualTime()->Unit(benchmark::kMillisecond);

void BM_WholePathToWav(benchmark::State& state) {
    std::string out = "/tmp/fuga_bench_verna_" + std::to_string(sys_process_id()) + ".wav";
    std::string text = read_text();
    for (auto _ : state) {
        state.PauseTiming();
        bool ok = start_engine(state, out);
        state.ResumeTiming();
        if (!ok) break;
        verna_speak(text);
        verna_stop();
    }
    std::remove(out.c_str());
}
BENCHMARK(BM_WholePathToWav)->Unit(benchmark::kMillisecond)->Iterations(5)->UseRealTime();

void BM_EspeakMbrolaBr1ToWav(benchmark::State& state) {
    std::string out = "/tmp/fuga_bench_espeak_mb_" + std::to_string(sys_process_id()) + ".wav";
    std::string cmd = "espeak-ng -v mb-br1 -w " + out + " -f '" + TEXT_FILE + "' 2>/dev/null";
    for (auto _ : state)
        if (std::system(cmd.c_str()) != 0) {
            state.SkipWithError("espeak-ng with mb-br1 failed");
            break;
        }
    std::remove(out.c_str());
}
BENCHMARK(BM_EspeakMbrolaBr1ToWav)->Unit(benchmark::kMillisecond)->Iterations(5)->UseRealTime();

}  // namespace
