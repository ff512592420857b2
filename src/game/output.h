// How the game shows and speaks: lines on the standard output, recordings by
// key, echoed words, colours.
#pragma once

#include <string>

#include "game/texts.h"

constexpr int GAME_COLOUR_PLAIN = 15;
constexpr int GAME_COLOUR_STORY = 14;

void game_write(const std::string& text);
void game_write_line(const std::string& text = "");
// Writes each line of the text, no recording.
void game_write_text(GameText id);
// Writes the text without a line end, then plays its recording.
void game_prompt(GameText id);
// Writes each line of the text, then plays its recording once.
void game_message(GameText id);
void game_play(GameText id);
void game_play_key(const std::string& key);
// A typed word or a number, written and spoken.
void game_echo(const std::string& word);
// The text that follows an echoed word, with one space put between them
// when neither side has one and the text does not begin with punctuation.
std::string game_after_echo(GameText id);
void game_colour(int colour);
