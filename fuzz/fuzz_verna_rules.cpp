// libFuzzer target for the engine's rules loader: arbitrary bytes as the
// rules file, then every letter converted through the rules just loaded.
#include <cstddef>
#include <cstdint>
#include <string>

#include "verna/letter_rules.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    verna_letter_rules_reset();
    std::string text(reinterpret_cast<const char*>(data), size);
    verna_load_rules_text(text, "fuzz.nrl");
    if (verna_rule_count() > VERNA_MAX_RULES) __builtin_trap();
    std::string all;
    for (int c = 32; c < 256; ++c) all += static_cast<char>(c);
    VernaLines out;
    verna_convert_word(all + text.substr(0, 200), 3, out);
    if (out.empty() || !out.back().empty()) __builtin_trap();
    return 0;
}
