// Programs started with pipes on their standard input, output and error.
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>

#include "platform/os.h"

extern char** environ;

namespace {

void close_fd(int& fd) {
    if (fd >= 0) close(fd);
    fd = -1;
}

void ignore_sigpipe() {
    static bool done = false;
    if (!done) signal(SIGPIPE, SIG_IGN);
    done = true;
}

// Reads everything available without blocking; false at the end of the pipe.
bool drain(int fd, std::string& into, bool& got) {
    char buf[65536];
    for (;;) {
        ssize_t n = read(fd, buf, sizeof buf);
        if (n > 0) {
            into.append(buf, size_t(n));
            got = true;
            continue;
        }
        if (n == 0) return false;
        if (errno == EINTR) continue;
        return errno == EAGAIN || errno == EWOULDBLOCK;
    }
}

}  // namespace

bool os_child_start(const char* const* argv, OsChild& child) {
    child = OsChild{};
    if (!argv || !argv[0]) return false;
    ignore_sigpipe();
    int in[2], out[2], err[2];
    if (pipe2(in, O_CLOEXEC) != 0) return false;
    if (pipe2(out, O_CLOEXEC) != 0) {
        close(in[0]), close(in[1]);
        return false;
    }
    if (pipe2(err, O_CLOEXEC) != 0) {
        close(in[0]), close(in[1]), close(out[0]), close(out[1]);
        return false;
    }
    posix_spawn_file_actions_t actions;
    posix_spawnattr_t attr;
    posix_spawn_file_actions_init(&actions);
    posix_spawnattr_init(&attr);
    posix_spawn_file_actions_adddup2(&actions, in[0], 0);
    posix_spawn_file_actions_adddup2(&actions, out[1], 1);
    posix_spawn_file_actions_adddup2(&actions, err[1], 2);
    // The child gets the default signal dispositions (not our ignored SIGPIPE).
    sigset_t none, all;
    sigemptyset(&none);
    sigfillset(&all);
    posix_spawnattr_setsigmask(&attr, &none);
    posix_spawnattr_setsigdefault(&attr, &all);
    posix_spawnattr_setflags(&attr, POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);
    pid_t pid = -1;
    int rc = posix_spawnp(&pid, argv[0], &actions, &attr, const_cast<char* const*>(argv), environ);
    posix_spawn_file_actions_destroy(&actions);
    posix_spawnattr_destroy(&attr);
    close(in[0]), close(out[1]), close(err[1]);
    if (rc != 0) {
        close(in[1]), close(out[0]), close(err[0]);
        return false;
    }
    for (int fd : {in[1], out[0], err[0]}) fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) | O_NONBLOCK);
    child.pid = pid;
    child.input = in[1];
    child.output = out[0];
    child.error = err[0];
    return true;
}

OsChildIo os_child_exchange(OsChild& child, const char* data, size_t size, size_t& written, std::string& out,
                            std::string& err, int wait_ms) {
    bool want_write = child.input >= 0 && written < size;
    if (child.output < 0) return want_write ? OsChildIo::Failed : OsChildIo::Ended;
    pollfd fds[3];
    int count = 0;
    fds[count++] = {child.output, POLLIN, 0};
    int err_index = -1, in_index = -1;
    if (child.error >= 0) {
        err_index = count;
        fds[count++] = {child.error, POLLIN, 0};
    }
    if (want_write) {
        in_index = count;
        fds[count++] = {child.input, POLLOUT, 0};
    }
    int ready;
    do {
        ready = poll(fds, nfds_t(count), wait_ms < 0 ? 0 : wait_ms);
    } while (ready < 0 && errno == EINTR);
    if (ready <= 0) return OsChildIo::Idle;
    bool progress = false;
    if (in_index >= 0 && fds[in_index].revents) {
        ssize_t n = write(child.input, data + written, size - written);
        if (n > 0) {
            written += size_t(n);
            progress = true;
        } else if (n < 0 && errno != EAGAIN && errno != EINTR) {
            close_fd(child.input);
            return OsChildIo::Failed;
        }
    }
    if (err_index >= 0 && fds[err_index].revents && !drain(child.error, err, progress)) close_fd(child.error);
    bool output_open = true;
    if (fds[0].revents) output_open = drain(child.output, out, progress);
    if (!output_open) {
        close_fd(child.output);
        // Whatever it still says on its error output belongs to this end.
        if (child.error >= 0) {
            bool got = false;
            drain(child.error, err, got);
        }
        return written < size && child.input >= 0 ? OsChildIo::Failed : OsChildIo::Ended;
    }
    return progress ? OsChildIo::Progress : OsChildIo::Idle;
}

void os_child_close_input(OsChild& child) { close_fd(child.input); }

int os_child_finish(OsChild& child, bool kill_it) {
    if (child.pid < 0) return -1;
    if (kill_it) kill(child.pid, SIGKILL);
    close_fd(child.input);
    close_fd(child.output);
    close_fd(child.error);
    int status = 0;
    pid_t r;
    do {
        r = waitpid(child.pid, &status, 0);
    } while (r < 0 && errno == EINTR);
    child.pid = -1;
    if (r < 0) return -1;
    if (WIFSIGNALED(status)) return 128 + WTERMSIG(status);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}
