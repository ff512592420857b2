// Private-profile (INI) lookup with the Windows rules, over files or text in memory.
#include "platform/profile.h"

#include <cstdio>
#include <cstring>
#include <utility>

#include "platform/os.h"

namespace {

// A settings file larger than this is not a settings file; reading it whole
// would only waste memory, so it reads as empty.
constexpr size_t PROFILE_MAX_FILE_BYTES = 64u * 1024u * 1024u;

bool is_blank(unsigned char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f'; }

// Case folding of the Windows ANSI code page: ASCII letters and the Latin-1
// accented letters (224..254 except the division sign) fold to upper case.
unsigned char fold(unsigned char c) {
    if (c >= 'a' && c <= 'z') return static_cast<unsigned char>(c - 32);
    if (c >= 224 && c != 247 && c != 255) return static_cast<unsigned char>(c - 32);
    return c;
}

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
    out.clear();
    FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) return false;
    char buf[65536];
    bool ok = true;
    size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) {
        if (out.size() + n > PROFILE_MAX_FILE_BYTES) {
            ok = false;
            break;
        }
        out.append(buf, n);
    }
    if (std::ferror(f)) ok = false;
    std::fclose(f);
    if (!ok) out.clear();
    return ok;
}

}  // namespace

bool profile_lookup(const std::string& text, const std::string& section, const std::string& key, std::string& value) {
    size_t pos = 0;
    if (text.compare(0, 3, "\xEF\xBB\xBF") == 0) pos = 3;
    bool in_section = false;
    bool section_seen = false;
    while (pos < text.size()) {
        size_t eol = text.find('\n', pos);
        if (eol == std::string::npos) eol = text.size();
        size_t begin = pos, end = eol;
        pos = eol + 1;
        trim(text, begin, end);
        if (begin == end) continue;
        char first = text[begin];
        if (first == ';') continue;
        if (first == '[') {
            // Only the first section of a name counts: once it has been left,
            // a later section of the same name cannot supply the key.
            if (in_section) break;
            size_t close = end - 1;
            while (close > begin && text[close] != ']') --close;
            size_t name_begin = begin + 1;
            size_t name_end = close > begin ? close : end;
            trim(text, name_begin, name_end);
            if (!section_seen && same_name(text.data() + name_begin, name_end - name_begin, section)) {
                in_section = true;
                section_seen = true;
            }
            continue;
        }
        if (!in_section) continue;
        const char* line = text.data() + begin;
        const void* eq_at = std::memchr(line, '=', end - begin);
        if (!eq_at) continue;
        size_t eq = begin + static_cast<size_t>(static_cast<const char*>(eq_at) - line);
        size_t key_begin = begin, key_end = eq;
        trim(text, key_begin, key_end);
        if (!same_name(text.data() + key_begin, key_end - key_begin, key)) continue;
        size_t val_begin = eq + 1, val_end = end;
        trim(text, val_begin, val_end);
        if (val_end - val_begin >= 2) {
            char q = text[val_begin];
            if ((q == '"' || q == '\'') && text[val_end - 1] == q) {
                ++val_begin;
                --val_end;
            }
        }
        value = cut(text.substr(val_begin, val_end - val_begin), std::string::npos);
        return true;
    }
    return false;
}

std::string profile_read_from_text(const std::string& text, const std::string& section, const std::string& key,
                                   const std::string& def, size_t capacity) {
    std::string value;
    if (!profile_lookup(text, section, key, value)) return cut(def, capacity);
    return cut(std::move(value), capacity);
}

bool profile_read_file(const std::string& path, std::string& text) { return read_whole_file(path, text); }

std::string profile_read_string(const std::string& section, const std::string& key, const std::string& def,
                                const std::string& file, size_t capacity) {
    std::string path = file;
    if (file.find('/') == std::string::npos) path = os_windows_directory() + "/" + file;
    std::string text;
    if (!read_whole_file(path, text)) return cut(def, capacity);
    return profile_read_from_text(text, section, key, def, capacity);
}
