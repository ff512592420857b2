// libFuzzer target for the exceptions loader: arbitrary bytes as the file,
// then lookups of its own words with plural and verb endings.
#include <cstddef>
#include <cstdint>
#include <string>

#include "verna/letter_rules.h"
#include "verna/letters.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    verna_letter_rules_reset();
    std::string text(reinterpret_cast<const char*>(data), size);
    verna_load_exceptions_text(text, "fuzz.exc");
    if (verna_exception_count() > VERNA_MAX_EXCEPTIONS) __builtin_trap();
    std::string first = verna_upper(text.substr(0, text.find('=')).substr(0, 40));
    verna_exception_lookup(first + "MS");
    verna_exception_lookup("SSSMMS");
    verna_exception_lookup("");
    return 0;
}
