// The abbreviations table of the Portuguese engine and its loader.
#pragma once

#include <string>
#include <string_view>

constexpr int VERNA_MAX_ABBREVIATIONS = 2000;
// Characters kept of an expansion.
constexpr int VERNA_MAX_EXPANSION = 999;

// Reads an abbreviations file ("key=expansion" per line, ";" comments) into
// the table, replacing what was there. False when the file cannot be opened
// or holds more than VERNA_MAX_ABBREVIATIONS entries (the first ones stay
// loaded); verna_abbreviations_message() then says which file and line.
bool verna_load_abbreviations(const std::string& path);
// The same over text already in memory; `name` stands for the file name.
bool verna_load_abbreviations_text(std::string_view text, const std::string& name);
// The expansion of the first entry whose key equals the word upper-cased,
// or "" when there is none.
std::string verna_abbreviation(std::string_view word);
int verna_abbreviation_count();
// "file:line: what" for the failure of the last load, or for its first line
// without "=" (kept as an entry that never matches); empty when it was clean.
const std::string& verna_abbreviations_message();
// Empty table.
void verna_abbreviations_reset();
