// What each operating system supplies to the shared platform files and the
// backends: the real clocks, file identity, the backends it offers and its
// sound device. One implementation per system (posix/ on Linux); the
// calls of os.h marked "per system" are implemented there too.
#pragma once

#include <cstdint>
#include <string>

#include "platform/os.h"

struct OsBackend;
struct OsAudioDevice;
struct OsSynthDriver;
struct OsVoiceServerDriver;

// Real wall clock and monotonic clock, for the backends that run in real time.
OsTime real_local_time();
OsTime real_utc_time();
uint64_t real_ticks_ms();
void real_sleep_ms(int ms);
// How far the local time zone is ahead of UTC at an instant (seconds since
// 1970 UTC), daylight saving included.
int64_t system_utc_offset_seconds(int64_t utc_seconds);
// The instant (seconds since 1970 UTC) that a local calendar time names;
// only the date and time of day of `local` are read.
int64_t system_utc_from_local(const OsTime& local);

// What identifies one version of a file: a rewrite changes its size or
// modification time, a replacement its identity.
struct SystemFileStamp {
    bool exists = false;
    uint64_t device = 0;
    uint64_t file = 0;
    int64_t size = 0;
    int64_t modified_ns = 0;
    // A character or block device (a link to /dev/zero), which reading must
    // bound; not a directory or a pipe.
    bool device_file = false;
    bool operator==(const SystemFileStamp&) const = default;
};
// `exists` is false when there is no such file (or it cannot be examined).
SystemFileStamp system_file_stamp(const std::string& path);

// The settings file `name` (TALUNE.INI, registry.ini) that applies: the one
// in the Windows directory (os_windows_directory()); on Linux, when the
// player has none there, the copy the machine's users share (/etc/talune,
// or $TALUNE_SYSTEM_HOME) if it has one. The Windows directory's path when
// neither exists.
std::string system_settings_file(const std::string& name);

// The system's own backends (the headless one is everyone's): the one that
// FUGA_BACKEND names ("sdl", "terminal" on Linux), nullptr for a name the
// system does not offer; not started yet.
const OsBackend* system_backend_named(const char* name);
// The backend to use when none is forced, already started; nullptr when
// none of the system's own can run here (then the program runs headless).
const OsBackend* system_default_backend();
// The sound device of the system's own backends.
const OsAudioDevice* system_audio_device();
// What the system sets up once, before the backend starts.
void system_start();
// The system's own voices (espeak-ng and speech-dispatcher on Linux), for
// the backends that play sound.
const OsSynthDriver* system_synth_driver();
const OsVoiceServerDriver* system_voice_server_driver();
