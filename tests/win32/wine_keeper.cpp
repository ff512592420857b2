// Holds the desktop of a test run's Wine session: a hidden window, so that
// Wine's desktop process starts now, from the session's start with its
// output elsewhere, and stays for the whole run. Were it started by a test's
// first window it would keep that test's output open, and the test would
// not end, for as long as other tests keep the desktop in use.
//   wine_keeper SECONDS READY_FILE   writes READY_FILE once the window is
//                                    there; ends when closed or after SECONDS
#include <windows.h>

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: wine_keeper SECONDS READY_FILE\n");
        return 2;
    }
    char* end = nullptr;
    long seconds = std::strtol(argv[1], &end, 10);
    if (*end || seconds <= 0) {
        std::fprintf(stderr, "wine_keeper: not a number of seconds: %s\n", argv[1]);
        return 2;
    }
    // A message-only window: it needs no display, as the tests have none.
    HWND window = CreateWindowExA(0, "STATIC", "wine_keeper", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    if (!window) {
        std::fprintf(stderr, "wine_keeper: no window (error %lu)\n", GetLastError());
        return 1;
    }
    HANDLE ready = CreateFileA(argv[2], GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (ready == INVALID_HANDLE_VALUE) {
        std::fprintf(stderr, "wine_keeper: cannot write %s\n", argv[2]);
        return 1;
    }
    CloseHandle(ready);
    // A bound, so that an interrupted run does not keep its server for ever.
    SetTimer(window, 1, UINT(seconds > 86400 ? 86400000 : seconds * 1000), nullptr);
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        if (msg.message == WM_TIMER) break;
        DispatchMessageA(&msg);
    }
    DestroyWindow(window);
    return 0;
}
