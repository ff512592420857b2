// Read-only stand-in for string values under HKEY_LOCAL_MACHINE, kept in the
// file registry.ini of the Windows directory (system_settings_file()):
//   [SOFTWARE\TCTS\Mbrola\databases]
//   BR4=/usr/share/mbrola/br4/br4
//   [SOFTWARE\TCTS\Mbrola\databases\BR4]
//   @=/usr/share/mbrola/br4/br4
// A section per key path ("\" between the parts, compared without case, no
// trailing "\"), "name=value" for a named value, "@=value" for the key's
// default value.
#pragma once

#include <string>

// The value `name` of the key `key_path`; an empty name (or "@") selects the
// key's default value. True and the text when it exists, even when empty.
bool registry_read_string(const std::string& key_path, const std::string& name, std::string& value);
// The same with one text made of the key path, a "\" and the value name; a
// text ending in "\" selects the default value, a text without "\" is never
// found.
bool registry_read_path(const std::string& path, std::string& value);
