// The Portuguese engine from text to phoneme lines on the 1,000-word text
// bench/texto_1000_palavras.txt (normaliser, tokens, patterns, rules and
// stress), next to espeak-ng turning the same text into phonemes for the same
// MBROLA voice (`espeak-ng -v mb-br1 -q --pho`, its program as installed; the
// run with an empty text shows what of that is the program's start).
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

#include "util/latin1.h"
#include "verna/abbreviations.h"
#include "verna/letter_rules.h"
#include "verna/message.h"
#include "verna/normalise.h"
#include "verna/prosody.h"
#include "verna/tokens.h"

namespace {
std::string read_file(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

std::string text_path() { return std::string(FUGA_SOURCE_DIR) + "/bench/texto_1000_palavras.txt"; }
std::string data(const char* name) { return latin1(read_file(std::string(FUGA_SOURCE_DIR) + "/data/verna/" + name)); }

void quiet(const std::string&) {}

bool load_engine_data() {
    verna_set_message_recorder(quiet);
    return verna_load_rules_text(data("portug.nrl"), "portug.nrl") &&
           verna_load_exceptions_text(data("portug.exc"), "portug.exc") &&
           verna_load_abbreviations_text(data("portug.abr"), "portug.abr") &&
           verna_load_prosody_text(data("portug.pro"), "portug.pro");
}

void BM_VernaTextToPhonemes1000Words(benchmark::State& st) {
    if (!load_engine_data()) st.SkipWithError("engine data not loaded");
    const std::string text = latin1(read_file(text_path()));
    size_t lines = 0;
    for (auto _ : st) {
        VernaLines out = verna_text_to_phonemes(verna_assign_patterns(verna_tokenise(verna_normalise_text(text))));
        lines = out.size();
        benchmark::DoNotOptimize(out);
    }
    st.SetItemsProcessed(static_cast<int64_t>(st.iterations()) * 1000);
    st.counters["words_per_second"] = benchmark::Counter(1000.0 * st.iterations(), benchmark::Counter::kIsRate);
    st.counters["phoneme_lines"] = static_cast<double>(lines);
}
BENCHMARK(BM_VernaTextToPhonemes1000Words)->Unit(benchmark::kMillisecond)->UseRealTime();

void run_espeak(benchmark::State& st, const std::string& file, int words) {
    std::string cmd = "espeak-ng -v mb-br1 -q --pho -f '" + file + "' > /dev/null 2>&1";
    for (auto _ : st) {
        if (std::system(cmd.c_str()) != 0) {
            st.SkipWithError("espeak-ng -v mb-br1 failed (is mbrola-br1 installed?)");
            break;
        }
    }
    st.SetItemsProcessed(static_cast<int64_t>(st.iterations()) * words);
    st.counters["words_per_second"] =
        benchmark::Counter(static_cast<double>(words) * st.iterations(), benchmark::Counter::kIsRate);
}

void BM_EspeakMbrolaPhonemes1000Words(benchmark::State& st) { run_espeak(st, text_path(), 1000); }
BENCHMARK(BM_EspeakMbrolaPhonemes1000Words)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_EspeakMbrolaPhonemesEmptyText(benchmark::State& st) { run_espeak(st, "/dev/null", 0); }
BENCHMARK(BM_EspeakMbrolaPhonemesEmptyText)->Unit(benchmark::kMillisecond)->UseRealTime();
}  // namespace
