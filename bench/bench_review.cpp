// The screen review's latencies on the headless backend with the generated
// installation data (sound blocks take virtual time, so the CPU time is the
// program's own work): from a review key to the first block of the sound it
// makes, for the keys that read a line, a word, a character and the
// position, beside the line editor's Ctrl+F1 on the same line; and reading
// the whole game screen with "TT", in CPU time and in the time a player
// listens to it.
#include <benchmark/benchmark.h>
#include <time.h>

#include <string>
#include <vector>

#include "audio/wave_output.h"
#include "console/console.h"
#include "diphone/diphone.h"
#include "platform/backend.h"
#include "platform/config.h"
#include "platform/headless/headless.h"
#include "review/review.h"
#include "speech/line_editor.h"
#include "speech/speech.h"
#include "util/latin1.h"
#include "system_support.h"

namespace {
const std::string DATA = std::string(FUGA_BINARY_DIR) + "/data";

// The screen at the game's first prompt.
const char* const GAME_SCREEN[CONSOLE_MAX_ROWS] = {
    "FUGA DE VAL MORVELA",
    "-------------------",
    "",
    "Varnio Keltis, conhecido político americano, foi acusado injustamente",
    "de ter assassinado a própria esposa e condenado à prisão perpétua.",
    "Há meses ele cumpre a pena no presídio de Val Morvela, o mais temido",
    "do país, de onde nenhum preso jamais conseguiu escapar.",
    "",
    "Esta noite, um curto-circuito na casa de força do presídio causou um",
    "blecaute, e Varnio Keltis decidiu aproveitar a escuridão para fugir.",
    "Seu plano é roubar um uniforme na lavanderia para enganar os guardas",
    "que encontrar no caminho até o portão de saída.",
    "",
    "Talvez ele precise de uma arma para enfrentar algum guarda mais atento.",
    "E, se achar objetos de valor pelo caminho, deve levá-los consigo:",
    "a vida de um fugitivo lá fora não vai ser nada fácil, e cada centavo",
    "vai fazer falta quando ele estiver bem longe daqui.",
    "",
    "Você vai acompanhá-lo nessa difícil e perigosa empreitada.",
    "",
    "Você está na sua cela.",
    "Está preso.",
    "Tem uma serra por aqui.",
    "",
    "Que fazer? ",
};
constexpr int LINE_ROW = 4;  // the row the line keys read

double cpu_seconds() {
    timespec ts;
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
    return ts.tv_sec + ts.tv_nsec * 1e-9;
}

// The headless device, noting the CPU time of each playback's first block
// and of each close with the virtual clock then (a playback ends by closing
// the device). Index 0 is the first playback.
struct DeviceWatch {
    std::vector<double> first_block;
    std::vector<double> closed_at;
    std::vector<uint64_t> closed_ticks;
    bool block_seen = false;
} g_watch;
OsAudioDevice g_device;

OsAudioOpen watched_open(const OsAudioFormat& fmt) {
    g_watch.block_seen = false;
    return headless_audio_device()->open(fmt);
}
bool watched_write(int buffer, const uint8_t* data, size_t bytes) {
    if (!g_watch.block_seen) g_watch.first_block.push_back(cpu_seconds());
    g_watch.block_seen = true;
    return headless_audio_device()->write(buffer, data, bytes);
}
void watched_close() {
    g_watch.closed_at.push_back(cpu_seconds());
    g_watch.closed_ticks.push_back(os_ticks_ms());
    headless_audio_device()->close();
}

void clear_watch() {
    g_watch.first_block.clear();
    g_watch.closed_at.clear();
    g_watch.closed_ticks.clear();
    g_watch.block_seen = false;
}

void start_speech_on_game_screen() {
    sys_set_env("FUGA_BACKEND", "headless");
    sys_set_env("TALUNE_HOME", DATA);
    os_start();
    g_device = *headless_audio_device();
    g_device.open = watched_open;
    g_device.write = watched_write;
    g_device.close = watched_close;
    os_set_audio_device_for_tests(&g_device);
    headless_reset_for_test("");
    config_reset();
    console_reset();
    wave_reset();
    diphone_reset();
    speech_reset();
    review_reset();
    speech_module_start();
    speech_start(3, DATA + "/som");
    speech_set_speak_punctuation(false);
    console_open();
    console_set_text_colour(15);
    for (int r = 1; r <= CONSOLE_MAX_ROWS; ++r) {
        console_move_cursor(1, r);
        console_write_text(latin1(GAME_SCREEN[r - 1]));
    }
}

// The review from (column 12, LINE_ROW) with `keys` then Esc; the key is
// read as soon as the entry beep (playback 1) has ended, and its own sound
// is playback 2. Returns the CPU seconds between the two.
double review_key_to_first_sound(const std::string& keys) {
    headless_reset_for_test(keys + "{Esc}");
    clear_watch();
    console_move_cursor(12, LINE_ROW);
    review_run();
    // Entry beep, the key's sound, two exit beeps: at least four playbacks.
    if (g_watch.first_block.size() < 4 || g_watch.closed_at.empty()) return -1;
    return g_watch.first_block[1] - g_watch.closed_at[0];
}

void BM_ReviewKeyToFirstSound(benchmark::State& state, const char* keys) {
    start_speech_on_game_screen();
    for (auto _ : state) {
        double seconds = review_key_to_first_sound(keys);
        if (seconds < 0) {
            state.SkipWithError("the key made no sound of its own");
            break;
        }
        state.SetIterationTime(seconds);
    }
    state.counters["playbacks"] = static_cast<double>(g_watch.closed_at.size());
}
// Space reads the line (its first word synthesized), F1 the word at the
// cursor, Right spells the character under it (a recording), Ctrl+K says
// the position (number fragments).
BENCHMARK_CAPTURE(BM_ReviewKeyToFirstSound, space_line, " ")->UseManualTime()->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_ReviewKeyToFirstSound, f1_word, "{F1}")->UseManualTime()->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_ReviewKeyToFirstSound, right_char, "{Right}")->UseManualTime()->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_ReviewKeyToFirstSound, ctrl_k_position, "{Ctrl+k}")
    ->UseManualTime()
    ->Unit(benchmark::kMicrosecond);

// The line editor's own reading of a whole line, Ctrl+F1, on the text of the
// row that Space reads, timed the same way: Left first (it says the
// character reached, a playback of its own), then Ctrl+F1.
void BM_EditorCtrlF1ToFirstSound(benchmark::State& state) {
    start_speech_on_game_screen();
    const std::string line = latin1(GAME_SCREEN[LINE_ROW - 1]);
    for (auto _ : state) {
        headless_reset_for_test("{Left}{Ctrl+F1}{Esc}\n");
        clear_watch();
        std::string text = line;
        speech_edit_field(text, 1, CONSOLE_MAX_ROWS, true, 78, 255);
        if (g_watch.first_block.size() < 2 || g_watch.closed_at.empty()) {
            state.SkipWithError("Left or Ctrl+F1 made no sound");
            break;
        }
        state.SetIterationTime(g_watch.first_block[1] - g_watch.closed_at[0]);
        if (state.iterations() == 0) state.counters["playbacks"] = static_cast<double>(g_watch.closed_at.size());
    }
}
BENCHMARK(BM_EditorCtrlF1ToFirstSound)->UseManualTime()->Unit(benchmark::kMicrosecond);

// "TT" over the whole game screen: the CPU time from the key to the end of
// the reading (the exit beeps are playbacks of their own and not counted),
// and as counters the time a player listens to it and the words read.
void BM_ReviewWholeScreenTT(benchmark::State& state) {
    start_speech_on_game_screen();
    double listened_ms = 0;
    size_t playbacks = 0;
    for (auto _ : state) {
        headless_reset_for_test("tt{Esc}");
        clear_watch();
        console_move_cursor(12, LINE_ROW);
        review_run();
        // The first playback is the entry beep, the last two the exit beeps.
        size_t n = g_watch.closed_at.size();
        if (n < 4) {
            state.SkipWithError("the screen was not read");
            break;
        }
        state.SetIterationTime(g_watch.closed_at[n - 3] - g_watch.closed_at[0]);
        listened_ms = static_cast<double>(g_watch.closed_ticks[n - 3] - g_watch.closed_ticks[0]);
        playbacks = n - 3;
    }
    state.counters["listened_ms"] = listened_ms;
    state.counters["playbacks"] = static_cast<double>(playbacks);
}
BENCHMARK(BM_ReviewWholeScreenTT)->UseManualTime()->Unit(benchmark::kMillisecond);
}  // namespace
