// Spoken Portuguese names of the Latin-1 characters.
#pragma once

#include <string>

// The name of a character (Latin-1), "" for codes without one. Some names
// carry a leading blank or accents that force their pronunciation.
std::string speech_character_name(unsigned char code);
