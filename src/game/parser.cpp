// The command parser: from the typed line to a verb code and an object word.
#include "game/parser.h"

#include "game/game_state.h"
#include "game/output.h"
#include "speech/speech.h"
#include "util/latin1.h"

namespace {
struct VerbRow {
    const char* word;
    int code;
};

// Searched in this order; no word begins another.
constexpr VerbRow VERBS[] = {
    {"CAVAR", 5},    {"ABRIR", 6},   {"SERRAR", 7},   {"NADAR", 8},   {"ACENDER", 9},  {"APAGAR", 10},
    {"DESISTIR", 11}, {"LISTAR", 12}, {"AJUDAR", 13},  {"MATAR", 4},   {"ATIRAR", 4},   {"PEGAR", 3},
    {"APANHAR", 3},  {"CARREGAR", 3}, {"COLOCAR", 2},  {"DEIXAR", 2},  {"LARGAR", 2},   {"NORTE", 1},
    {"SUL", 1},      {"LESTE", 1},   {"OESTE", 1},
};

// Upper case by the Latin-1 letters: a..z and the accented small letters
// 224..254 except the division sign.
std::string upper_case(const std::string& line) { return latin1_upper(line); }

void drop_first(std::string& line, const char* pattern, size_t count) {
    size_t at = line.find(pattern);
    if (at != std::string::npos) line.erase(at, count);
}

bool begins_with(const std::string& text, const std::string& prefix) { return text.compare(0, prefix.size(), prefix) == 0; }
}  // namespace

std::string game_normalise_line(const std::string& line) {
    std::string s = upper_case(line);
    size_t first = s.find_first_not_of(' ');
    if (first == std::string::npos) return "";
    s.erase(0, first);
    s.erase(s.find_last_not_of(' ') + 1);
    // Deleting the space before the article and the article leaves one space.
    drop_first(s, " O ", 2);
    drop_first(s, " A ", 2);
    drop_first(s, " NO ", 3);
    drop_first(s, " NA ", 3);
    if (begins_with(s, "IR PARA ")) {
        s.erase(0, 8);
    } else if (begins_with(s, "IR ")) {
        s.erase(0, 3);
    }
    return s;
}

std::string game_expand_direction(const std::string& word) {
    if (word == "N") return "NORTE";
    if (word == "S") return "SUL";
    if (word == "L" || word == "E") return "LESTE";
    if (word == "O" || word == "W") return "OESTE";
    return word;
}

int game_verb_code(const std::string& verb_word) {
    int code = 0;
    for (const VerbRow& row : VERBS) {
        if (begins_with(verb_word, row.word)) code = row.code;
    }
    return code;
}

void game_parse_command(const std::string& typed_line) {
    GameState& s = game_state();
    s.command_line = game_normalise_line(typed_line);
    s.object_word.clear();
    size_t space = s.command_line.find(' ');
    if (space == std::string::npos) {
        s.verb_word = s.command_line;
    } else {
        s.verb_word = s.command_line.substr(0, space);
        s.object_word = s.command_line.substr(space + 1, GAME_MAX_OBJECT_WORD);
        s.object_word.erase(s.object_word.find_last_not_of(' ') + 1);
    }
    s.verb_word = game_expand_direction(s.verb_word);
    s.verb_code = game_verb_code(s.verb_word);
    if (s.verb_code != 0) s.command_line = s.verb_word.substr(0, 1);
}

void game_read_command() {
    game_write_line();
    game_colour(GAME_COLOUR_STORY);
    game_prompt(TXT_PROMPT);
    game_colour(GAME_COLOUR_PLAIN);
    game_parse_command(speech_read_line());
}

void game_hint() {
    const GameState& s = game_state();
    if (!s.verb_word.empty()) {
        game_prompt(TXT_DONT_KNOW);
        game_echo(s.verb_word);
        game_write_line(game_after_echo(TXT_ASK_HINTS));
        game_play(TXT_ASK_HINTS);
    } else {
        game_message(TXT_EXAMPLES);
    }
}
