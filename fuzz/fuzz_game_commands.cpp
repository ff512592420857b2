// Fuzz target: typed command lines are outside input. Each input line is
// played as one turn of a replayable game; the state must stay consistent.
// The game runs on an installation of its own, made once in a temporary
// directory, so that speech really starts and every turn speaks through the
// own synthesizer: the rules and exceptions of data/, a voice database with a
// short unit for every unit those rules can ask for, an empty letters
// directory, and the headless backend with its virtual clock.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "diphone/diphone.h"
#include "diphone/inventory.h"
#include "diphone/rules.h"
#include "game/endings.h"
#include "game/game.h"
#include "game/game_state.h"
#include "platform/config.h"
#include "platform/headless/headless.h"
#include "speech/speech.h"
#include "util/latin1.h"
#include "util/random.h"
#include "util/wave_format.h"
#include "system_support.h"

namespace {
namespace fs = std::filesystem;

constexpr uint16_t UNIT_SAMPLES = 40;

[[noreturn]] void refuse(const std::string& why) {
    std::fprintf(stderr, "fuzz_game_commands: %s\n", why.c_str());
    std::abort();
}

std::string read_text(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) refuse("cannot read " + path.string());
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void write_bytes(const fs::path& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary);
    out << bytes;
    if (!out) refuse("cannot write " + path.string());
}

// Every unit the installed rules make of Portuguese text, each a short
// rising ramp, in the byte order the lookup's binary search expects.
void write_voice(const fs::path& difones) {
    if (!rules_load((difones / "regras.rgr").string()) ||
        !rules_load_exceptions((difones / "portug.exc").string()))
        refuse("the rules in " + difones.string() + " do not load");
    std::set<std::string> wanted = diphone_inventory_units(diphone_inventory_words());
    rules_free();
    std::vector<std::string> names;
    for (const std::string& n : wanted)
        if (!n.empty() && n.size() <= WAVE_UNIT_MAX_NAME) names.push_back(n);
    std::sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) {
        return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
            return static_cast<unsigned char>(x) < static_cast<unsigned char>(y);
        });
    });
    std::string index(names.size() * WAVE_UNIT_RECORD_BYTES, '\0'), data;
    for (size_t i = 0; i < names.size(); ++i) {
        wave_unit_record_write(reinterpret_cast<uint8_t*>(&index[i * WAVE_UNIT_RECORD_BYTES]), names[i].data(),
                               names[i].size(), UNIT_SAMPLES, static_cast<uint32_t>(data.size()));
        for (int k = 0; k < UNIT_SAMPLES; ++k) data += static_cast<char>(96 + k);
    }
    write_bytes(difones / "DIFONES3.IND", index);
    write_bytes(difones / "DIFONES3.DIF", data);
}

void make_installation() {
    const std::string made = sys_make_temp_dir("fuzz_game_commands_");
    if (made.empty()) refuse("cannot make a temporary directory");
    const fs::path root = made;
    const fs::path letters = root / "letras", difones = root / "difones";
    fs::create_directories(letters);
    fs::create_directories(difones);
    const fs::path source = FUGA_SOURCE_DIR;
    write_bytes(difones / "regras.rgr", latin1(read_text(source / "data" / "regras.rgr")));
    write_bytes(difones / "portug.exc", latin1(read_text(source / "data" / "portug.exc")));
    write_voice(difones);
    write_bytes(root / "TALUNE.INI", "[TRADUTOR]\nDIRLETRAS=" + letters.string() + "/\nDIRDIFONES=" +
                                         difones.string() + "/\n[SINTETIZADOR]\nDIFONES3=DIFONES3\n");
    sys_set_env("TALUNE_HOME", root);
    sys_set_env("FUGA_BACKEND", "headless");
    sys_unset_env("FUGA_KEYS");
    sys_unset_env("FUGA_SOUND_LOG");
    sys_unset_env("FUGA_SCREEN_LOG");
    config_reset();
    // A start that fails here would end the process at the first input.
    diphone_set_database("DIFONES3");
    if (diphone_start() != 0) refuse("own synthesizer does not start: " + diphone_start_failure_path());
    diphone_stop();
}

void check_state() {
    const GameState& s = game_state();
    int carried = 0;
    for (int n = 1; n <= GAME_MAX_OBJECTS; ++n) {
        int at = s.object_location[n];
        if (at == CARRIED) ++carried;
        if (at != CARRIED && (at < 0 || at > GAME_MAX_ROOMS)) __builtin_trap();
    }
    if (carried != s.carried_count || s.room < 1 || s.room > GAME_MAX_ROOMS) __builtin_trap();
    if (s.verb_code < 0 || s.verb_code > 13) __builtin_trap();
}
}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    make_installation();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static std::stringstream sink;
    std::cout.rdbuf(sink.rdbuf());
    game_set_end_program_hook([] {});
    headless_reset_for_test("", "2026-01-05 10:00:00");
    random_reset();
    speech_reset();
    speech_module_start();
    speech_start(3, "");
    if (!diphone_started()) __builtin_trap();
    speech_set_speak_punctuation(false);
    game_reset();
    game_place_random_objects();
    std::string input(reinterpret_cast<const char*>(data), size);
    size_t start = 0;
    while (start <= input.size()) {
        size_t end = input.find('\n', start);
        if (end == std::string::npos) end = input.size();
        // The line editor never hands over more than its maximum.
        std::string line = input.substr(start, std::min<size_t>(end - start, SPEECH_MAX_LINE));
        bool going_on = game_play_turn(line);
        check_state();
        if (!going_on) break;
        start = end + 1;
    }
    sink.str("");
    return 0;
}
