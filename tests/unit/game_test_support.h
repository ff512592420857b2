// Test helpers for the game: a fresh game with its screen text captured from
// the standard output and its sound events read back from the sound log.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "console/sound_log.h"
#include "console/console.h"
#include "game/endings.h"
#include "game/game.h"
#include "game/game_state.h"
#include "game/parser.h"
#include "platform/headless/headless.h"
#include "speech/speech.h"
#include "util/latin1.h"
#include "util/random.h"
#include "system_support.h"

class GameTest : public ::testing::Test {
protected:
    void SetUp() override {
        namespace fs = std::filesystem;
        static int counter = 0;
        dir_ = fs::temp_directory_path() / ("fuga_game_test_" + std::to_string(::sys_process_id()) + "_" + std::to_string(counter++));
        fs::create_directories(dir_);
        // The generated installation's configuration, so speech really starts
        // and every message's recording is there to play.
        fs::copy_file(data_dir() / "TALUNE.INI", dir_ / "TALUNE.INI");
        sys_set_env("TALUNE_HOME", dir_);
        sound_log_path_ = (dir_ / "sound.log").string();
        sys_set_env("FUGA_SOUND_LOG", sound_log_path_);
        sound_log_reset();
        console_reset();
        random_reset();
        speech_reset();
        speech_module_start();
        headless_reset_for_test("");
        speech_start(3, (data_dir() / "som").string());
        speech_set_speak_punctuation(false);
        game_reset();
        ended_program() = false;
        game_set_end_program_hook([] { ended_program() = true; });
        saved_ = std::cout.rdbuf(screen_.rdbuf());
    }
    void TearDown() override {
        std::cout.rdbuf(saved_);
        game_set_end_program_hook(nullptr);
        sound_log_reset();
        sys_unset_env("FUGA_SOUND_LOG");
        std::error_code ec;
        std::filesystem::remove_all(dir_, ec);
    }

    static std::filesystem::path data_dir() { return std::filesystem::path(FUGA_BINARY_DIR) / "data"; }

    static bool& ended_program() {
        static bool ended = false;
        return ended;
    }

    // Everything written since the last call, as UTF-8.
    std::string screen() {
        std::string text = utf8(screen_.str());
        screen_.str("");
        return text;
    }
    // The sound events logged since the last call, one string each; the
    // synthesized sound of spoken words ("image" lines) is left out.
    std::vector<std::string> sounds() {
        std::vector<std::string> lines;
        std::ifstream in(sound_log_path_);
        std::string line;
        size_t n = 0;
        while (std::getline(in, line)) {
            if (n++ >= sounds_read_ && line.rfind("image ", 0) != 0) lines.push_back(line);
        }
        sounds_read_ = n;
        return lines;
    }
    // Carries out one command typed in the current room (no room description),
    // with the guard check.
    bool command(const std::string& utf8_line) { return game_command(latin1(utf8_line)); }
    // The same without the guard check, which draws random numbers.
    void act(const std::string& utf8_line) {
        game_parse_command(latin1(utf8_line));
        if (game_state().verb_code == 0) game_hint();
        game_dispatch();
    }
    void carry(std::initializer_list<int> objects) {
        for (int n : objects) game_set_location(n, CARRIED);
    }
    int counted_carried() {
        int k = 0;
        for (int n = 1; n <= GAME_MAX_OBJECTS; ++n) k += game_carries(n) ? 1 : 0;
        return k;
    }
    GameState& s() { return game_state(); }
    std::filesystem::path dir_;

private:
    std::stringstream screen_;
    std::streambuf* saved_ = nullptr;
    std::string sound_log_path_;
    size_t sounds_read_ = 0;
};
