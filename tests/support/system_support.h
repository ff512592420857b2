// What the tests, benchmarks and tools need from the operating system beyond
// the C++ library: environment variables, fresh temporary directories, the
// process's own id, ending a child program at once, π, and a path as a narrow
// string. They call these instead of setenv, unsetenv, mkdtemp, getpid, kill
// or M_PI, so that this header is the one place that says which system they
// run on.
#pragma once

#include <filesystem>
#include <numbers>
#include <random>
#include <string>
#include <vector>

#ifdef _WIN32
#include <process.h>
#include <stdlib.h>
#include <windows.h>
#else
#include <signal.h>
#include <stdlib.h>
#include <unistd.h>
extern char** environ;
#endif

// π for tones and filters (M_PI is not standard C++).
constexpr double SYS_PI = std::numbers::pi;

inline void sys_set_env(const char* name, const std::string& value) {
#ifdef _WIN32
    _putenv_s(name, value.c_str());
#else
    setenv(name, value.c_str(), 1);
#endif
}

inline void sys_set_env(const char* name, const char* value) { sys_set_env(name, std::string(value)); }
inline void sys_set_env(const char* name, const std::filesystem::path& value) { sys_set_env(name, value.string()); }

inline void sys_unset_env(const char* name) {
#ifdef _WIN32
    _putenv_s(name, "");
#else
    unsetenv(name);
#endif
}

// Every variable of the process's environment as "NAME=value".
inline std::vector<std::string> sys_environment() {
    std::vector<std::string> all;
#ifdef _WIN32
    char** env = _environ;
#else
    char** env = environ;
#endif
    for (; env && *env; ++env) all.emplace_back(*env);
    return all;
}

// Sets (or, with nullptr, removes) a variable until the end of the scope,
// then puts back what was there before.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const char* value) : name_(name) {
        const char* old = std::getenv(name);
        had_ = old != nullptr;
        if (old) old_ = old;
        if (value) sys_set_env(name, value);
        else sys_unset_env(name);
    }
    ~ScopedEnv() {
        if (had_) sys_set_env(name_.c_str(), old_);
        else sys_unset_env(name_.c_str());
    }
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

private:
    std::string name_, old_;
    bool had_ = false;
};

inline int sys_process_id() {
#ifdef _WIN32
    return _getpid();
#else
    return static_cast<int>(getpid());
#endif
}

// A new empty directory under the system's temporary directory ($TMPDIR,
// else /tmp, on Linux) whose name begins with `prefix`; "" when none could
// be made.
inline std::string sys_make_temp_dir(const std::string& prefix) {
#ifdef _WIN32
    std::error_code ec;
    std::filesystem::path base = std::filesystem::temp_directory_path(ec);
    if (ec) return "";
    std::random_device random;
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::filesystem::path dir = base / (prefix + std::to_string(random()));
        if (std::filesystem::create_directory(dir, ec)) return dir.string();
    }
    return "";
#else
    const char* tmp = std::getenv("TMPDIR");
    std::string name = std::string(tmp && *tmp ? tmp : "/tmp") + "/" + prefix + "XXXXXX";
    if (!mkdtemp(name.data())) return "";
    return name;
#endif
}

// Ends a child program at once, as a crash would (no chance to clean up).
inline void sys_kill_process(int pid) {
#ifdef _WIN32
    if (HANDLE process = OpenProcess(PROCESS_TERMINATE, FALSE, static_cast<DWORD>(pid))) {
        TerminateProcess(process, 137);
        CloseHandle(process);
    }
#else
    kill(static_cast<pid_t>(pid), SIGKILL);
#endif
}

// A path as the narrow string the program's own calls take (a path's c_str()
// is a wide string on Windows).
inline std::string sys_path(const std::filesystem::path& path) { return path.string(); }
