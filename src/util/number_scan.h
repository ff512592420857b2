// Reading a number at the start of a setting or a command: the one scanner
// behind the readers of speeds, colours, cell sizes and speech settings,
// each of which keeps its own rule for what a bad or huge number gives.
#pragma once

#include <cstddef>
#include <string_view>

struct ScannedNumber {
    long value = 0;         // of the digits used, without the sign
    bool negative = false;  // a "-" stood before the digits
    size_t digits = 0;      // where the digits begin (after blanks, sign and any "$" or "0x")
    size_t used = 0;        // after the last digit that went into `value`
    size_t end = 0;         // after the last digit
};

// Optional blanks (space, tab) when `skip_blanks`, one optional sign, with
// `hex_prefixes` an optional "$" or "0x"/"0X" that makes the digits
// hexadecimal, then digits. Each digit goes into the value while the value is
// still below `limit`; the digits after that are passed over. No digits:
// value 0 and end == digits.
ScannedNumber scan_leading_number(std::string_view text, long limit, bool skip_blanks = true,
                                  bool hex_prefixes = false);
