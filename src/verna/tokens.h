// Splitting a normalised text into keyed tokens and giving each token its
// intonation pattern from the prosody tables.
//
// Token line: "[" + two-character key + "]" + text; "[--]" is a sentence
// boundary. Pattern line: three pattern characters + "|" + the token text.
#pragma once

#include <string>
#include <vector>

using VernaLines = std::vector<std::string>;

// Token lines of a text in the normaliser's form, starting with "[--]".
VernaLines verna_tokenise(const std::string& normalised);
// One pattern line per token line, in the same order.
VernaLines verna_assign_patterns(const VernaLines& tokens);
