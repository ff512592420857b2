// Private-profile lookups in a settings file: the file read whole and looked
// up with the shared INI reader.
#include "platform/os.h"
#include "platform/profile.h"
#include "platform/system.h"

std::string profile_read_string(const std::string& section, const std::string& key, const std::string& def,
                                const std::string& file, size_t capacity) {
    std::string path = file;
    if (file.find('/') == std::string::npos) path = system_settings_file(file);
    std::string text;
    profile_read_file(path, text);
    return profile_read_from_text(text, section, key, def, capacity);
}
