// libFuzzer target for the exceptions loader: arbitrary bytes as an
// exceptions file; every loaded key is then looked up through a conversion.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>

#include "diphone/rules.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    rules_reset();
    if (!rules_load_text("(A)=a |\n(S)=s|\n(M)=m|\n(E)=e |\n(L)=w|\n", "fuzz.rgr")) __builtin_trap();
    std::string text(reinterpret_cast<const char*>(data), size);
    if (!rules_load_exceptions_text(text, "fuzz.exc")) __builtin_trap();
    if (rules_exception_count() > RULES_MAX_EXCEPTIONS) __builtin_trap();
    // The file's own lines as words, so that keys are found and replaced,
    // with and without a suffix.
    size_t pos = 0;
    int lines = 0;
    while (pos < text.size() && lines++ < 64) {
        size_t end = text.find('\n', pos);
        if (end == std::string::npos) end = text.size();
        std::string word = text.substr(pos, std::min<size_t>(end - pos, 300));
        size_t eq = word.find('=');
        if (eq != std::string::npos) word.resize(eq);
        rules_text_to_phonemes(word);
        rules_text_to_phonemes(word + "sms");
        pos = end + 1;
    }
    return 0;
}
