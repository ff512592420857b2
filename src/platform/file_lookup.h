// Finding data files by name: an exact match first, then a match without
// regard to the case of ASCII letters in the same directory, so "fuga.wav"
// and "FUGA.WAV" find the same recording.
#pragma once

#include <string>

// Full path of NAME inside DIRECTORY (which ends in "/" or is empty for the
// current directory), with the file's name as the directory has it, or ""
// when no regular file matches (or NAME holds a "/" or "\\").
std::string file_lookup(const std::string& directory, const std::string& name);
// Whether PATH names an existing directory.
bool file_is_directory(const std::string& path);
