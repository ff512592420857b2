// libFuzzer target for the Portuguese engine's diphone list and MBROLA lines:
// the bytes before the first zero are a diphone list file, the lines after it
// a phoneme list (markers, stress marks, pauses, empty lines) to turn into
// MBROLA lines with the list just loaded.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "verna/mbrola_lines.h"
#include "verna/prosody.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string all(reinterpret_cast<const char*>(data), size);
    size_t zero = all.find('\0');
    std::string list = all.substr(0, zero);
    std::string rest = zero == std::string::npos ? "" : all.substr(zero + 1);
    bool ok = verna_load_diphones_text(list);
    if (verna_diphone_count() > VERNA_MAX_DIPHONES) __builtin_trap();
    if (ok && list.find('\n') == std::string::npos && !list.empty() && verna_diphone_count() > 1) __builtin_trap();
    std::vector<std::string> phonemes;
    for (size_t pos = 0; pos <= rest.size();) {
        size_t nl = rest.find('\n', pos);
        if (nl == std::string::npos) nl = rest.size();
        phonemes.push_back(rest.substr(pos, nl - pos));
        pos = nl + 1;
    }
    std::vector<std::string> out = verna_make_mbrola_lines(phonemes, 0.7, 1.3);
    // Every input line comes out, possibly after one filler line.
    if (out.size() < phonemes.size() || out.size() > 2 * phonemes.size()) __builtin_trap();
    return 0;
}
