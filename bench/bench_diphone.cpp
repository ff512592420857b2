// How fast the own synthesizer turns a 1,000-word Portuguese text into
// sound, next to espeak-ng writing the same text to a WAV file. Runs from
// the build tree: the voice comes from <program dir>/data, the text from
// FUGA_BENCH_TEXT or <program dir>/../bench/texto_1000_palavras.txt.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "diphone/diphone.h"
#include "diphone/rules.h"
#include "platform/os.h"
#include "util/latin1.h"
#include "util/wave_format.h"
#include "system_support.h"

namespace {

std::string program_dir() {
    std::string p = os_program_path();
    size_t slash = p.rfind('/');
    return slash == std::string::npos ? "." : p.substr(0, slash);
}

std::string text_path() {
    const char* env = std::getenv("FUGA_BENCH_TEXT");
    return env && *env ? env : program_dir() + "/../bench/texto_1000_palavras.txt";
}

std::string read_text() {
    std::ifstream in(text_path(), std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    return latin1(ss.str());
}

// The runs the front end hands to the rules: letters and blanks, at most 999.
std::vector<std::string> phrase_runs(const std::string& text, size_t& words) {
    std::vector<std::string> runs;
    std::string cur;
    words = 0;
    bool in_word = false;
    for (char ch : text + ".") {
        unsigned char c = static_cast<unsigned char>(ch);
        bool letter = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c >= 160;
        if (letter && !in_word) ++words;
        in_word = letter;
        if (letter || c == ' ') {
            cur += ch;
            if (cur.size() == 999) runs.push_back(std::move(cur)), cur.clear();
        } else if (!cur.empty()) {
            runs.push_back(std::move(cur));
            cur.clear();
        }
    }
    return runs;
}

size_t g_samples = 0;

bool start_voice() {
    sys_set_env("TALUNE_HOME", program_dir() + "/data");
    diphone_reset();
    diphone_set_output_hook([](const uint8_t*, size_t bytes, void*) { g_samples += bytes - WAVE_HEADER_BYTES; }, nullptr);
    return diphone_start() == 0;
}

void BM_PhonemeConversion(benchmark::State& state) {
    size_t words = 0;
    std::vector<std::string> runs = phrase_runs(read_text(), words);
    if (words == 0 || !start_voice()) {
        state.SkipWithError("no text or no voice (build the fuga_data target)");
        return;
    }
    for (auto _ : state)
        for (const std::string& r : runs) benchmark::DoNotOptimize(rules_text_to_phonemes(r));
    state.counters["words/s"] = benchmark::Counter(static_cast<double>(words), benchmark::Counter::kIsIterationInvariantRate);
    diphone_reset();
}
BENCHMARK(BM_PhonemeConversion)->Unit(benchmark::kMillisecond)->UseRealTime();

// Text to assembled sound (rules, units, the 64000-byte buffer), not played.
void BM_SoundAssembly(benchmark::State& state) {
    size_t words = 0;
    std::vector<std::string> runs = phrase_runs(read_text(), words);
    if (words == 0 || !start_voice()) {
        state.SkipWithError("no text or no voice (build the fuga_data target)");
        return;
    }
    diphone_set_database("DIFONES" + std::to_string(state.range(0)));
    if (diphone_start() != 0) {
        state.SkipWithError("voice database missing");
        return;
    }
    size_t samples = 0;
    for (auto _ : state) {
        g_samples = 0;
        for (const std::string& r : runs) diphone_speak(rules_text_to_phonemes(r), false);
        samples = g_samples;
    }
    state.counters["words/s"] = benchmark::Counter(static_cast<double>(words), benchmark::Counter::kIsIterationInvariantRate);
    state.counters["audio_s"] = static_cast<double>(samples) / 11025.0;
    state.counters["audio_s/s"] = benchmark::Counter(static_cast<double>(samples) / 11025.0, benchmark::Counter::kIsIterationInvariantRate);
    diphone_reset();
}
BENCHMARK(BM_SoundAssembly)->Arg(2)->Arg(5)->Unit(benchmark::kMillisecond)->UseRealTime();

// espeak-ng (its program, as installed) writing the same text to a WAV file.
void BM_EspeakToWav(benchmark::State& state) {
    size_t words = 0;
    phrase_runs(read_text(), words);
    if (words == 0) {
        state.SkipWithError("no text");
        return;
    }
    std::string out = "/tmp/fuga_bench_espeak_" + std::to_string(sys_process_id()) + ".wav";
    std::string cmd = "espeak-ng -v pt-br -w " + out + " -f '" + text_path() + "' 2>/dev/null";
    for (auto _ : state)
        if (std::system(cmd.c_str()) != 0) {
            state.SkipWithError("espeak-ng failed");
            break;
        }
    std::remove(out.c_str());
    state.counters["words/s"] = benchmark::Counter(static_cast<double>(words), benchmark::Counter::kIsIterationInvariantRate);
}
BENCHMARK(BM_EspeakToWav)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();

}  // namespace
