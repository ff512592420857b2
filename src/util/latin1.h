// Conversions between the program's Latin-1 text and UTF-8 at its edges.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// UTF-8 to Latin-1; characters outside Latin-1 become '?'. Malformed bytes
// are taken as Latin-1 themselves.
std::string latin1(std::string_view utf8);
// The code point of the UTF-8 sequence at in[i] and its length; 0 (and cp
// untouched) when the bytes there are not a well-formed, shortest sequence.
size_t utf8_decode(std::string_view in, size_t i, unsigned& cp);
// Upper case of the Latin-1 letters: a..z and the accented small letters
// à..þ except the division sign; every other byte stays as it is.
unsigned char latin1_upper(unsigned char c);
std::string latin1_upper(std::string_view text);
// Upper case of the ASCII letters only (unit and file names).
unsigned char ascii_upper(unsigned char c);
std::string ascii_upper(std::string_view text);
// Latin-1 to UTF-8.
std::string utf8(std::string_view latin1_text);
