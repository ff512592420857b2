// String values of the registry stand-in registry.ini.
#include "platform/registry.h"

#include "platform/os.h"
#include "platform/profile.h"
#include "platform/system.h"

bool registry_read_string(const std::string& key_path, const std::string& name, std::string& value) {
    value.clear();
    std::string section = key_path;
    while (!section.empty() && section.back() == '\\') section.pop_back();
    if (section.empty()) return false;
    std::string text;
    if (!profile_read_file(system_settings_file("registry.ini"), text)) return false;
    return profile_lookup(text, section, name.empty() ? "@" : name, value);
}

bool registry_read_path(const std::string& path, std::string& value) {
    value.clear();
    size_t slash = path.rfind('\\');
    if (slash == std::string::npos) return false;
    return registry_read_string(path.substr(0, slash), path.substr(slash + 1), value);
}
