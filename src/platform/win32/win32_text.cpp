// Latin-1 text to wide characters and back, through the code page's table.
#include "platform/win32/win32_text.h"

#include "util/latin1.h"

std::wstring win32_wide(const std::string& latin1_text) {
    std::wstring out;
    out.reserve(latin1_text.size());
    for (unsigned char c : latin1_text) {
        unsigned cp = codepage_code_point(c);
        out += static_cast<wchar_t>(cp == 0 && c != 0 ? '?' : cp);
    }
    return out;
}

std::string win32_latin1(const wchar_t* text, size_t count) {
    std::string out;
    for (size_t i = 0; i < count && text[i]; ++i) {
        unsigned unit = static_cast<unsigned>(text[i]);
        if (unit >= 0xD800 && unit <= 0xDBFF && i + 1 < count && text[i + 1]) ++i;  // one "?" for the pair
        int b = codepage_byte(unit);
        out += static_cast<char>(b < 0 ? '?' : b);
    }
    return out;
}
