// String values under HKEY_LOCAL_MACHINE, read from the Windows registry.
#include <windows.h>

#include <string>

#include "platform/registry.h"

namespace {
// Longer values are not paths or names we could use.
constexpr DWORD REGISTRY_MAX_VALUE_BYTES = 32768;

// The value from one view of the registry (64-bit programs see their own
// view; a 32-bit installer writes to the other).
bool read_view(const std::string& key_path, const std::string& name, REGSAM view, std::string& value) {
    HKEY key;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, key_path.c_str(), 0, KEY_QUERY_VALUE | view, &key) != ERROR_SUCCESS)
        return false;
    DWORD type = 0, bytes = 0;
    const char* value_name = name.empty() ? nullptr : name.c_str();
    bool ok = RegQueryValueExA(key, value_name, nullptr, &type, nullptr, &bytes) == ERROR_SUCCESS &&
              (type == REG_SZ || type == REG_EXPAND_SZ) && bytes <= REGISTRY_MAX_VALUE_BYTES;
    if (ok) {
        std::string data(bytes, '\0');
        ok = RegQueryValueExA(key, value_name, nullptr, &type, reinterpret_cast<BYTE*>(data.data()), &bytes) ==
             ERROR_SUCCESS;
        if (ok) {
            // Stored with or without its terminator; it ends at the first NUL.
            data.resize(bytes);
            size_t nul = data.find('\0');
            value = nul == std::string::npos ? data : data.substr(0, nul);
        }
    }
    RegCloseKey(key);
    return ok;
}
}  // namespace

bool registry_read_string(const std::string& key_path, const std::string& name, std::string& value) {
    value.clear();
    std::string path = key_path;
    while (!path.empty() && path.back() == '\\') path.pop_back();
    if (path.empty() || path.find('\0') != std::string::npos || name.find('\0') != std::string::npos) return false;
    std::string value_name = name == "@" ? "" : name;
    return read_view(path, value_name, KEY_WOW64_64KEY, value) || read_view(path, value_name, KEY_WOW64_32KEY, value);
}

bool registry_read_path(const std::string& path, std::string& value) {
    value.clear();
    size_t slash = path.rfind('\\');
    if (slash == std::string::npos) return false;
    return registry_read_string(path.substr(0, slash), path.substr(slash + 1), value);
}
