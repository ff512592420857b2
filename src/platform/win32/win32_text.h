// The program's Latin-1 text as the wide characters the window, the message
// box and the clipboard take, and back.
#pragma once

#include <string>

// Each byte becomes its code point in the code page; the five bytes the code
// page leaves undefined become "?".
std::wstring win32_wide(const std::string& latin1_text);
// Each UTF-16 unit that the code page has becomes its byte; others (and
// surrogate pairs) become "?". Stops at a zero or after `count` units.
std::string win32_latin1(const wchar_t* text, size_t count);
