// Which units and letter recordings a voice must hold: the words that stand
// for real Portuguese text (every spelling of a syllable in the contexts
// that change its sound, plus the exception keys), run through the rules
// and the unit naming of the speaker.
#pragma once

#include <set>
#include <string>
#include <vector>

// Latin-1 pseudo-words built from every written onset, vowel group and coda
// of Portuguese, each in the positions that select different rules.
std::vector<std::string> diphone_inventory_words();
// The keys of an exceptions file (and each key with "s" added), Latin-1;
// empty when the file cannot be read.
std::vector<std::string> diphone_exception_words(const std::string& path);
// Unit and letter names that the loaded rules make of WORDS.
std::set<std::string> diphone_inventory_units(const std::vector<std::string>& words);
// Words of a text file (runs of letters, Latin-1 after conversion from UTF-8).
std::vector<std::string> diphone_text_words(const std::string& path);
