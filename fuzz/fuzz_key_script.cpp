// Fuzz target: key scripts are outside input (the FUGA_KEYS file).
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "platform/headless/key_script.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::vector<KeyItem> items;
    KeyScriptError err;
    bool ok = key_script_parse(std::string_view(reinterpret_cast<const char*>(data), size), items, err);
    if (!ok && (err.line < 1 || err.message.empty())) __builtin_trap();
    for (const KeyItem& k : items) {
        OsEvent out[KEY_SCRIPT_MAX_EVENTS];
        int n = key_item_events(k, out);
        if (n < 1 || n > KEY_SCRIPT_MAX_EVENTS) __builtin_trap();
        if (k.wait_ms < -1 || k.wait_ms > KEY_SCRIPT_MAX_WAIT_MS) __builtin_trap();
    }
    return 0;
}
