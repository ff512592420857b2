// Cost of the terminal backend's cell-cached drawing and of key decoding:
// time per operation and bytes sent to the terminal.
#include <benchmark/benchmark.h>

#include <string>

#include "platform/terminal/key_decoder.h"
#include "platform/terminal/terminal_screen.h"

namespace {
size_t g_bytes = 0;
size_t g_writes = 0;
void count_write(const char*, size_t count) {
    g_bytes += count;
    ++g_writes;
}

const OsRgb WHITE{255, 255, 255}, BLACK{0, 0, 0}, YELLOW{255, 255, 0};

// A screen of text as the game leaves it: every row written, two colours.
void fill_rows(int first_line) {
    for (int r = 0; r < TERM_SCREEN_MAX_ROWS; ++r) {
        std::string line = "Linha " + std::to_string(first_line + r) + ": voce esta no patio da prisao.";
        line.resize(TERM_SCREEN_MAX_COLUMNS, ' ');
        const unsigned char* p = reinterpret_cast<const unsigned char*>(line.data());
        term_screen_draw(0, r, p, 12, YELLOW, BLACK);
        term_screen_draw(12, r, p + 12, TERM_SCREEN_MAX_COLUMNS - 12, WHITE, BLACK);
    }
}

void open_screen() {
    term_screen_reset();
    term_screen_set_writer(count_write);
    term_screen_open(100, 30);
    fill_rows(0);
    term_screen_flush();
    g_bytes = 0;
    g_writes = 0;
}

// The console repaints every row after a line feed on the bottom row: all
// rows change, the costliest case.
void BM_TerminalScrollRepaint(benchmark::State& state) {
    open_screen();
    int line = 0;
    for (auto _ : state) {
        fill_rows(++line);
        term_screen_flush();
    }
    state.counters["bytes_per_scroll"] = benchmark::Counter(static_cast<double>(g_bytes) / state.iterations());
    state.counters["writes_per_scroll"] = benchmark::Counter(static_cast<double>(g_writes) / state.iterations());
}
BENCHMARK(BM_TerminalScrollRepaint);

// A repaint of an unchanged screen (an Expose): nothing should be sent.
void BM_TerminalUnchangedRepaint(benchmark::State& state) {
    open_screen();
    for (auto _ : state) {
        fill_rows(0);
        term_screen_flush();
    }
    state.counters["bytes_per_repaint"] = benchmark::Counter(static_cast<double>(g_bytes) / state.iterations());
}
BENCHMARK(BM_TerminalUnchangedRepaint);

// One typed character echoed with the caret shown.
void BM_TerminalEchoOneCell(benchmark::State& state) {
    open_screen();
    term_screen_caret(true, 10, 24);
    unsigned char c = 'a';
    for (auto _ : state) {
        c = c == 'z' ? 'a' : c + 1;
        term_screen_draw(10, 24, &c, 1, WHITE, BLACK);
        term_screen_flush();
    }
    state.counters["bytes_per_echo"] = benchmark::Counter(static_cast<double>(g_bytes) / state.iterations());
}
BENCHMARK(BM_TerminalEchoOneCell);

// Decoding a mix of typed text, accents and cursor keys.
void BM_TerminalDecodeKeys(benchmark::State& state) {
    const std::string input = "pegar a chave\r\x1b[A\x1b[1;5D\xc3\xa7\xc3\xa3o\x1bOP\x7f";
    term_keys_reset();
    uint64_t now = 0;
    int64_t events = 0;
    for (auto _ : state) {
        term_keys_feed(reinterpret_cast<const unsigned char*>(input.data()), input.size(), ++now);
        OsEvent ev;
        while (term_keys_next(ev, now)) ++events;
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(input.size()));
    state.counters["events"] = benchmark::Counter(static_cast<double>(events), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_TerminalDecodeKeys);
}  // namespace
