// The leading-number scanner.
#include "util/number_scan.h"

namespace {
int digit_value(char c, int base) {
    if (c >= '0' && c <= '9') return c - '0';
    if (base == 16 && c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (base == 16 && c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}
}  // namespace

ScannedNumber scan_leading_number(std::string_view text, long limit, bool skip_blanks, bool hex_prefixes) {
    ScannedNumber n;
    size_t i = 0;
    if (skip_blanks)
        while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) n.negative = text[i++] == '-';
    int base = 10;
    if (hex_prefixes && i < text.size() && text[i] == '$') {
        base = 16;
        ++i;
    } else if (hex_prefixes && i + 1 < text.size() && text[i] == '0' && (text[i + 1] == 'x' || text[i + 1] == 'X')) {
        base = 16;
        i += 2;
    }
    n.digits = n.used = i;
    for (int d; i < text.size() && (d = digit_value(text[i], base)) >= 0; ++i) {
        if (n.value < limit && n.used == i) {
            n.value = n.value * base + d;
            n.used = i + 1;
        }
    }
    n.end = i;
    return n;
}
