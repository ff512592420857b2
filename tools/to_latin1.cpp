// Converts a UTF-8 data source of data/ into the Latin-1 file the program
// reads; refuses characters that Latin-1 cannot hold.
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

#include "util/latin1.h"

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: to_latin1 SOURCE.utf8 TARGET\n");
        return 2;
    }
    std::ifstream in(argv[1], std::ios::binary);
    if (!in) {
        std::fprintf(stderr, "%s: cannot be read\n", argv[1]);
        return 1;
    }
    std::string out, line;
    int number = 0;
    while (std::getline(in, line)) {
        ++number;
        std::string converted = latin1(line);
        if (utf8(converted) != line) {
            std::fprintf(stderr, "%s:%d: not UTF-8 text that Latin-1 can hold\n", argv[1], number);
            return 1;
        }
        out += converted;
        if (!in.eof()) out += '\n';
    }
    std::string tmp = std::string(argv[2]) + ".tmp";
    {
        std::ofstream o(tmp, std::ios::binary | std::ios::trunc);
        o << out;
        if (!o) {
            std::fprintf(stderr, "%s: cannot be written\n", tmp.c_str());
            return 1;
        }
    }
    if (std::rename(tmp.c_str(), argv[2]) != 0) {
        std::fprintf(stderr, "%s: cannot be written\n", argv[2]);
        return 1;
    }
    return 0;
}
