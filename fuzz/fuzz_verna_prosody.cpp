// libFuzzer target for the prosody loader: arbitrary bytes as the file, then
// patterns for a text through whatever rules and keys were loaded.
#include <cstddef>
#include <cstdint>
#include <string>

#include "verna/message.h"
#include "verna/prosody.h"
#include "verna/tokens.h"

namespace {
int g_messages = 0;
void count(const std::string&) { ++g_messages; }
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    verna_prosody_reset();
    verna_set_message_recorder(count);
    g_messages = 0;
    std::string text(reinterpret_cast<const char*>(data), size);
    bool ok = verna_load_prosody_text(text, "fuzz.pro");
    if (!ok && g_messages == 0) __builtin_trap();
    if (verna_duration_count() > VERNA_MAX_DURATIONS || verna_word_key_count() > VERNA_MAX_WORD_KEYS ||
        verna_intonation_rule_count() > VERNA_MAX_INTONATION_RULES)
        __builtin_trap();
    VernaLines tokens = verna_tokenise("o gato, de novo? sim! " + text.substr(0, 100));
    VernaLines patterns = verna_assign_patterns(tokens);
    if (patterns.size() != tokens.size()) __builtin_trap();
    for (const std::string& p : patterns)
        if (p.size() < 4 || p[3] != '|') __builtin_trap();
    return 0;
}
