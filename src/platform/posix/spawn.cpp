// Starting another program detached from ours (documents, addresses, help
// programs), without a shell, and reaping it in the background.
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <string>
#include <thread>
#include <vector>

#include "platform/os.h"

extern char** environ;

namespace {

// Waits for one child so that it does not stay a zombie; the thread ends
// with it.
void reap_in_background(pid_t pid) {
    std::thread([pid] {
        int status = 0;
        while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
        }
    }).detach();
}

}  // namespace

bool os_spawn_detached(const std::string& program, const std::string& argument) {
    if (program.empty() || program.find('\0') != std::string::npos || argument.find('\0') != std::string::npos)
        return false;
    std::string arg = !argument.empty() && argument[0] == '-' ? "./" + argument : argument;
    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(program.c_str()));
    if (!arg.empty()) argv.push_back(const_cast<char*>(arg.c_str()));
    argv.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawnattr_t attr;
    if (posix_spawn_file_actions_init(&actions) != 0) return false;
    if (posix_spawnattr_init(&attr) != 0) {
        posix_spawn_file_actions_destroy(&actions);
        return false;
    }
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
#if defined(__GLIBC__) && (__GLIBC__ > 2 || __GLIBC_MINOR__ >= 34)
    posix_spawn_file_actions_addclosefrom_np(&actions, 3);
#endif
    // A clean signal state: our blocked and ignored signals are not the
    // child's business, and a session of its own keeps our terminal's
    // Ctrl+C away from it.
    sigset_t none, all;
    sigemptyset(&none);
    sigfillset(&all);
    posix_spawnattr_setsigmask(&attr, &none);
    posix_spawnattr_setsigdefault(&attr, &all);
    short flags = POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF;
#ifdef POSIX_SPAWN_SETSID
    flags |= POSIX_SPAWN_SETSID;
#endif
    posix_spawnattr_setflags(&attr, flags);

    pid_t pid = 0;
    int rc = posix_spawnp(&pid, program.c_str(), &actions, &attr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    posix_spawnattr_destroy(&attr);
    if (rc != 0) return false;
    reap_in_background(pid);
    return true;
}

bool os_open_document(const std::string& document) {
    return !document.empty() && os_spawn_detached("xdg-open", document);
}
