// Prints the game's recording keys and what each recording says, one
// "KEY<TAB>text" line per recording in UTF-8, for generating the recordings.
// The lines of a multi-line text are joined into one; a key that several
// texts share (or that differs only in case) is printed once, with its first text.
#include <cstdio>
#include <set>
#include <string>
#include <vector>

#include "game/texts.h"
#include "util/latin1.h"

namespace {
std::vector<std::string> non_empty_lines(const std::string& text) {
    std::vector<std::string> lines;
    size_t start = 0;
    while (start <= text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        if (end > start) lines.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return lines;
}

// Wrapped prose runs on; a line of a list that ends without a mark before a
// line that starts a sentence gets a full stop, so that it is spoken as one.
std::string join_for_speech(const std::string& text) {
    std::vector<std::string> lines = non_empty_lines(text);
    std::string joined;
    for (size_t i = 0; i < lines.size(); ++i) {
        joined += lines[i];
        if (i + 1 == lines.size()) break;
        char last = lines[i].back();
        char next = lines[i + 1].front();
        bool marked = last == '.' || last == '!' || last == '?' || last == ':' || last == ',';
        bool capital = (next >= 'A' && next <= 'Z') || (static_cast<unsigned char>(next) >= 192 && static_cast<unsigned char>(next) <= 222);
        if (!marked && capital) joined += '.';
        joined += ' ';
    }
    return joined;
}
}  // namespace

int main() {
    std::set<std::string> printed;
    for (int i = 0; i < TXT_COUNT; ++i) {
        const GameTextEntry& e = game_text_entry(static_cast<GameText>(i));
        std::string key = e.key;
        if (key.empty()) continue;
        std::string folded = key;
        for (char& c : folded) c = static_cast<char>(c >= 'a' && c <= 'z' ? c - 32 : c);
        if (!printed.insert(folded).second) continue;
        std::string text = join_for_speech(e.spoken.empty() ? e.text : e.spoken);
        std::printf("%s\t%s\n", key.c_str(), utf8(text).c_str());
    }
    return 0;
}
