// Tests of the registry stand-in over registry.ini.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "platform/registry.h"

namespace {

namespace fs = std::filesystem;

class Registry : public ::testing::Test {
protected:
    void SetUp() override {
        char tmpl[] = "/tmp/fuga_registry_XXXXXX";
        ASSERT_NE(mkdtemp(tmpl), nullptr);
        dir_ = tmpl;
        const char* old = std::getenv("TALUNE_HOME");
        had_home_ = old != nullptr;
        if (old) old_home_ = old;
        setenv("TALUNE_HOME", dir_.c_str(), 1);
    }
    void TearDown() override {
        if (had_home_) setenv("TALUNE_HOME", old_home_.c_str(), 1);
        else unsetenv("TALUNE_HOME");
        std::error_code ec;
        fs::remove_all(dir_, ec);
    }
    void write(const std::string& text) { std::ofstream(dir_ + "/registry.ini", std::ios::binary) << text; }
    std::string dir_, old_home_;
    bool had_home_ = false;
};

TEST_F(Registry, NamedAndDefaultValues) {
    write(
        "[SOFTWARE\\TCTS\\Mbrola\\databases]\n"
        "BR4=/voz/br4/br4\n"
        "VAZIO=\n"
        "[software\\tcts\\mbrola\\databases\\br3]\n"
        "@=/voz/br3/br3\n");
    std::string v = "lixo";
    EXPECT_TRUE(registry_read_string("SOFTWARE\\TCTS\\Mbrola\\databases", "br4", v));
    EXPECT_EQ(v, "/voz/br4/br4");
    EXPECT_TRUE(registry_read_path("SOFTWARE\\TCTS\\Mbrola\\databases\\BR4", v));
    EXPECT_EQ(v, "/voz/br4/br4");
    EXPECT_TRUE(registry_read_path("SOFTWARE\\TCTS\\Mbrola\\databases\\VAZIO", v));
    EXPECT_EQ(v, "");
    EXPECT_TRUE(registry_read_path("SOFTWARE\\TCTS\\Mbrola\\databases\\BR3\\", v));
    EXPECT_EQ(v, "/voz/br3/br3");
    EXPECT_TRUE(registry_read_string("SOFTWARE\\TCTS\\Mbrola\\databases\\BR3\\", "", v));
    EXPECT_EQ(v, "/voz/br3/br3");

    v = "lixo";
    EXPECT_FALSE(registry_read_path("SOFTWARE\\TCTS\\Mbrola\\databases\\BR1", v));
    EXPECT_EQ(v, "");
    EXPECT_FALSE(registry_read_path("SOFTWARE\\TCTS\\Mbrola\\databases\\", v));
    EXPECT_FALSE(registry_read_path("BR4", v));
    EXPECT_FALSE(registry_read_string("", "BR4", v));
}

TEST_F(Registry, MissingFileFindsNothing) {
    std::string v;
    EXPECT_FALSE(registry_read_path("SOFTWARE\\TCTS\\Mbrola\\databases\\BR4", v));
}

}  // namespace
