// The first step of the rule engine: text to plain letters, accent marks
// written after their vowel, and code 1 for characters it cannot speak.
#include "diphone/rules_text.h"

namespace {

bool is_letter(unsigned char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

// Replacement of each code from 128 to 255 (Windows and DOS accented
// letters alike); nullptr means "not speakable".
struct AccentTable {
    const char* entry[128] = {};

    void set(const char* text, std::initializer_list<int> codes) {
        for (int c : codes) entry[c - 128] = text;
    }

    AccentTable() {
        set("ss", {128, 135, 199, 231});
        set("u\"", {129, 154});
        set("e'", {130, 144, 201, 233});
        set("a^", {131, 194, 226});
        set("a~", {132, 142, 195, 196, 227, 228});
        set("a`", {133, 192, 224});
        set("a'", {134, 143, 160, 193, 225});
        set("e^", {136, 202, 234});
        set("e\"", {137, 203, 235});
        set("e`", {138, 200, 232});
        set("i\"", {139, 207, 239});
        set("i^", {140, 206, 238});
        set("i`", {141, 204, 236});
        set("ae", {145, 198, 230});
        set("-", {146});
        set("o^", {147, 212, 244});
        set("o~", {148, 153, 213, 245});
        set("o`", {149, 210, 214, 242, 246});
        set("u^", {150, 219, 251});
        set("u`", {151, 217, 249});
        set("y-", {152});
        set("i'", {161, 205, 237});
        set("o'", {162, 211, 243});
        set("u'", {163, 218, 250});
        set("nh", {164, 165, 209, 241});
        set("\xA7", {167});
        set("?", {168, 191});
        set("\xAA", {171});
        set("!", {173});
        set("\"", {174, 175});
        set("\xBA", {187});
        set("a", {197, 229});
        set("x", {215, 247});
        set("0", {216, 248});
        set("u", {220, 252});
    }
};

const AccentTable k_accents;

}  // namespace

std::string rules_normalize(std::string_view text) {
    std::string out;
    out.reserve(text.size() + text.size() / 2 + 8);
    size_t n = text.size();
    for (size_t i = 0; i < n; ++i) {
        unsigned char c = static_cast<unsigned char>(text[i]);
        bool letter_before = i > 0 && is_letter(static_cast<unsigned char>(text[i - 1]));
        bool letter_after = i + 1 < n && is_letter(static_cast<unsigned char>(text[i + 1]));
        if ((c == 'W' || c == 'w') && (letter_before || letter_after)) c = 'u';
        if (c == 'Y' || c == 'y') {
            bool alone = (i == 0 || text[i - 1] == ' ') && (i + 1 == n || text[i + 1] == ' ');
            if (letter_before || letter_after || alone) c = 'i';
        }
        if (c == '\'' && i > 0 && (text[i - 1] == 'D' || text[i - 1] == 'd')) continue;
        if (c < 32) {
            out += " \x01 ";
        } else if (c < 128) {
            out += static_cast<char>(c);
        } else if (const char* e = k_accents.entry[c - 128]) {
            out += e;
        } else {
            out += " \x01 ";
        }
    }
    return out;
}
