// The Windows ANSI code page of the program's bytes, and its conversion
// to and from UTF-8.
#include "util/latin1.h"

namespace {
// Code points of the bytes 0x80..0x9F; 0 where the code page has none.
const unsigned short CODEPAGE_HIGH[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};
}  // namespace

size_t utf8_sequence_length(unsigned char lead) {
    if (lead < 0x80) return 1;
    if (lead >= 0xC2 && lead <= 0xDF) return 2;
    if (lead >= 0xE0 && lead <= 0xEF) return 3;
    if (lead >= 0xF0 && lead <= 0xF4) return 4;
    return 0;
}

size_t utf8_decode(std::string_view in, size_t i, unsigned& cp) {
    if (i >= in.size()) return 0;
    unsigned char c = static_cast<unsigned char>(in[i]);
    size_t len = utf8_sequence_length(c);
    if (len == 0 || i + len > in.size()) return 0;
    if (len == 1) {
        cp = c;
        return 1;
    }
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

unsigned codepage_code_point(unsigned char byte) {
    return byte >= 0x80 && byte < 0xA0 ? CODEPAGE_HIGH[byte - 0x80] : byte;
}

int codepage_byte(unsigned cp) {
    if (cp < 0x80 || (cp >= 0xA0 && cp < 0x100)) return static_cast<int>(cp);
    for (int i = 0; i < 32; ++i)
        if (CODEPAGE_HIGH[i] != 0 && CODEPAGE_HIGH[i] == cp) return 0x80 + i;
    return -1;
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
        int byte = cp < 0x100 ? static_cast<int>(cp) : codepage_byte(cp);
        out += byte < 0 ? '?' : static_cast<char>(byte);
        i += len;
    }
    return out;
}

std::string utf8(std::string_view in) {
    std::string out;
    out.reserve(in.size() + in.size() / 4);
    for (char ch : in) {
        unsigned char c = static_cast<unsigned char>(ch);
        unsigned cp = codepage_code_point(c);
        if (cp == 0) cp = c;
        utf8_append(out, cp);
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
