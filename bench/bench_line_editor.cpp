// Cost of the line editor's word moves on the longest field, and of whole
// edits driven by a key script (typing, selecting and deleting everything).
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <string>

#include "console/console.h"
#include "platform/headless/headless.h"
#include "speech/line_editor.h"
#include "speech/line_editor_words.h"
#include "speech/speech.h"

namespace {
std::string words_field() {
    std::string t;
    while (t.size() + 12 < EDITOR_MAX_LENGTH) t += "pegar 12 a.b ";
    t.resize(EDITOR_MAX_LENGTH, ' ');
    return t;
}

void BM_WordRightThroughField(benchmark::State& state) {
    std::string t = words_field();
    for (auto _ : state) {
        int p = 1;
        EditorMove m{1, false};
        do {
            m = editor_word_right(t, p);
            p = m.position;
        } while (!m.boundary);
        benchmark::DoNotOptimize(p);
    }
}
BENCHMARK(BM_WordRightThroughField);

void BM_WordLeftThroughField(benchmark::State& state) {
    std::string t = words_field();
    for (auto _ : state) {
        int p = EDITOR_MAX_LENGTH + 1;
        EditorMove m{p, false};
        do {
            m = editor_word_left(t, p);
            p = m.position;
        } while (!m.boundary);
        benchmark::DoNotOptimize(p);
    }
}
BENCHMARK(BM_WordLeftThroughField);

// One edit of a field of state.range(0) characters: End, Shift+Home, Delete
// (every character deleted and spoken one by one), then Return. Speech needs
// its installation: run with TALUNE_HOME=build/data.
void BM_EditDeleteWholeSelection(benchmark::State& state) {
    int n = static_cast<int>(state.range(0));
    if (!std::getenv("TALUNE_HOME")) {
        state.SkipWithError("TALUNE_HOME is not set (use build/data)");
        return;
    }
    speech_module_start();
    speech_start(3, "");
    for (auto _ : state) {
        state.PauseTiming();
        console_reset();
        headless_reset_for_test("{End}{Shift+Home}{Delete}\n", "2026-01-05 10:00:00");
        std::string text(static_cast<size_t>(n), 'a');
        state.ResumeTiming();
        speech_edit_field(text, 1, 1, true, 78, n);
        benchmark::DoNotOptimize(text.data());
    }
}
BENCHMARK(BM_EditDeleteWholeSelection)->Arg(255)->Arg(EDITOR_MAX_LENGTH);
}  // namespace
