// libFuzzer target for the rule file loader: arbitrary bytes as a rule file,
// then a text that reaches every list through the rules just loaded.
#include <cstddef>
#include <cstdint>
#include <string>

#include "diphone/rules.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    rules_reset();
    std::string text(reinterpret_cast<const char*>(data), size);
    bool ok = rules_load_text(text, "fuzz.rgr");
    if (rules_rule_count() > RULES_MAX_RULES) __builtin_trap();
    if (!ok && rules_rule_count() != 0) __builtin_trap();
    std::string all;
    for (int c = 32; c < 256; ++c) all += static_cast<char>(c);
    std::string out = rules_text_to_phonemes("casa papel tatu " + all + " " + text.substr(0, 300));
    if (!out.empty() && out[0] != '[') __builtin_trap();
    return 0;
}
