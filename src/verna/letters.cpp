// Letter classes and case conversion shared by the engine's stages.
#include "verna/letters.h"

bool verna_is_consonant(unsigned char c) {
    c = verna_upper_char(c);
    if (c == 199 || c == 209) return true;
    if (c < 'A' || c > 'Z') return false;
    return c != 'A' && c != 'E' && c != 'I' && c != 'O' && c != 'U';
}

std::string verna_upper(std::string_view text) {
    std::string out(text);
    for (char& c : out) c = static_cast<char>(verna_upper_char(static_cast<unsigned char>(c)));
    return out;
}

std::string verna_lower(std::string_view text) {
    std::string out(text);
    for (char& c : out) c = static_cast<char>(verna_lower_char(static_cast<unsigned char>(c)));
    return out;
}

std::string verna_trim(std::string_view text) {
    size_t b = 0, e = text.size();
    while (b < e && static_cast<unsigned char>(text[b]) <= ' ') ++b;
    while (e > b && static_cast<unsigned char>(text[e - 1]) <= ' ') --e;
    return std::string(text.substr(b, e - b));
}
