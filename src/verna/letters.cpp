// Letter classes and case conversion shared by the engine's stages.
#include "verna/letters.h"

bool verna_is_letter(unsigned char c) {
    if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z')) return true;
    if (c >= 224) c -= 32;
    switch (c) {
        case 192: case 193: case 194: case 195: case 199: case 201: case 202: case 204: case 205:
        case 209: case 211: case 212: case 213: case 217: case 218: case 220:
            return true;
        default:
            return false;
    }
}

bool verna_is_consonant(unsigned char c) {
    c = verna_upper_char(c);
    if (c == 199 || c == 209) return true;
    if (c < 'A' || c > 'Z') return false;
    return c != 'A' && c != 'E' && c != 'I' && c != 'O' && c != 'U';
}

unsigned char verna_upper_char(unsigned char c) {
    if (c >= 'a' && c <= 'z') return static_cast<unsigned char>(c - 32);
    if (c >= 224 && c <= 254 && c != 247) return static_cast<unsigned char>(c - 32);
    return c;
}

unsigned char verna_lower_char(unsigned char c) {
    if (c >= 'A' && c <= 'Z') return static_cast<unsigned char>(c + 32);
    if (c >= 192 && c <= 222 && c != 215) return static_cast<unsigned char>(c + 32);
    return c;
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
