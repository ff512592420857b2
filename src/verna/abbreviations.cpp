// The abbreviations table: loaded from the abbreviations file, searched in
// file order by the normaliser.
#include "verna/abbreviations.h"

#include <vector>

#include "verna/data_lines.h"
#include "verna/letters.h"

namespace {
struct Abbreviation {
    std::string key;  // upper case; "" for a line without "=" (never matches)
    std::string expansion;
};

struct AbbreviationsState {
    std::vector<Abbreviation> entries;
    std::string message;
};
AbbreviationsState g_abbr;
}  // namespace

bool verna_load_abbreviations_text(std::string_view text, const std::string& name) {
    g_abbr.entries.clear();
    g_abbr.message.clear();
    VernaLineCursor lines{text};
    std::string_view raw;
    while (lines.next(raw)) {
        std::string line = verna_trim(raw);
        if (line.empty() || line[0] == ';') continue;
        if (static_cast<int>(g_abbr.entries.size()) == VERNA_MAX_ABBREVIATIONS) {
            g_abbr.message = name + ":" + std::to_string(lines.number) + ": more than " +
                             std::to_string(VERNA_MAX_ABBREVIATIONS) + " abbreviations";
            return false;
        }
        Abbreviation a;
        size_t eq = line.find('=');
        if (eq != std::string::npos) {
            a.key = verna_upper(verna_trim(std::string_view(line).substr(0, eq)));
            a.expansion = verna_trim(std::string_view(line).substr(eq + 1, VERNA_MAX_EXPANSION));
        } else if (g_abbr.message.empty()) {
            g_abbr.message = name + ":" + std::to_string(lines.number) + ": no \"=\": the line never matches";
        }
        g_abbr.entries.push_back(std::move(a));
    }
    return true;
}

bool verna_load_abbreviations(const std::string& path) {
    std::string text;
    if (!verna_read_file(path, text)) {
        g_abbr.entries.clear();
        g_abbr.message = path + ": cannot be read";
        return false;
    }
    return verna_load_abbreviations_text(text, path);
}

std::string verna_abbreviation(std::string_view word) {
    if (word.empty()) return "";
    std::string key = verna_upper(word);
    for (const Abbreviation& a : g_abbr.entries)
        if (!a.key.empty() && a.key == key) return a.expansion;
    return "";
}

int verna_abbreviation_count() { return static_cast<int>(g_abbr.entries.size()); }
const std::string& verna_abbreviations_message() { return g_abbr.message; }
void verna_abbreviations_reset() { g_abbr = AbbreviationsState{}; }
