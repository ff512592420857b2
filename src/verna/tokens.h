// Splitting a normalised text into keyed tokens and giving each token its
// intonation pattern from the prosody tables.
//
// Token line: "[" + two-character key + "]" + text; "[--]" is a sentence
// boundary. Pattern line: three pattern characters + "|" + the token text.
#pragma once

#include <string>
#include <vector>

using VernaLines = std::vector<std::string>;

// A word keyed QU in the prosody file is a question word. A question that
// opens with one (as its first word, or its second after another keyed word:
// "Onde está?", "E onde?", "Por que não?") ends in a question mark keyed ?Q
// instead of ??, so that the file can give it the fall of such questions;
// a file whose rules never name ?Q keeps ?? for every question.
constexpr const char* VERNA_QUESTION_WORD_KEY = "QU";
constexpr const char* VERNA_WORD_QUESTION_KEY = "?Q";

// Token lines of a text in the normaliser's form, starting with "[--]".
VernaLines verna_tokenise(const std::string& normalised);
// One pattern line per token line, in the same order.
VernaLines verna_assign_patterns(const VernaLines& tokens);
