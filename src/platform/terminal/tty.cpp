// Raw mode of the controlling terminal, its restoration, signals and the self-pipe.
#include "platform/terminal/tty.h"

#include <errno.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <cstdlib>

namespace {
// Saves the title, enters the alternate screen (the user's screen comes back
// at the end), turns autowrap off (the bottom-right cell must not scroll) and
// hides the cursor.
constexpr char TTY_ENTER[] = "\x1b[22;0t\x1b[?1049h\x1b[?7l\x1b[?25l\x1b[H\x1b[2J";
// CAN first ends any sequence a signal may have cut in half; then colours,
// cursor, cursor shape, autowrap, the user's screen and title come back.
constexpr char TTY_LEAVE[] = "\x18\x1b[0m\x1b[?25h\x1b[0 q\x1b[?7h\x1b[?1049l\x1b[23;0t";

const int TTY_QUIT_SIGNALS[] = {SIGINT, SIGTERM};
const int TTY_CRASH_SIGNALS[] = {SIGSEGV, SIGBUS, SIGFPE, SIGILL, SIGABRT, SIGQUIT, SIGTRAP, SIGSYS};
const int TTY_OTHER_SIGNALS[] = {SIGHUP, SIGWINCH, SIGCONT, SIGTSTP, SIGALRM};
constexpr int TTY_MAX_HANDLED = 16;
// Room for the crash handler when the stack itself overflowed.
constexpr size_t TTY_ALT_STACK_BYTES = 64 * 1024;

struct TtyState {
    bool started = false;
    bool atexit_done = false;
    struct termios saved {};
    struct termios raw {};
    int pipe_read = -1, pipe_write = -1;
    volatile sig_atomic_t raw_active = 0;
    volatile sig_atomic_t quit = 0, hangup = 0, resize = 0, continued = 0;
    volatile sig_atomic_t watchdog_armed = 0;
    bool output_dead = false;
    int handled[TTY_MAX_HANDLED] = {};
    struct sigaction previous[TTY_MAX_HANDLED] {};
    int handled_count = 0;
    bool alt_stack_set = false;
} g_tty;

alignas(16) unsigned char g_alt_stack[TTY_ALT_STACK_BYTES];

void write_all_raw(int fd, const char* p, size_t n) {
    while (n > 0) {
        ssize_t w = write(fd, p, n);
        if (w > 0) {
            p += w;
            n -= static_cast<size_t>(w);
        } else if (w < 0 && errno == EINTR) {
            continue;
        } else {
            return;
        }
    }
}

void poke_pipe(char c) {
    int saved_errno = errno;
    if (g_tty.pipe_write >= 0) {
        ssize_t r = write(g_tty.pipe_write, &c, 1);
        (void)r;  // a full pipe already wakes the wait
    }
    errno = saved_errno;
}

void arm_watchdog() {
    if (g_tty.watchdog_armed) return;
    g_tty.watchdog_armed = 1;
    alarm(TTY_FORCED_EXIT_SECONDS);
}

void on_quit(int) {
    g_tty.quit = 1;
    arm_watchdog();
    poke_pipe('q');
}

void on_hangup(int) {
    g_tty.hangup = 1;
    arm_watchdog();
    poke_pipe('h');
}

void on_resize(int) {
    g_tty.resize = 1;
    poke_pipe('w');
}

void on_stop(int);

void install(int sig, void (*handler)(int), int flags) {
    struct sigaction sa {};
    sa.sa_handler = handler;
    sa.sa_flags = flags;
    sigemptyset(&sa.sa_mask);
    sigaction(sig, &sa, nullptr);
}

void on_continue(int) {
    install(SIGTSTP, on_stop, SA_RESTART);
    g_tty.continued = 1;
    poke_pipe('c');
}

// A stop request: give the terminal back, then stop as the default would.
void on_stop(int) {
    int saved_errno = errno;
    tty_restore();
    install(SIGTSTP, SIG_DFL, 0);
    raise(SIGTSTP);  // delivered when this handler returns
    errno = saved_errno;
}

// The program did not take the quit or hang-up in time.
void on_alarm(int) {
    if (!g_tty.watchdog_armed) return;
    tty_restore();
    _exit(TTY_FORCED_EXIT_CODE);
}

void on_crash(int sig) {
    tty_restore();
    install(sig, SIG_DFL, 0);
    raise(sig);  // the default action (core dump) once this handler returns
}

void handle(int sig, void (*handler)(int), int flags) {
    if (g_tty.handled_count >= TTY_MAX_HANDLED) return;
    struct sigaction sa {};
    sa.sa_handler = handler;
    sa.sa_flags = flags;
    sigemptyset(&sa.sa_mask);
    int i = g_tty.handled_count;
    if (sigaction(sig, &sa, &g_tty.previous[i]) == 0) {
        g_tty.handled[i] = sig;
        ++g_tty.handled_count;
    }
}

void install_handlers() {
    if (!g_tty.alt_stack_set) {
        stack_t ss {};
        ss.ss_sp = g_alt_stack;
        ss.ss_size = sizeof g_alt_stack;
        g_tty.alt_stack_set = sigaltstack(&ss, nullptr) == 0;
    }
    for (int sig : TTY_CRASH_SIGNALS) handle(sig, on_crash, SA_ONSTACK);
    for (int sig : TTY_QUIT_SIGNALS) handle(sig, on_quit, SA_RESTART);
    for (int sig : TTY_OTHER_SIGNALS) {
        void (*fn)(int) = sig == SIGHUP     ? on_hangup
                          : sig == SIGWINCH ? on_resize
                          : sig == SIGCONT  ? on_continue
                          : sig == SIGTSTP  ? on_stop
                                            : on_alarm;
        handle(sig, fn, SA_RESTART);
    }
}

void remove_handlers() {
    for (int i = g_tty.handled_count - 1; i >= 0; --i) sigaction(g_tty.handled[i], &g_tty.previous[i], nullptr);
    g_tty.handled_count = 0;
}

void restore_at_exit() { tty_restore(); }

bool enter_raw() {
    g_tty.raw_active = 1;
    if (tcsetattr(STDIN_FILENO, TCSAFLUSH, &g_tty.raw) != 0) {
        g_tty.raw_active = 0;
        return false;
    }
    write_all_raw(STDOUT_FILENO, TTY_ENTER, sizeof TTY_ENTER - 1);
    return true;
}
}  // namespace

bool tty_start() {
    if (g_tty.started) return true;
    if (!isatty(STDIN_FILENO) || !isatty(STDOUT_FILENO)) return false;
    if (tcgetattr(STDIN_FILENO, &g_tty.saved) != 0) return false;
    g_tty.raw = g_tty.saved;
    // Every key reaches the program (Ctrl+C, Ctrl+S, Ctrl+Z included), byte by
    // byte, unechoed; output processing stays so that a stray line written by
    // anyone still starts at the left edge.
    g_tty.raw.c_iflag &= ~static_cast<tcflag_t>(IGNBRK | BRKINT | PARMRK | ISTRIP | INLCR | IGNCR | ICRNL | IXON);
    g_tty.raw.c_lflag &= ~static_cast<tcflag_t>(ECHO | ECHONL | ICANON | ISIG | IEXTEN);
    g_tty.raw.c_cflag &= ~static_cast<tcflag_t>(CSIZE | PARENB);
    g_tty.raw.c_cflag |= CS8;
    g_tty.raw.c_cc[VMIN] = 1;
    g_tty.raw.c_cc[VTIME] = 0;

    if (g_tty.pipe_read < 0) {
        int fds[2];
        if (pipe2(fds, O_NONBLOCK | O_CLOEXEC) != 0) return false;
        g_tty.pipe_read = fds[0];
        g_tty.pipe_write = fds[1];
    }
    g_tty.quit = 0;
    g_tty.hangup = 0;
    g_tty.resize = 0;
    g_tty.continued = 0;
    g_tty.watchdog_armed = 0;
    g_tty.output_dead = false;
    install_handlers();
    if (!enter_raw()) {
        remove_handlers();
        return false;
    }
    if (!g_tty.atexit_done) {
        std::atexit(restore_at_exit);
        g_tty.atexit_done = true;
    }
    g_tty.started = true;
    return true;
}

void tty_restore() {
    if (!g_tty.raw_active) return;
    g_tty.raw_active = 0;
    write_all_raw(STDOUT_FILENO, TTY_LEAVE, sizeof TTY_LEAVE - 1);
    tcsetattr(STDIN_FILENO, TCSAFLUSH, &g_tty.saved);
}

void tty_reenter() {
    if (!g_tty.started) return;
    enter_raw();
}

void tty_stop() {
    tty_restore();
    if (!g_tty.started) return;
    if (g_tty.watchdog_armed) {
        g_tty.watchdog_armed = 0;
        alarm(0);
    }
    remove_handlers();
    // The pipe stays open: another thread may still post an event, and a
    // closed descriptor number could by then belong to something else.
    g_tty.started = false;
}

unsigned char tty_erase_char() { return g_tty.saved.c_cc[VERASE]; }
int tty_input_fd() { return STDIN_FILENO; }
int tty_wake_fd() { return g_tty.pipe_read; }
void tty_wake() { poke_pipe('e'); }

void tty_drain_wake() {
    if (g_tty.pipe_read < 0) return;
    char buf[64];
    while (read(g_tty.pipe_read, buf, sizeof buf) > 0) {
    }
}

int tty_take_signals() {
    int bits = 0;
    if (g_tty.quit) {
        g_tty.quit = 0;
        bits |= TTY_SIGNAL_QUIT;
    }
    if (g_tty.hangup) {
        g_tty.hangup = 0;
        bits |= TTY_SIGNAL_HANGUP;
    }
    if (g_tty.resize) {
        g_tty.resize = 0;
        bits |= TTY_SIGNAL_RESIZE;
    }
    if (g_tty.continued) {
        g_tty.continued = 0;
        bits |= TTY_SIGNAL_CONTINUED;
    }
    return bits;
}

bool tty_size(int& cols, int& rows) {
    struct winsize ws {};
    if (ioctl(STDOUT_FILENO, TIOCGWINSZ, &ws) != 0 || ws.ws_col == 0 || ws.ws_row == 0) {
        if (ioctl(STDIN_FILENO, TIOCGWINSZ, &ws) != 0 || ws.ws_col == 0 || ws.ws_row == 0) return false;
    }
    cols = ws.ws_col;
    rows = ws.ws_row;
    return true;
}

void tty_write(const char* bytes, size_t count) {
    int stalls = 0;
    while (count > 0 && !g_tty.output_dead) {
        ssize_t w = write(STDOUT_FILENO, bytes, count);
        if (w > 0) {
            bytes += w;
            count -= static_cast<size_t>(w);
        } else if (w < 0 && errno == EINTR) {
            continue;
        } else if (w < 0 && (errno == EAGAIN || errno == EWOULDBLOCK) && ++stalls < 50) {
            struct pollfd pfd {STDOUT_FILENO, POLLOUT, 0};
            poll(&pfd, 1, 100);
        } else {
            g_tty.output_dead = true;  // hung up: nobody sees the screen any more
        }
    }
}

void tty_discard_input() { tcflush(STDIN_FILENO, TCIFLUSH); }

long tty_read(unsigned char* buffer, size_t size) {
    ssize_t n = read(STDIN_FILENO, buffer, size);
    if (n > 0) return static_cast<long>(n);
    if (n == 0) return 0;
    if (errno == EINTR || errno == EAGAIN || errno == EWOULDBLOCK) return -1;
    return 0;
}
