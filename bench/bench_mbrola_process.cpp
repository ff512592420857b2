// What one text costs through the `mbrola` program: a process started for the
// text (the voice loaded each time), one persistent process fed a flush line
// per text, and the built-in binding as the engine uses it (a process per
// text, started ahead while the previous text ends). The lines are those of a
// ten-word sentence with pitch points. Needs mbrola and its br1 voice.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "platform/os.h"
#include "verna/mbrola.h"

namespace {

constexpr const char* BR1 = "/usr/share/mbrola/br1/br1";

// "o preso abriu a porta da cela com a chave velha"
std::string sentence_lines() {
    const char* phones[] = {"o",  "p",  "r", "e", "z", "u",  "a", "b", "r",  "i", "w", "a", "p", "O", "r2", "t", "a",
                            "d",  "a",  "s", "E", "l", "a",  "k", "o", "m",  "a", "x", "a", "v", "i", "v",  "E", "lh",
                            "a"};
    std::string text = "_ 100\n";
    int i = 0;
    for (const char* p : phones) {
        text += p;
        text += (i % 3 == 0) ? " 90 50 230\n" : " 80\n";
        ++i;
    }
    text += "_ 200\n";
    return text;
}

bool start(OsChild& child) {
    const char* argv[] = {"mbrola", "-e", BR1, "-", "-", nullptr};
    return os_child_start(argv, child);
}

// Writes `input` (closing the input after it when `close_after`) and reads
// until `want` bytes came (0: until the end of output).
size_t exchange(OsChild& child, const std::string& input, bool close_after, size_t want) {
    std::string out, err;
    size_t written = 0;
    for (;;) {
        OsChildIo r = os_child_exchange(child, input.data(), input.size(), written, out, err, 100);
        if (close_after && written == input.size()) os_child_close_input(child);
        if (r == OsChildIo::Ended || r == OsChildIo::Failed) break;
        if (want && out.size() >= want && written == input.size()) break;
    }
    return out.size();
}

size_t sentence_bytes() {
    static size_t bytes = 0;
    if (!bytes) {
        OsChild child;
        if (start(child)) bytes = exchange(child, sentence_lines(), true, 0);
        os_child_finish(child, true);
    }
    return bytes;
}

bool have_voice(benchmark::State& state) {
    if (!os_find_program("mbrola").empty() && os_file_exists(BR1) && sentence_bytes() > 0) return true;
    state.SkipWithError("mbrola or the br1 voice is not installed");
    return false;
}

void BM_ProcessPerText(benchmark::State& state) {
    if (!have_voice(state)) return;
    std::string lines = sentence_lines();
    for (auto _ : state) {
        OsChild child;
        start(child);
        benchmark::DoNotOptimize(exchange(child, lines, true, 0));
        os_child_finish(child, false);
    }
}
BENCHMARK(BM_ProcessPerText)->Unit(benchmark::kMillisecond);

void BM_PersistentProcess(benchmark::State& state) {
    if (!have_voice(state)) return;
    std::string lines = sentence_lines() + "#\n";
    size_t want = sentence_bytes();
    OsChild child;
    start(child);
    for (auto _ : state) benchmark::DoNotOptimize(exchange(child, lines, false, want));
    os_child_finish(child, true);
}
BENCHMARK(BM_PersistentProcess)->Unit(benchmark::kMillisecond);

void BM_BuiltinBinding(benchmark::State& state) {
    if (!have_voice(state)) return;
    mbrola_set_library("");
    if (!mbrola_bind() || mbrola().init(BR1) < 0) {
        state.SkipWithError("the built-in binding did not start");
        return;
    }
    const MbrolaApi& m = mbrola();
    m.set_no_error(1);
    std::vector<std::string> lines;
    std::string all = sentence_lines();
    for (size_t pos = 0, nl; (nl = all.find('\n', pos)) != std::string::npos; pos = nl + 1)
        lines.push_back(all.substr(pos, nl - pos) + "\r\n");
    static short buf[MBROLA_MAX_READ];
    for (auto _ : state) {
        m.reset();
        long total = 0;
        for (const std::string& l : lines) {
            m.write(l.c_str());
            for (int n; (n = m.read(buf, MBROLA_MAX_READ)) > 0;) total += n;
        }
        m.flush();
        for (int n; (n = m.read(buf, MBROLA_MAX_READ)) > 0;) total += n;
        benchmark::DoNotOptimize(total);
        // The engine's caller plays the sound meanwhile; here the next
        // process gets the same head start as between two game messages.
        state.PauseTiming();
        os_sleep_ms(50);
        state.ResumeTiming();
    }
    m.close();
    mbrola_unbind();
}
BENCHMARK(BM_BuiltinBinding)->Unit(benchmark::kMillisecond);

}  // namespace
