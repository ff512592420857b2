// Reading the engine's data files as lines.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// No data file of the engine comes near this; a longer one (or an endless
// device) is refused rather than read until memory runs out.
constexpr size_t VERNA_MAX_FILE_BYTES = 16u * 1024u * 1024u;

// The whole file; false when it cannot be opened or read, or is longer
// than VERNA_MAX_FILE_BYTES.
bool verna_read_file(const std::string& path, std::string& contents);

// The lines of a text in order: ends at LF, a CR before it dropped; a last
// line without a line end counts; an empty text has no lines.
struct VernaLineCursor {
    std::string_view text;
    size_t pos = 0;
    int number = 0;  // 1-based number of the line last returned
    bool next(std::string_view& line);
};
