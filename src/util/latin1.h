// Conversions between the program's Latin-1 text and UTF-8 at its edges.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// The program's bytes are the Windows ANSI code page: Latin-1, with printable
// characters (the euro sign, curly quotes, dashes, the ellipsis...) at
// 0x80..0x9F. "Latin-1" in names and comments means this code page.

// The code point of a byte; 0 for the five bytes the code page leaves
// undefined (0x81, 0x8D, 0x8F, 0x90, 0x9D).
unsigned codepage_code_point(unsigned char byte);
// The byte of a code point, -1 when the code page has none. The C1 control
// code points U+0080..U+009F have none.
int codepage_byte(unsigned code_point);

// UTF-8 to Latin-1; characters outside the code page become '?'. Malformed
// bytes, and the C1 control code points, are taken as bytes themselves.
std::string latin1(std::string_view utf8);
// The length of the UTF-8 sequence that `lead` begins: 1 for ASCII, 2..4 for
// a lead byte, 0 for a byte that begins none (a continuation byte, 0xC0,
// 0xC1, 0xF5..0xFF). Lets a reader of a stream tell a sequence still
// arriving from a broken one.
size_t utf8_sequence_length(unsigned char lead);
// The code point of the UTF-8 sequence at in[i] and its length (1 for
// ASCII); 0 (and cp untouched) when the bytes there are not a well-formed,
// shortest sequence or are cut short by the end of `in`.
size_t utf8_decode(std::string_view in, size_t i, unsigned& cp);
// Upper case of the Latin-1 letters: a..z and the accented small letters
// à..þ except the division sign; every other byte stays as it is.
unsigned char latin1_upper(unsigned char c);
std::string latin1_upper(std::string_view text);
// Upper case of the ASCII letters only (unit and file names).
unsigned char ascii_upper(unsigned char c);
std::string ascii_upper(std::string_view text);
// Latin-1 to UTF-8 (an undefined byte becomes its C1 control code point).
std::string utf8(std::string_view latin1_text);
// Appends the UTF-8 form of a code point below U+10000 (all the code page has).
inline void utf8_append(std::string& out, unsigned cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | ((cp >> 12) & 0x0F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}
