// Spoken Portuguese names of the Latin-1 characters: the one table that the
// front end's letter recordings, the Portuguese engine's speller and its
// symbol reader share.
#pragma once

#include <string>

// The name of a character (Latin-1), "" for codes without one. Some names
// carry a leading blank or accents that force their pronunciation. Codes
// 224..255 are named like the code 32 lower ("\xe1" like "\xc1"), except the
// division sign 247, "dividido por".
std::string character_name(unsigned char code);
