// Conversions between the program's Latin-1 text and UTF-8 at its edges.
#pragma once

#include <string>
#include <string_view>

// UTF-8 to Latin-1; characters outside Latin-1 become '?'. Malformed bytes
// are taken as Latin-1 themselves.
std::string latin1(std::string_view utf8);
// Latin-1 to UTF-8.
std::string utf8(std::string_view latin1_text);
