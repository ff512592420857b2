// The session bus check before the window backend's video start: a bus
// that is named, listening or startable is never hidden, and the hiding
// leaves the environment as it was.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "platform/sdl/sdl_session_bus.h"
#include "system_support.h"

namespace {
std::string temp_dir() { return sys_make_temp_dir("fuga-bus-"); }
}  // namespace

TEST(SdlSessionBus, OnlyABusThatCannotBeReachedIsHidden) {
    std::string dir = temp_dir();
    ASSERT_FALSE(dir.empty());
    ScopedEnv runtime("XDG_RUNTIME_DIR", dir.c_str());
    ScopedEnv path("PATH", dir.c_str());
    ScopedEnv address("DBUS_SESSION_BUS_ADDRESS", nullptr);
    // Where D-Bus's own launcher is installed, it could start a bus.
    bool launcher = std::filesystem::exists("/usr/bin/dbus-launch");
    EXPECT_EQ(sdl_session_bus_unreachable(), !launcher);

    sdl_session_bus_hide_begin();
    const char* during = std::getenv("DBUS_SESSION_BUS_ADDRESS");
    EXPECT_EQ(during ? std::string(during) : std::string(), launcher ? "" : "disabled:");
    sdl_session_bus_hide_end();
    EXPECT_EQ(std::getenv("DBUS_SESSION_BUS_ADDRESS"), nullptr);

    {
        ScopedEnv named("DBUS_SESSION_BUS_ADDRESS", "unix:path=/nowhere");
        EXPECT_FALSE(sdl_session_bus_unreachable());
        sdl_session_bus_hide_begin();
        EXPECT_STREQ(std::getenv("DBUS_SESSION_BUS_ADDRESS"), "unix:path=/nowhere");
        sdl_session_bus_hide_end();
        EXPECT_STREQ(std::getenv("DBUS_SESSION_BUS_ADDRESS"), "unix:path=/nowhere");
    }
    // A socket at the runtime directory's usual place (a file stands for it).
    std::string bus = dir + "/bus";
    std::ofstream(bus).put('\n');
    EXPECT_FALSE(sdl_session_bus_unreachable());
    std::remove(bus.c_str());
    // A dbus-launch on PATH.
    std::string program = dir + "/dbus-launch";
    std::ofstream(program) << "#!/bin/sh\nexit 1\n";
    std::filesystem::permissions(program, std::filesystem::perms::owner_all | std::filesystem::perms::group_read |
                                                 std::filesystem::perms::group_exec | std::filesystem::perms::others_read |
                                                 std::filesystem::perms::others_exec);
    EXPECT_FALSE(sdl_session_bus_unreachable());
    std::remove(program.c_str());
    std::filesystem::remove(dir);
}
