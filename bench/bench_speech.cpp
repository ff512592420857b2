// The speech front end's latencies, with the generated installation data on
// the headless backend (sound blocks take virtual time, so what is measured
// is the program's own work): from a cold start of speech to the first
// block of a recording on the device, and the CPU time from speech_say of a
// 200-character mixed text to its first assembled image.
#include <benchmark/benchmark.h>
#include <time.h>

#include <cstdlib>
#include <string>

#include "audio/wave_output.h"
#include "console/console.h"
#include "diphone/diphone.h"
#include "platform/backend.h"
#include "platform/headless/headless.h"
#include "platform/config.h"
#include "speech/speech.h"
#include "system_support.h"

namespace {
const std::string DATA = std::string(FUGA_BINARY_DIR) + "/data";

double cpu_seconds() {
    timespec ts;
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
    return ts.tv_sec + ts.tv_nsec * 1e-9;
}

double g_first_block_at = 0;

// The headless device, noting when the first block arrives.
OsAudioDevice g_device;
bool timed_write(int buffer, const uint8_t* data, size_t bytes) {
    if (g_first_block_at == 0) g_first_block_at = cpu_seconds();
    return headless_audio_device()->write(buffer, data, bytes);
}

void setup_environment() {
    sys_set_env("FUGA_BACKEND", "headless");
    sys_set_env("TALUNE_HOME", DATA);
    os_start();
    g_device = *headless_audio_device();
    g_device.write = timed_write;
    os_set_audio_device_for_tests(&g_device);
}

void fresh_speech() {
    headless_reset_for_test("");
    config_reset();
    console_reset();
    wave_reset();
    diphone_reset();
    speech_reset();
    speech_module_start();
}
}  // namespace

// Start of speech (settings, rules, exceptions, voice index) to the first
// block of the game's first recording.
static void BM_StartToFirstSound(benchmark::State& state) {
    setup_environment();
    for (auto _ : state) {
        fresh_speech();
        double t0 = cpu_seconds();
        g_first_block_at = 0;
        speech_start(0, DATA + "/som");
        speech_play_key("OK");
        state.SetIterationTime(g_first_block_at - t0);
        speech_stop();
    }
}
BENCHMARK(BM_StartToFirstSound)->UseManualTime()->Unit(benchmark::kMillisecond);

namespace {
double g_first_image_at = 0;
void note_first_image(const uint8_t*, size_t, void*) {
    if (g_first_image_at == 0) g_first_image_at = cpu_seconds();
    speech_silence();  // the rest of the text is not what is measured
}
}  // namespace

static void BM_SayToFirstImage(benchmark::State& state) {
    setup_environment();
    fresh_speech();
    speech_start(3, DATA + "/som");
    speech_set_speak_punctuation(false);
    const std::string text =
        "Sala 12: pegue a chave, abra a porta-norte e siga 250 passos; depois (com cuidado) "
        "diga www.fuga.com.br - ou ligue 3344-5566! Guarda-roupa, lanterna e corda custam 1999 reais. Fim da lista de compras.";
    diphone_set_output_hook(note_first_image, nullptr);
    for (auto _ : state) {
        g_first_image_at = 0;
        double t0 = cpu_seconds();
        speech_say(text);
        state.SetIterationTime(g_first_image_at - t0);
    }
    diphone_set_output_hook(nullptr, nullptr);
    state.counters["chars"] = static_cast<double>(text.size());
}
BENCHMARK(BM_SayToFirstImage)->UseManualTime()->Unit(benchmark::kMicrosecond);
