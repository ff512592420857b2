// Whole-file reads with a limit.
#include "util/bounded_file.h"

#include <cerrno>
#include <cstdio>

BoundedRead read_bounded_file(const std::string& path, std::string& out, size_t limit) {
    out.clear();
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) return BoundedRead::CannotOpen;
    char buf[65536];
    BoundedRead result = BoundedRead::Ok;
    for (;;) {
        // One byte past the limit tells a file of exactly `limit` bytes from
        // a longer one.
        size_t want = sizeof buf;
        if (limit + 1 - out.size() < want) want = limit + 1 - out.size();
        size_t n = std::fread(buf, 1, want, f);
        out.append(buf, n);
        if (out.size() > limit) {
            out.resize(limit);
            result = BoundedRead::TooLong;
            break;
        }
        if (n < want) {
            // A directory opens and then fails its first read.
            if (std::ferror(f)) {
                out.clear();
                result = BoundedRead::ReadError;
            }
            break;
        }
    }
    int saved = errno;
    std::fclose(f);
    errno = saved;
    return result;
}
