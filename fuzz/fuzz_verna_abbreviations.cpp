// libFuzzer target for the engine's abbreviations loader: arbitrary bytes as
// the file, then the normaliser over a text that uses every loaded key.
#include <cstddef>
#include <cstdint>
#include <string>

#include "verna/abbreviations.h"
#include "verna/normalise.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    verna_abbreviations_reset();
    std::string text(reinterpret_cast<const char*>(data), size);
    bool ok = verna_load_abbreviations_text(text, "fuzz.abr");
    if (verna_abbreviation_count() > VERNA_MAX_ABBREVIATIONS) __builtin_trap();
    if (!ok && verna_abbreviations_message().empty()) __builtin_trap();
    std::string probe = text.substr(0, 200);
    for (char& c : probe)
        if (c == '=' || c == '\n') c = '.';
    std::string out = verna_normalise_text("Sr. " + probe + ". fim");
    if (out.empty()) __builtin_trap();
    return 0;
}
