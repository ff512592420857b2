// The session bus check made before SDL's video start.
#include "platform/sdl/sdl_session_bus.h"

#include <unistd.h>

#include <cstdlib>
#include <string>

#include "platform/os.h"

namespace {
constexpr const char* BUS_VARIABLE = "DBUS_SESSION_BUS_ADDRESS";
// Where D-Bus looks for its launcher before it searches PATH.
constexpr const char* BUS_LAUNCHER = "/usr/bin/dbus-launch";

bool g_hidden = false;
}  // namespace

bool sdl_session_bus_unreachable() {
    const char* address = std::getenv(BUS_VARIABLE);
    if (address && *address) return false;
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    if (runtime && *runtime && access((std::string(runtime) + "/bus").c_str(), F_OK) == 0) return false;
    return access(BUS_LAUNCHER, X_OK) != 0 && os_find_program("dbus-launch").empty();
}

void sdl_session_bus_hide_begin() {
    g_hidden = sdl_session_bus_unreachable() && setenv(BUS_VARIABLE, "disabled:", 1) == 0;
}

void sdl_session_bus_hide_end() {
    if (g_hidden) unsetenv(BUS_VARIABLE);
    g_hidden = false;
}
