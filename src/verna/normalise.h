// From any text to the engine's speakable form: Portuguese words, blanks and
// the kept marks ! ( ) , . : ; ? only. Text is Latin-1.
#pragma once

#include <string>

// Numbers become words, known abbreviations are expanded (with the loaded
// table), words without a vowel are spelled and every other symbol is
// replaced by its spoken name.
std::string verna_normalise_text(const std::string& text);
// The spoken name of a character, "" for codes without one.
std::string verna_char_name(unsigned char code);
