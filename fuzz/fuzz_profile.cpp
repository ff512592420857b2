// libFuzzer target for the INI reader: arbitrary bytes as file text, with the
// section and key taken from the input's first bytes.
#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/profile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string all(reinterpret_cast<const char*>(data), size);
    // "section\nkey\ncapacity byte" then the text; missing parts stay empty.
    size_t a = all.find('\n');
    std::string section = all.substr(0, a == std::string::npos ? all.size() : a);
    std::string rest = a == std::string::npos ? std::string() : all.substr(a + 1);
    size_t b = rest.find('\n');
    std::string key = rest.substr(0, b == std::string::npos ? rest.size() : b);
    std::string text = b == std::string::npos ? std::string() : rest.substr(b + 1);
    size_t capacity = text.empty() ? 256 : static_cast<unsigned char>(text[0]);
    std::string value = profile_read_from_text(text, section, key, "padrao", capacity);
    if (capacity > 0 && value.size() > capacity - 1) __builtin_trap();
    std::string whole;
    bool found = profile_lookup(text, section, key, whole);
    if (!found && value != std::string("padrao").substr(0, capacity ? capacity - 1 : 0)) __builtin_trap();
    if (found && whole.compare(0, value.size(), value) != 0) __builtin_trap();
    // The index that the configuration lookup keeps gives the same answer.
    ProfileIndex index;
    profile_build_index(text, index);
    std::string indexed;
    if (profile_index_lookup(index, section, key, indexed) != found || (found && indexed != whole)) __builtin_trap();
    return 0;
}
