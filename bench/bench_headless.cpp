// Cost of reading key scripts and of the headless event loop per event.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "platform/backend.h"
#include "platform/headless/headless.h"
#include "platform/headless/key_script.h"

namespace {
std::string sample_script(int lines) {
    std::string s;
    for (int i = 0; i < lines; ++i) s += "pegar a chave{Enter}ir para o norte\n{wait 120}{Ctrl+Left}{down f}{up f}\xC3\xA7\n";
    return s;
}

void BM_ParseKeyScript(benchmark::State& state) {
    std::string text = sample_script(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        std::vector<KeyItem> items;
        KeyScriptError err;
        benchmark::DoNotOptimize(key_script_parse(text, items, err));
        benchmark::DoNotOptimize(items.data());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(text.size()));
}
BENCHMARK(BM_ParseKeyScript)->Arg(10)->Arg(1000);

// One sound block written and its end waited for: what every buffer of a
// playback costs in a headless run.
void BM_SoundBlockRoundTrip(benchmark::State& state) {
    headless_reset_for_test("", "2026-01-01 12:00:00");
    const OsAudioDevice& dev = *headless_audio_device();
    OsAudioFormat f;
    dev.open(f);
    std::vector<uint8_t> block(4096, 128);
    OsEvent ev;
    for (auto _ : state) {
        dev.write(1, block.data(), block.size());
        benchmark::DoNotOptimize(headless_backend()->wait_event(ev, -1, false));
    }
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations()));
}
BENCHMARK(BM_SoundBlockRoundTrip);

// Script keys handed out to a key wait, all three events of each.
void BM_ScriptKeyDelivery(benchmark::State& state) {
    std::string text(100000, 'a');
    OsEvent ev;
    headless_reset_for_test(text, "2026-01-01 12:00:00");
    int left = 100000;
    for (auto _ : state) {
        if (left-- == 0) {
            state.PauseTiming();
            headless_reset_for_test(text, "2026-01-01 12:00:00");
            left = 99999;
            state.ResumeTiming();
        }
        headless_backend()->wait_event(ev, -1, true);
        while (headless_backend()->poll_event(ev)) {
        }
    }
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations()));
}
BENCHMARK(BM_ScriptKeyDelivery);
}  // namespace
