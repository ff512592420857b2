// Reading a whole file into memory with a size limit, for the loaders of
// outside files: an endless source (/dev/zero, a pipe) or a huge file must
// not fill memory.
#pragma once

#include <cstddef>
#include <string>

enum class BoundedRead {
    Ok,
    CannotOpen,  // errno says why
    TooLong,     // `out` holds the first `limit` bytes
    ReadError,   // errno says why (EISDIR for a directory); `out` is empty
};

BoundedRead read_bounded_file(const std::string& path, std::string& out, size_t limit);
