// Private-profile (INI) lookup with the Windows rules, over files or text in memory.
#include "platform/profile.h"

#include <cstring>
#include <unordered_set>
#include <utility>

#include "util/bounded_file.h"
#include "util/latin1.h"

namespace {

// A settings file larger than this is not a settings file (they are a few
// kilobytes): reading stops at the bound and the file reads as empty. The
// bound is small because a file is read again for every direct lookup.
constexpr size_t PROFILE_MAX_FILE_BYTES = 1024u * 1024u;

bool is_blank(unsigned char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f'; }

// Names compare by the case folding of the Windows ANSI code page.
unsigned char fold(unsigned char c) { return latin1_upper(c); }

bool same_name(const char* a, size_t alen, const std::string& b) {
    if (alen != b.size()) return false;
    for (size_t i = 0; i < alen; ++i)
        if (fold(static_cast<unsigned char>(a[i])) != fold(static_cast<unsigned char>(b[i]))) return false;
    return true;
}

// Narrows [begin, end) of `s` by removing blanks at both ends.
void trim(const std::string& s, size_t& begin, size_t& end) {
    while (begin < end && is_blank(static_cast<unsigned char>(s[begin]))) ++begin;
    while (end > begin && is_blank(static_cast<unsigned char>(s[end - 1]))) --end;
}

std::string cut(std::string value, size_t capacity) {
    // The value went into a C buffer: a NUL byte ends it, and one byte is
    // kept for the terminator.
    size_t nul = value.find('\0');
    if (nul != std::string::npos) value.resize(nul);
    size_t room = capacity == 0 ? 0 : capacity - 1;
    if (value.size() > room) value.resize(room);
    return value;
}

bool read_whole_file(const std::string& path, std::string& out) {
    if (read_bounded_file(path, out, PROFILE_MAX_FILE_BYTES) == BoundedRead::Ok) return true;
    out.clear();
    return false;
}

}  // namespace

namespace {

// One line of INI text: a section header with its name, a "key=value" entry
// (blanks trimmed, a pair of quotes and anything after a NUL byte removed from
// the value), or anything else (blank, comment, a line without "=").
struct ProfileLine {
    enum Kind { OTHER, SECTION, ENTRY } kind = OTHER;
    size_t name_begin = 0, name_end = 0;
    size_t value_begin = 0, value_end = 0;
};

// Parses the line at `pos` and moves `pos` past it; false at the end.
bool next_line(const std::string& text, size_t& pos, ProfileLine& line) {
    if (pos == 0 && text.compare(0, 3, "\xEF\xBB\xBF") == 0) pos = 3;
    if (pos >= text.size()) return false;
    size_t eol = text.find('\n', pos);
    if (eol == std::string::npos) eol = text.size();
    size_t begin = pos, end = eol;
    pos = eol + 1;
    line = ProfileLine{};
    trim(text, begin, end);
    if (begin == end || text[begin] == ';') return true;
    if (text[begin] == '[') {
        size_t close = end - 1;
        while (close > begin && text[close] != ']') --close;
        line.kind = ProfileLine::SECTION;
        line.name_begin = begin + 1;
        line.name_end = close > begin ? close : end;
        trim(text, line.name_begin, line.name_end);
        return true;
    }
    const void* eq_at = std::memchr(text.data() + begin, '=', end - begin);
    if (!eq_at) return true;
    size_t eq = static_cast<size_t>(static_cast<const char*>(eq_at) - text.data());
    line.kind = ProfileLine::ENTRY;
    line.name_begin = begin;
    line.name_end = eq;
    trim(text, line.name_begin, line.name_end);
    line.value_begin = eq + 1;
    line.value_end = end;
    trim(text, line.value_begin, line.value_end);
    if (line.value_end - line.value_begin >= 2) {
        char q = text[line.value_begin];
        if ((q == '"' || q == '\'') && text[line.value_end - 1] == q) {
            ++line.value_begin;
            --line.value_end;
        }
    }
    const void* nul = std::memchr(text.data() + line.value_begin, '\0', line.value_end - line.value_begin);
    if (nul) line.value_end = static_cast<size_t>(static_cast<const char*>(nul) - text.data());
    return true;
}

std::string folded(const char* s, size_t n) {
    std::string out(s, n);
    for (char& c : out) c = static_cast<char>(fold(static_cast<unsigned char>(c)));
    return out;
}

// Section and key joined by a byte that no name read from a line can hold.
std::string index_key(const std::string& section, const std::string& key) {
    return folded(section.data(), section.size()) + '\n' + folded(key.data(), key.size());
}

}  // namespace

bool profile_lookup(const std::string& text, const std::string& section, const std::string& key, std::string& value) {
    size_t pos = 0;
    bool in_section = false;
    ProfileLine line;
    while (next_line(text, pos, line)) {
        if (line.kind == ProfileLine::SECTION) {
            // Only the first section of a name counts: once it has been left,
            // a later section of the same name cannot supply the key.
            if (in_section) break;
            in_section = same_name(text.data() + line.name_begin, line.name_end - line.name_begin, section);
        } else if (line.kind == ProfileLine::ENTRY && in_section &&
                   same_name(text.data() + line.name_begin, line.name_end - line.name_begin, key)) {
            value = text.substr(line.value_begin, line.value_end - line.value_begin);
            return true;
        }
    }
    return false;
}

void profile_build_index(const std::string& text, ProfileIndex& index) {
    index.clear();
    std::unordered_set<std::string> sections;
    bool live = false;
    std::string section;
    size_t pos = 0;
    ProfileLine line;
    while (next_line(text, pos, line)) {
        if (line.kind == ProfileLine::SECTION) {
            section = folded(text.data() + line.name_begin, line.name_end - line.name_begin);
            live = sections.insert(section).second;
        } else if (line.kind == ProfileLine::ENTRY && live) {
            std::string key = section + '\n' + folded(text.data() + line.name_begin, line.name_end - line.name_begin);
            index.try_emplace(std::move(key), text, line.value_begin, line.value_end - line.value_begin);
        }
    }
}

bool profile_index_lookup(const ProfileIndex& index, const std::string& section, const std::string& key,
                          std::string& value) {
    if (section.find('\n') != std::string::npos || key.find('\n') != std::string::npos) return false;
    auto it = index.find(index_key(section, key));
    if (it == index.end()) return false;
    value = it->second;
    return true;
}

std::string profile_read_from_text(const std::string& text, const std::string& section, const std::string& key,
                                   const std::string& def, size_t capacity) {
    std::string value;
    if (!profile_lookup(text, section, key, value)) return cut(def, capacity);
    return cut(std::move(value), capacity);
}

bool profile_read_file(const std::string& path, std::string& text) { return read_whole_file(path, text); }
