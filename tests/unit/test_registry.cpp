// Tests of the registry stand-in over registry.ini.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "platform/registry.h"
#include "temp_home.h"

namespace {

namespace fs = std::filesystem;

class Registry : public TempHomeTest {
protected:
    void write(const std::string& text) { write_file("registry.ini", text); }
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

// The machine's shared registry.ini names the voices for a player who has
// none of his own; his own is used whole once he has one.
TEST_F(Registry, PlayersFileElseTheSharedOne) {
    write_system_file("registry.ini", "[SOFTWARE\\TCTS\\Mbrola\\databases]\nbr1=/usr/share/mbrola/br1/br1\n");
    std::string v;
    EXPECT_TRUE(registry_read_path("SOFTWARE\\TCTS\\Mbrola\\databases\\br1", v));
    EXPECT_EQ(v, "/usr/share/mbrola/br1/br1");
    write("[SOFTWARE\\TCTS\\Mbrola\\databases]\nbr3=/voz/br3\n");
    EXPECT_FALSE(registry_read_path("SOFTWARE\\TCTS\\Mbrola\\databases\\br1", v));
    EXPECT_TRUE(registry_read_path("SOFTWARE\\TCTS\\Mbrola\\databases\\br3", v));
    EXPECT_EQ(v, "/voz/br3");
}

TEST_F(Registry, MissingFileFindsNothing) {
    std::string v;
    EXPECT_FALSE(registry_read_path("SOFTWARE\\TCTS\\Mbrola\\databases\\BR4", v));
}

}  // namespace
