// Cost of INI lookups: the console and the speech start-up read a few dozen
// keys, each lookup reading TALUNE.INI again.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <fstream>
#include <string>

#include "platform/profile.h"
#include "platform/config.h"
#include "system_support.h"

namespace {

std::string typical_ini() {
    std::string ini = "; configuracao da fala\r\n[TALUNE]\r\nPGMTALUNE=/opt/talune\r\n";
    for (const char* s : {"TRADUTOR", "SINTETIZADOR", "SERVFALA", "BRAILLE", "VERNATTS"}) {
        ini += std::string("[") + s + "]\r\n";
        for (int i = 0; i < 30; ++i) ini += "CHAVE" + std::to_string(i) + " = @/valor/" + std::to_string(i) + "\r\n";
    }
    ini += "[VIDEO]\r\nFONTE=Lucida Console\r\nCORLETRA=15\r\n";
    return ini;
}

void BM_LookupLastKeyInText(benchmark::State& st) {
    const std::string ini = typical_ini();
    for (auto _ : st) benchmark::DoNotOptimize(profile_read_from_text(ini, "video", "corletra", "7"));
    st.SetBytesProcessed(static_cast<int64_t>(st.iterations() * ini.size()));
}
BENCHMARK(BM_LookupLastKeyInText);

void BM_LookupPastLongLine(benchmark::State& st) {
    const std::string ini = "[S]\nLONGA=" + std::string(100 * 1024, 'x') + "\nK=v\n";
    for (auto _ : st) benchmark::DoNotOptimize(profile_read_from_text(ini, "S", "K", ""));
    st.SetBytesProcessed(static_cast<int64_t>(st.iterations() * ini.size()));
}
BENCHMARK(BM_LookupPastLongLine);

// Many short lines that are neither keys nor closed sections must not make a
// lookup quadratic.
void BM_LookupPastJunkLines(benchmark::State& st) {
    std::string ini;
    for (int i = 0; i < 20000; ++i) ini += "[sem fim\n";
    ini += "[S]\n";
    for (int i = 0; i < 20000; ++i) ini += "sem igual\n";
    ini += "K=v\n";
    for (auto _ : st) benchmark::DoNotOptimize(profile_read_from_text(ini, "S", "K", ""));
    st.SetBytesProcessed(static_cast<int64_t>(st.iterations() * ini.size()));
}
BENCHMARK(BM_LookupPastJunkLines);

struct TempHome {
    std::string dir;
    TempHome() {
        dir = sys_make_temp_dir("fuga_bench_");
        if (dir.empty()) dir = "/tmp";
        sys_set_env("TALUNE_HOME", dir);
        std::ofstream(dir + "/TALUNE.INI", std::ios::binary) << typical_ini();
    }
    ~TempHome() {
        std::remove((dir + "/TALUNE.INI").c_str());
        rmdir(dir.c_str());
    }
};

void BM_ConfigReadSettingWithExpansion(benchmark::State& st) {
    TempHome home;
    config_reset();
    for (auto _ : st) benchmark::DoNotOptimize(config_read_setting("VERNATTS", "CHAVE29"));
}
BENCHMARK(BM_ConfigReadSettingWithExpansion);

}  // namespace
