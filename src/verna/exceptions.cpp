// The exceptions dictionary: respellings of irregular words, sorted once and
// binary-searched, with plural S and verb M split off.
#include "verna/letter_rules.h"

#include <algorithm>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "verna/data_lines.h"
#include "verna/letters.h"

namespace {
struct Exception {
    std::string word;
    std::string respelling;
};

struct ExceptionsState {
    std::vector<Exception> entries;  // sorted
    // Each word's first entry in the sorted list: every word of every text
    // is looked up, some several times (plural S, verb M).
    std::unordered_map<std::string_view, size_t> first;
    std::string message;
};
ExceptionsState g_exceptions;

const Exception* find(const std::string& word) {
    auto it = g_exceptions.first.find(word);
    return it == g_exceptions.first.end() ? nullptr : &g_exceptions.entries[it->second];
}
}  // namespace

void verna_clear_exceptions() {
    g_exceptions.first.clear();
    std::vector<Exception>().swap(g_exceptions.entries);
    g_exceptions.message.clear();
}
int verna_exception_count() { return static_cast<int>(g_exceptions.entries.size()); }
const std::string& verna_exceptions_message() { return g_exceptions.message; }

bool verna_load_exceptions_text(std::string_view text, const std::string& name) {
    verna_clear_exceptions();
    auto note = [&name](int line, const char* what) {
        if (g_exceptions.message.empty()) g_exceptions.message = name + ":" + std::to_string(line) + ": " + what;
    };
    VernaLineCursor lines{text};
    std::string_view raw;
    while (lines.next(raw)) {
        if (raw.empty()) continue;
        if (static_cast<int>(g_exceptions.entries.size()) == VERNA_MAX_EXCEPTIONS) {
            note(lines.number, "more than 15000 entries; the rest is ignored");
            break;
        }
        std::string line = verna_upper(raw.substr(0, VERNA_MAX_EXCEPTION_LINE));
        Exception e;
        size_t eq = line.find('=');
        if (eq == std::string::npos) {
            // Words are runs of letters: one ending in "|" never matches.
            note(lines.number, "no \"=\": the line never matches");
            e.word = line + "|";
        } else {
            e.word = line.substr(0, eq);
            size_t bar = line.find('|', eq + 1);
            e.respelling = line.substr(eq + 1, bar == std::string::npos ? std::string::npos : bar - eq - 1);
        }
        g_exceptions.entries.push_back(std::move(e));
    }
    std::sort(g_exceptions.entries.begin(), g_exceptions.entries.end(),
              [](const Exception& a, const Exception& b) { return a.word < b.word; });
    for (size_t i = 0; i < g_exceptions.entries.size(); ++i) g_exceptions.first.try_emplace(g_exceptions.entries[i].word, i);
    return true;
}

bool verna_load_exceptions(const std::string& path) {
    std::string text;
    if (!verna_read_file(path, text)) {
        verna_clear_exceptions();
        return false;
    }
    return verna_load_exceptions_text(text, path);
}

std::string verna_exception_lookup(const std::string& original) {
    std::string word = original, suffix;
    while (!word.empty()) {
        if (const Exception* e = find(word)) return e->respelling + suffix;
        char last = word.back();
        if (last != 'S' && last != 'M') break;
        suffix.insert(suffix.begin(), last);
        word.pop_back();
    }
    return original;
}
