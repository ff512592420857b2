// The speech system's shared configuration file TALUNE.INI, with "@"
// expansion of the program directory.
#pragma once

#include <string>

// Value of [section] key ("" when absent); an empty section means "TALUNE".
std::string config_read_setting(const std::string& section, const std::string& key);
// The directory the program started in, without a trailing "/".
std::string config_startup_directory();
// Forget the remembered start-up directory (tests).
void config_reset();
