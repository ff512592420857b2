// A test fixture whose Windows directory (TALUNE_HOME) is a fresh temporary
// directory, restored to its former value afterwards; the configuration
// read from the former one is forgotten on both sides.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "platform/config.h"

class TempHomeTest : public ::testing::Test {
protected:
    void SetUp() override {
        char tmpl[] = "/tmp/fuga_home_XXXXXX";
        ASSERT_NE(mkdtemp(tmpl), nullptr);
        dir_ = tmpl;
        const char* old = std::getenv("TALUNE_HOME");
        had_home_ = old != nullptr;
        if (old) old_home_ = old;
        setenv("TALUNE_HOME", dir_.c_str(), 1);
        config_reset();
    }
    void TearDown() override {
        if (had_home_) setenv("TALUNE_HOME", old_home_.c_str(), 1);
        else unsetenv("TALUNE_HOME");
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
