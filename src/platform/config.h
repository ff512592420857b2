// The speech system's shared configuration file TALUNE.INI, with "@"
// expansion of the program directory.
#pragma once

#include <string>

// Value of [section] key ("" when absent); an empty section means "TALUNE".
// The file is read at the first lookup and again only when it has changed
// (size, modification time or identity); at most its first megabyte counts.
std::string config_read_setting(const std::string& section, const std::string& key);
// The TALUNE.INI that settings come from: the Windows directory's copy when
// it exists, else the one in the start-up directory (which may not exist).
std::string config_file_path();
// The directory the program started in, without a trailing "/".
std::string config_startup_directory();
// Forget the remembered start-up directory and the file read (tests).
void config_reset();
// Whether the copy read goes past the bound, so only its first megabyte
// counted (a huge file, a link to /dev/zero).
bool config_file_too_large();
// How many times a copy of the file was read since the last reset.
int config_file_loads();
