// Latin-1 <-> UTF-8 conversion.
#include "util/latin1.h"

namespace {
// Length of the UTF-8 sequence starting at in[i] and its code point; 0 when
// the bytes there are not a well-formed sequence.
size_t decode_utf8(std::string_view in, size_t i, unsigned& cp) {
    unsigned char c = static_cast<unsigned char>(in[i]);
    size_t len = (c & 0xE0) == 0xC0 ? 2 : (c & 0xF0) == 0xE0 ? 3 : (c & 0xF8) == 0xF0 ? 4 : 0;
    if (len == 0 || i + len > in.size()) return 0;
    cp = c & (0x7F >> len);
    for (size_t k = 1; k < len; ++k) {
        unsigned char d = static_cast<unsigned char>(in[i + k]);
        if ((d & 0xC0) != 0x80) return 0;
        cp = (cp << 6) | (d & 0x3F);
    }
    return len;
}
}  // namespace

std::string latin1(std::string_view in) {
    std::string out;
    out.reserve(in.size());
    for (size_t i = 0; i < in.size();) {
        unsigned char c = static_cast<unsigned char>(in[i]);
        unsigned cp = 0;
        size_t len = c < 0x80 ? 0 : decode_utf8(in, i, cp);
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
