// The game's output conventions over the console and the speech front end.
#include "game/output.h"

#include <iostream>

#include "console/console.h"
#include "speech/speech.h"

void game_write(const std::string& text) { std::cout << text << std::flush; }

void game_write_line(const std::string& text) { std::cout << text << '\n' << std::flush; }

void game_write_text(GameText id) {
    const std::string& text = game_text(id);
    size_t start = 0;
    for (;;) {
        size_t end = text.find('\n', start);
        game_write_line(text.substr(start, end == std::string::npos ? std::string::npos : end - start));
        if (end == std::string::npos) break;
        start = end + 1;
    }
}

void game_prompt(GameText id) {
    game_write(game_text(id));
    game_play(id);
}

void game_message(GameText id) {
    game_write_text(id);
    game_play(id);
}

void game_play(GameText id) {
    const char* key = game_text_key(id);
    if (*key) game_play_key(key);
}

void game_play_key(const std::string& key) { speech_play_key(key); }

void game_echo(const std::string& word) { speech_write(word); }

std::string game_after_echo(GameText id) {
    const std::string& text = game_text(id);
    if (text.empty()) return text;
    char c = text.front();
    if (c == ' ' || c == ',' || c == '.' || c == '!' || c == '?') return text;
    return " " + text;
}

void game_colour(int colour) {
    std::cout.flush();
    console_set_text_colour(static_cast<uint8_t>(colour));
}
