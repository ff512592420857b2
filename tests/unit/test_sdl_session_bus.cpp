// The session bus check before the window backend's video start: a bus
// that is named, listening or startable is never hidden, and the hiding
// leaves the environment as it was.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <string>

#include "platform/sdl/sdl_session_bus.h"

namespace {
// Sets or removes a variable for one test and restores it afterwards.
class Variable {
public:
    Variable(const char* name, const char* value) : name_(name) {
        const char* old = std::getenv(name);
        had_ = old != nullptr;
        if (had_) old_ = old;
        if (value) setenv(name, value, 1);
        else unsetenv(name);
    }
    ~Variable() {
        if (had_) setenv(name_, old_.c_str(), 1);
        else unsetenv(name_);
    }

private:
    const char* name_;
    bool had_ = false;
    std::string old_;
};

std::string temp_dir() {
    char t[] = "/tmp/fuga-bus-XXXXXX";
    return mkdtemp(t) ? t : "";
}
}  // namespace

TEST(SdlSessionBus, OnlyABusThatCannotBeReachedIsHidden) {
    std::string dir = temp_dir();
    ASSERT_FALSE(dir.empty());
    Variable runtime("XDG_RUNTIME_DIR", dir.c_str());
    Variable path("PATH", dir.c_str());
    Variable address("DBUS_SESSION_BUS_ADDRESS", nullptr);
    // Where D-Bus's own launcher is installed, it could start a bus.
    bool launcher = access("/usr/bin/dbus-launch", X_OK) == 0;
    EXPECT_EQ(sdl_session_bus_unreachable(), !launcher);

    sdl_session_bus_hide_begin();
    const char* during = std::getenv("DBUS_SESSION_BUS_ADDRESS");
    EXPECT_EQ(during ? std::string(during) : std::string(), launcher ? "" : "disabled:");
    sdl_session_bus_hide_end();
    EXPECT_EQ(std::getenv("DBUS_SESSION_BUS_ADDRESS"), nullptr);

    {
        Variable named("DBUS_SESSION_BUS_ADDRESS", "unix:path=/nowhere");
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
    chmod(program.c_str(), 0755);
    EXPECT_FALSE(sdl_session_bus_unreachable());
    std::remove(program.c_str());
    rmdir(dir.c_str());
}
