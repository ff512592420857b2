// Private-profile (INI) reading with the Windows rules: section and key names
// compared without case, the first matching section and key win, blanks
// around a value removed, a value in matching quotes loses them, a UTF-8 BOM
// ignored, a missing file reads as empty. Values are returned as stored
// (the files are Latin-1).
#pragma once

#include <cstddef>
#include <string>
#include <unordered_map>

// The value of [section] key in `file`, or `def` when absent, cut to
// capacity-1 bytes. A file name without a directory is the settings file of
// that name (system_settings_file()).
std::string profile_read_string(const std::string& section, const std::string& key, const std::string& def,
                                const std::string& file, size_t capacity = 256);
// Parses INI text already in memory (the fuzz target and tests use it).
std::string profile_read_from_text(const std::string& text, const std::string& section, const std::string& key,
                                   const std::string& def, size_t capacity = 256);
// Looks up [section] key in INI text; true and the whole value (up to a NUL
// byte) when the key is present, even with an empty value.
bool profile_lookup(const std::string& text, const std::string& section, const std::string& key, std::string& value);
// Every value of INI text that profile_lookup can find, by folded section and
// key, so that many lookups in one text cost one pass over it.
using ProfileIndex = std::unordered_map<std::string, std::string>;
void profile_build_index(const std::string& text, ProfileIndex& index);
// profile_lookup over an index: the same answer for the same text.
bool profile_index_lookup(const ProfileIndex& index, const std::string& section, const std::string& key,
                          std::string& value);
// Reads a file whole into `text`; false (and empty text) when it is missing,
// unreadable or implausibly large for a settings file.
bool profile_read_file(const std::string& path, std::string& text);
