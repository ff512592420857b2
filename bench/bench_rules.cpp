// Phoneme conversion rate of the rule engine on the 1,000-word text
// bench/texto_1000_palavras.txt, with the project's rule file and exceptions.
#include <benchmark/benchmark.h>

#include <fstream>
#include <sstream>
#include <string>

#include "diphone/rules.h"
#include "util/latin1.h"

namespace {

std::string read_latin1(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return latin1(s.str());
}

const std::string& text_1000_words() {
    static const std::string text = read_latin1(std::string(FUGA_SOURCE_DIR) + "/bench/texto_1000_palavras.txt");
    return text;
}

bool load_project_rules() {
    static const std::string rules = read_latin1(std::string(FUGA_SOURCE_DIR) + "/data/regras.rgr");
    static const std::string exceptions = read_latin1(std::string(FUGA_SOURCE_DIR) + "/data/portug.exc");
    return rules_load_text(rules, "regras.rgr") && rules_load_exceptions_text(exceptions, "portug.exc");
}

void BM_LoadRulesAndExceptions(benchmark::State& st) {
    for (auto _ : st) benchmark::DoNotOptimize(load_project_rules());
}
BENCHMARK(BM_LoadRulesAndExceptions);

// The whole text in one call; items are words.
void BM_TextToPhonemes1000Words(benchmark::State& st) {
    if (!load_project_rules()) st.SkipWithError("rule files not loaded");
    const std::string& text = text_1000_words();
    size_t out = 0;
    for (auto _ : st) {
        std::string p = rules_text_to_phonemes(text);
        out = p.size();
        benchmark::DoNotOptimize(p);
    }
    st.SetItemsProcessed(static_cast<int64_t>(st.iterations()) * 1000);
    st.SetBytesProcessed(static_cast<int64_t>(st.iterations() * text.size()));
    st.counters["phoneme_bytes"] = static_cast<double>(out);
}
BENCHMARK(BM_TextToPhonemes1000Words)->Unit(benchmark::kMicrosecond);

// The same text in pieces of at most 999 characters, as the speech front
// end hands runs of letters over.
void BM_TextToPhonemesInPieces(benchmark::State& st) {
    if (!load_project_rules()) st.SkipWithError("rule files not loaded");
    const std::string& text = text_1000_words();
    for (auto _ : st)
        for (size_t pos = 0; pos < text.size(); pos += 999)
            benchmark::DoNotOptimize(rules_text_to_phonemes(std::string_view(text).substr(pos, 999)));
    st.SetItemsProcessed(static_cast<int64_t>(st.iterations()) * 1000);
}
BENCHMARK(BM_TextToPhonemesInPieces)->Unit(benchmark::kMicrosecond);

}  // namespace
