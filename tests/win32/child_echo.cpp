// A child program for the Windows service tests:
//   child_echo echo CODE     copies its input to its output, says how many
//                            bytes it read on its error output, exits with CODE
//   child_echo args FILE ... writes its arguments after FILE, one a line, to FILE
//   child_echo wait          reads nothing and waits until it is ended
//   child_echo ARGUMENT      (one argument that is no mode) writes it to the
//                            file child_echo.out of the current directory
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

int main(int argc, char** argv) {
    if (argc >= 3 && !std::strcmp(argv[1], "echo")) {
        HANDLE in = GetStdHandle(STD_INPUT_HANDLE), out = GetStdHandle(STD_OUTPUT_HANDLE);
        char buf[4096];
        DWORD n = 0, total = 0;
        while (ReadFile(in, buf, sizeof buf, &n, nullptr) && n > 0) {
            DWORD done = 0;
            if (!WriteFile(out, buf, n, &done, nullptr)) return 3;
            total += n;
        }
        std::string said = "read " + std::to_string(total) + "\n";
        DWORD done = 0;
        WriteFile(GetStdHandle(STD_ERROR_HANDLE), said.data(), DWORD(said.size()), &done, nullptr);
        return std::atoi(argv[2]);
    }
    if (argc >= 3 && !std::strcmp(argv[1], "args")) {
        FILE* f = std::fopen(argv[2], "wb");
        if (!f) return 4;
        for (int i = 3; i < argc; ++i) std::fprintf(f, "%s\n", argv[i]);
        std::fclose(f);
        return 0;
    }
    if (argc >= 2 && !std::strcmp(argv[1], "wait")) {
        Sleep(INFINITE);
        return 0;
    }
    if (argc == 2) {
        FILE* f = std::fopen("child_echo.out", "wb");
        if (!f) return 4;
        std::fprintf(f, "%s\n", argv[1]);
        std::fclose(f);
        return 0;
    }
    std::fprintf(stderr, "usage: child_echo echo CODE | args FILE ... | wait | ARGUMENT\n");
    return 2;
}
