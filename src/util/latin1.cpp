// Latin-1 <-> UTF-8 conversion.
#include "util/latin1.h"

size_t utf8_decode(std::string_view in, size_t i, unsigned& cp) {
    if (i >= in.size()) return 0;
    unsigned char c = static_cast<unsigned char>(in[i]);
    size_t len = (c & 0xE0) == 0xC0 ? 2 : (c & 0xF0) == 0xE0 ? 3 : (c & 0xF8) == 0xF0 ? 4 : 0;
    if (len == 0 || i + len > in.size()) return 0;
    unsigned value = c & (0x7F >> len);
    for (size_t k = 1; k < len; ++k) {
        unsigned char d = static_cast<unsigned char>(in[i + k]);
        if ((d & 0xC0) != 0x80) return 0;
        value = (value << 6) | (d & 0x3F);
    }
    // Overlong forms and values beyond Unicode are not UTF-8 either.
    static const unsigned MIN[] = {0, 0, 0x80, 0x800, 0x10000};
    if (value < MIN[len] || value > 0x10FFFF) return 0;
    cp = value;
    return len;
}

std::string latin1(std::string_view in) {
    std::string out;
    out.reserve(in.size());
    for (size_t i = 0; i < in.size();) {
        unsigned char c = static_cast<unsigned char>(in[i]);
        unsigned cp = 0;
        size_t len = c < 0x80 ? 0 : utf8_decode(in, i, cp);
        if (len == 0) {
            out += static_cast<char>(c);
            ++i;
            continue;
        }
        out += cp < 256 ? static_cast<char>(cp) : '?';
        i += len;
    }
    return out;
}

std::string utf8(std::string_view in) {
    std::string out;
    out.reserve(in.size() + in.size() / 4);
    for (char ch : in) {
        unsigned char c = static_cast<unsigned char>(ch);
        if (c < 0x80) {
            out += ch;
        } else {
            out += static_cast<char>(0xC0 | (c >> 6));
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return out;
}

unsigned char latin1_upper(unsigned char c) {
    if ((c >= 'a' && c <= 'z') || (c >= 224 && c <= 254 && c != 247)) return static_cast<unsigned char>(c - 32);
    return c;
}

std::string latin1_upper(std::string_view text) {
    std::string out(text);
    for (char& c : out) c = static_cast<char>(latin1_upper(static_cast<unsigned char>(c)));
    return out;
}

unsigned char ascii_upper(unsigned char c) { return c >= 'a' && c <= 'z' ? static_cast<unsigned char>(c - 32) : c; }

std::string ascii_upper(std::string_view text) {
    std::string out(text);
    for (char& c : out) c = static_cast<char>(ascii_upper(static_cast<unsigned char>(c)));
    return out;
}
