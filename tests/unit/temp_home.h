// A test fixture whose Windows directory (TALUNE_HOME) is a fresh temporary
// directory, restored to its former value afterwards; the configuration
// read from the former one is forgotten on both sides.
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
        config_reset();
    }
    void TearDown() override {
        if (had_home_) sys_set_env("TALUNE_HOME", old_home_);
        else sys_unset_env("TALUNE_HOME");
        config_reset();
        std::error_code ec;
        std::filesystem::remove_all(dir_, ec);
    }
    // Writes a file of that name into the directory.
    void write_file(const std::string& name, const std::string& text) {
        std::ofstream(dir_ / name, std::ios::binary) << text;
    }
    std::filesystem::path dir_;
    std::string old_home_;
    bool had_home_ = false;
};
