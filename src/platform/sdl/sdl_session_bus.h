// Whether D-Bus could reach a session bus at all, asked before SDL's video
// start so that a start that can only fail is not attempted.
#pragma once

// True when no session bus is named (DBUS_SESSION_BUS_ADDRESS), none
// listens at $XDG_RUNTIME_DIR/bus and no dbus-launch exists to start one:
// D-Bus would then fork and search PATH for dbus-launch, only to fail.
bool sdl_session_bus_unreachable();

// While SDL's video starts, an unreachable session bus is named "disabled:"
// for this process, so that D-Bus fails at once with the same result; the
// variable is removed again afterwards, so that programs started later see
// the environment as it was. Call from one thread while no other runs.
void sdl_session_bus_hide_begin();
void sdl_session_bus_hide_end();
