// A test fixture whose Windows directory (TALUNE_HOME) is a fresh temporary
// directory, restored to its former value afterwards; the configuration
// read from the former one is forgotten on both sides. The machine's shared
// settings (TALUNE_SYSTEM_HOME) are looked for in its subdirectory
// "sistema", which a test creates when it wants them: an installed
// /etc/talune is never read.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "platform/config.h"
#include "system_support.h"

class TempHomeTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::string made = sys_make_temp_dir("fuga_home_");
        ASSERT_NE(made, "");
        dir_ = made;
        const char* old = std::getenv("TALUNE_HOME");
        had_home_ = old != nullptr;
        if (old) old_home_ = old;
        sys_set_env("TALUNE_HOME", dir_);
        const char* old_system = std::getenv("TALUNE_SYSTEM_HOME");
        had_system_ = old_system != nullptr;
        if (old_system) old_system_ = old_system;
        system_dir_ = dir_ / "sistema";
        sys_set_env("TALUNE_SYSTEM_HOME", system_dir_);
        config_reset();
    }
    void TearDown() override {
        if (had_home_) sys_set_env("TALUNE_HOME", old_home_);
        else sys_unset_env("TALUNE_HOME");
        if (had_system_) sys_set_env("TALUNE_SYSTEM_HOME", old_system_);
        else sys_unset_env("TALUNE_SYSTEM_HOME");
        config_reset();
        std::error_code ec;
        std::filesystem::remove_all(dir_, ec);
    }
    // Writes a file of that name into the directory.
    void write_file(const std::string& name, const std::string& text) {
        std::ofstream(dir_ / name, std::ios::binary) << text;
    }
    // Writes a file of that name into the shared settings directory.
    void write_system_file(const std::string& name, const std::string& text) {
        std::filesystem::create_directories(system_dir_);
        std::ofstream(system_dir_ / name, std::ios::binary) << text;
    }
    std::filesystem::path dir_, system_dir_;
    std::string old_home_, old_system_;
    bool had_home_ = false, had_system_ = false;
};
