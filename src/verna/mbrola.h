// The MBROLA binding: the 23 entry points of the MBROLA library, resolved by
// name from a shared library when one is configured or found, otherwise from
// the built-in binding that drives the `mbrola` program over pipes.
#pragma once

#include <string>

constexpr int MBROLA_ENTRY_POINTS = 23;
// Samples the engine asks for at most in one read.
constexpr int MBROLA_MAX_READ = 16000;

// The calls the engine makes, as the library exports them (C calling
// convention). The other entry points must exist but are never called.
struct MbrolaApi {
    int (*init)(const char* database);
    int (*write)(const char* line);
    int (*flush)();
    int (*read)(short* samples, int max_count);
    void (*close)();
    void (*reset)();
    int (*last_error)();
    int (*last_error_text)(char* buffer, int size);
    void (*set_no_error)(int no_error);
    int (*get_freq)();
};

// The exported names in resolution order.
extern const char* const MBROLA_ENTRY_NAMES[MBROLA_ENTRY_POINTS];

// The library to load: a path, or "" for the default. With the default,
// the system's MBROLA library (libmbrola.so, mbrola.dll) is used when there
// is one, else the built-in binding over the `mbrola` program;
// a library that is named explicitly must load, there is no fall-back then.
void mbrola_set_library(const std::string& path);
// Resolves all 23 names. False when the library is missing or lacks a name
// (it is unloaded again), or, for the built-in binding, when no `mbrola`
// program is on PATH.
bool mbrola_bind();
// Unloads the library (or ends the built-in binding's program).
void mbrola_unbind();
bool mbrola_bound();
// The bound calls; only valid while bound.
const MbrolaApi& mbrola();
// Whether the binding in use is the built-in one.
bool mbrola_builtin();
// The built-in binding between texts: a process killed while it waited is
// reaped and replaced. Nothing for a library.
void mbrola_tend();
// Whether the built-in binding's program could not be started again, so the
// engine can speak no more; a library never stops.
bool mbrola_stopped();
// Unbinds and forgets the configured library.
void mbrola_reset();
