// Keyed tokens of a normalised text and their intonation patterns.
#include "verna/tokens.h"

#include "verna/letters.h"
#include "verna/prosody.h"

namespace {
const char* const BOUNDARY = "[--]";

// The key of a token line: the two characters after "[" ("" for none).
std::string key_of(const std::string* line) {
    if (!line || line->size() < 3) return "";
    return line->substr(1, 2);
}

bool key_matches(const std::string& rule_key, const std::string& token_key) {
    return rule_key.empty() || rule_key == token_key;
}
}  // namespace

VernaLines verna_tokenise(const std::string& text) {
    VernaLines out;
    out.push_back(BOUNDARY);
    size_t pos = 0;
    while (true) {
        while (pos < text.size() && text[pos] == ' ') ++pos;
        if (pos >= text.size()) break;
        std::string key, token;
        if (text[pos] == '.' && pos + 1 < text.size() && text[pos + 1] == '.') {
            key = ".-";
            token = ".";
            while (pos < text.size() && text[pos] == '.') ++pos;
        } else if (!verna_is_letter(static_cast<unsigned char>(text[pos]))) {
            key = std::string(2, text[pos]);
            token = text.substr(pos, 1);
            ++pos;
        } else {
            size_t start = pos;
            while (pos < text.size() && verna_is_letter(static_cast<unsigned char>(text[pos]))) ++pos;
            token = text.substr(start, pos - start);
            key = verna_word_key(token);
            if (key.empty()) key = "XX";
            // A one-character key from the file keeps the line's layout.
            if (key.size() < 2) key += ' ';
        }
        out.push_back("[" + key + "]" + token);
        if (token[0] == '!' || token[0] == '.' || token[0] == '?') out.push_back(BOUNDARY);
    }
    return out;
}

VernaLines verna_assign_patterns(const VernaLines& tokens) {
    VernaLines out;
    out.reserve(tokens.size());
    char carried = '5';
    const int rule_count = verna_intonation_rule_count();
    for (size_t i = 0; i < tokens.size(); ++i) {
        std::string previous = key_of(i > 0 ? &tokens[i - 1] : nullptr);
        std::string current = key_of(&tokens[i]);
        std::string next = key_of(i + 1 < tokens.size() ? &tokens[i + 1] : nullptr);
        std::string pattern = "555";
        for (int r = 0; r < rule_count; ++r) {
            const VernaIntonationRule& rule = verna_intonation_rule(r);
            if (key_matches(rule.previous, previous) && key_matches(rule.current, current) &&
                key_matches(rule.next, next)) {
                pattern = rule.pattern;
                break;
            }
        }
        if (!pattern.empty() && pattern[0] == '?') pattern[0] = carried;
        if (pattern.size() >= 3) carried = pattern[2];
        const std::string& line = tokens[i];
        out.push_back(pattern + "|" + (line.size() > 4 ? line.substr(4) : std::string()));
    }
    return out;
}
