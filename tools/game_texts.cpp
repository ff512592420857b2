// Prints the game's recording keys and what each recording says, one
// "KEY<TAB>text" line per recording in UTF-8, for generating the recordings.
// The lines of a multi-line text are joined by blanks; a key that several
// texts share (or that differs only in case) is printed once, with its first text.
#include <cstdio>
#include <set>
#include <string>

#include "game/texts.h"
#include "util/latin1.h"

int main() {
    std::set<std::string> printed;
    for (int i = 0; i < TXT_COUNT; ++i) {
        const GameTextEntry& e = game_text_entry(static_cast<GameText>(i));
        std::string key = e.key;
        if (key.empty()) continue;
        std::string folded = key;
        for (char& c : folded) c = static_cast<char>(c >= 'a' && c <= 'z' ? c - 32 : c);
        if (!printed.insert(folded).second) continue;
        std::string text = e.spoken.empty() ? e.text : e.spoken;
        std::string joined;
        for (char c : text) {
            if (c != '\n') {
                joined += c;
            } else if (!joined.empty() && joined.back() != ' ') {
                joined += ' ';
            }
        }
        std::printf("%s\t%s\n", key.c_str(), utf8(joined).c_str());
    }
    return 0;
}
