// Keyed tokens of a normalised text and their intonation patterns.
#include "verna/tokens.h"

#include <string_view>

#include "verna/letters.h"
#include "verna/prosody.h"

namespace {
const char* const BOUNDARY = "[--]";

// The key of a token line: the two characters after "[" ("" for none).
std::string_view key_of(const std::string* line) {
    if (!line || line->size() < 3) return {};
    return std::string_view(*line).substr(1, 2);
}

bool key_matches(const std::string& rule_key, std::string_view token_key) {
    return rule_key.empty() || rule_key == token_key;
}

const VernaIntonationRule* first_matching_rule(std::string_view previous, std::string_view current,
                                               std::string_view next) {
    for (const VernaIntonationRule& rule : verna_intonation_rules()) {
        if (key_matches(rule.previous, previous) && key_matches(rule.current, current) && key_matches(rule.next, next))
            return &rule;
    }
    return nullptr;
}

bool rules_name_word_questions() {
    for (const VernaIntonationRule& rule : verna_intonation_rules())
        if (rule.previous == VERNA_WORD_QUESTION_KEY || rule.current == VERNA_WORD_QUESTION_KEY ||
            rule.next == VERNA_WORD_QUESTION_KEY)
            return true;
    return false;
}

// Whether the sentence so far opens with a question word.
struct SentenceStart {
    int words = 0;
    bool first_keyed = false;
    bool question_word = false;
    void word(const std::string& key) {
        ++words;
        bool is_question_word = key == VERNA_QUESTION_WORD_KEY;
        if (words == 1) first_keyed = key != "XX";
        if (is_question_word && (words == 1 || (words == 2 && first_keyed))) question_word = true;
    }
};
}  // namespace

VernaLines verna_tokenise(const std::string& text) {
    VernaLines out;
    out.push_back(BOUNDARY);
    const bool word_questions = rules_name_word_questions();
    SentenceStart sentence;
    size_t pos = 0;
    while (true) {
        while (pos < text.size() && text[pos] == ' ') ++pos;
        if (pos >= text.size()) break;
        std::string key;
        std::string_view token;
        if (text[pos] == '.' && pos + 1 < text.size() && text[pos + 1] == '.') {
            key = ".-";
            token = ".";
            while (pos < text.size() && text[pos] == '.') ++pos;
        } else if (!verna_is_letter(static_cast<unsigned char>(text[pos]))) {
            key = std::string(2, text[pos]);
            token = std::string_view(text).substr(pos, 1);
            if (text[pos] == '?' && word_questions && sentence.question_word) key = VERNA_WORD_QUESTION_KEY;
            ++pos;
        } else {
            size_t start = pos;
            while (pos < text.size() && verna_is_letter(static_cast<unsigned char>(text[pos]))) ++pos;
            token = std::string_view(text).substr(start, pos - start);
            key = verna_word_key(token);
            if (key.empty()) key = "XX";
            // A one-character key from the file keeps the line's layout.
            if (key.size() < 2) key += ' ';
            sentence.word(key);
        }
        std::string line;
        line.reserve(key.size() + token.size() + 2);
        line.append(1, '[').append(key).append(1, ']').append(token);
        out.push_back(std::move(line));
        if (token[0] == '!' || token[0] == '.' || token[0] == '?') {
            out.push_back(BOUNDARY);
            sentence = SentenceStart{};
        }
    }
    return out;
}

VernaLines verna_assign_patterns(const VernaLines& tokens) {
    VernaLines out;
    out.reserve(tokens.size());
    char carried = '5';
    static const std::string DEFAULT_PATTERN = "555";
    for (size_t i = 0; i < tokens.size(); ++i) {
        const VernaIntonationRule* rule = first_matching_rule(key_of(i > 0 ? &tokens[i - 1] : nullptr), key_of(&tokens[i]),
                                                              key_of(i + 1 < tokens.size() ? &tokens[i + 1] : nullptr));
        const std::string& token = tokens[i];
        std::string line;
        line.reserve(DEFAULT_PATTERN.size() + 1 + token.size());
        line = rule ? rule->pattern : DEFAULT_PATTERN;
        if (!line.empty() && line[0] == '?') line[0] = carried;
        if (line.size() >= 3) carried = line[2];
        line += '|';
        if (token.size() > 4) line.append(token, 4);
        out.push_back(std::move(line));
    }
    return out;
}
