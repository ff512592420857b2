// Line access to the engine's data files.
#include "verna/data_lines.h"

#include "util/bounded_file.h"

bool verna_read_file(const std::string& path, std::string& contents) {
    if (read_bounded_file(path, contents, VERNA_MAX_FILE_BYTES) == BoundedRead::Ok) return true;
    contents.clear();
    return false;
}

bool VernaLineCursor::next(std::string_view& line) {
    if (pos >= text.size()) return false;
    size_t end = text.find('\n', pos);
    if (end == std::string_view::npos) end = text.size();
    line = text.substr(pos, end - pos);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    pos = end + 1;
    ++number;
    return true;
}
