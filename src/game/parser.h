// Command input: the prompt, normalisation, the split into verb and object
// words, the verb table and the hints.
#pragma once

#include <string>

constexpr int GAME_MAX_OBJECT_WORD = 999;

// The prompt, the typed line, then game_parse_command.
void game_read_command();
// Sets command_line to the typed line and fills verb_word, object_word,
// verb_code and the reduced command_line from it.
void game_parse_command(const std::string& typed_line);
// Upper case (accented letters too), outer spaces removed, the first article
// or contraction between spaces dropped, a leading "IR PARA " or "IR " dropped.
std::string game_normalise_line(const std::string& line);
// "N" to "NORTE", "S" to "SUL", "L"/"E" to "LESTE", "O"/"W" to "OESTE".
std::string game_expand_direction(const std::string& word);
// The verb code of a verb word, 0 when no verb of the table begins it.
int game_verb_code(const std::string& verb_word);
// The reply to an unrecognised verb, or the examples for an empty line.
void game_hint();
