// Arbitrary voice files: the first two bytes give the index's size, the
// index, then the sample file, with a copy of the whole input as a letter
// recording. Every unit named by the index, and a few that are not, is
// played; nothing may read outside the files or the buffer.

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "diphone/diphone.h"
#include "system_support.h"

namespace {

namespace fs = std::filesystem;

fs::path g_root;

void write(const fs::path& p, const uint8_t* data, size_t n) {
    std::ofstream out(p, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(n));
}

void prepare() {
    g_root = fs::temp_directory_path() / ("fuga_fuzz_voice_" + std::to_string(sys_process_id()));
    fs::create_directories(g_root / "home");
    fs::create_directories(g_root / "letras");
    fs::create_directories(g_root / "difones");
    std::ofstream(g_root / "home" / "TALUNE.INI") << "[TRADUTOR]\ndirLetras=" << (g_root / "letras").string()
                                                  << "\nDIRDIFONES=" << (g_root / "difones").string() << "\n";
    std::ofstream(g_root / "difones" / "regras.rgr") << "(A)=a\n";
    std::ofstream(g_root / "difones" / "portug.exc") << "\n";
    sys_set_env("TALUNE_HOME", g_root / "home");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (g_root.empty()) prepare();
    size_t index_bytes = size >= 2 ? (data[0] | data[1] << 8) : 0;
    const uint8_t* rest = data + std::min<size_t>(size, 2);
    size_t rest_size = size - std::min<size_t>(size, 2);
    index_bytes = std::min(index_bytes, rest_size);
    write(g_root / "difones" / "DIFONES2.IND", rest, index_bytes);
    write(g_root / "difones" / "DIFONES2.DIF", rest + index_bytes, rest_size - index_bytes);
    write(g_root / "letras" / "_65.wav", data, size);

    diphone_reset();
    diphone_set_output_hook([](const uint8_t*, size_t, void*) {}, nullptr);
    if (diphone_start() != 0) return 0;
    diphone_set_timing(static_cast<int32_t>(size % 700), static_cast<int32_t>(size % 300), 100);
    for (size_t r = 0; r + 15 <= index_bytes; r += 15) {
        std::string name(reinterpret_cast<const char*>(rest + r + 1), std::min<size_t>(8, rest[r]));
        diphone_play_unit(name, static_cast<int>(r % 3), 1.0);
        diphone_play_unit(name + "TIL", 1, 0.6);
    }
    diphone_play_unit("_65", 1, 1.0);
    diphone_speak("[kA/za][ /_A][ /_,]ma~w", false);
    diphone_reset();
    return 0;
}
