// The engine's messages to the user about its data files: shown in a way the
// user must acknowledge before the engine goes on.
#pragma once

#include <string>

constexpr int VERNA_MAX_SHOWN_MESSAGES = 16;

// Shows a Latin-1 message once per run: the engine is started again with the
// same files (the game restarts speech), and a player who has heard and
// dismissed a message must not meet it again. The text goes on the console on
// a line of its own and is spoken by the voice set with
// verna_set_message_voice; one key dismisses it and is consumed (a key that
// cut the speech counts); the window also shows it in a message box when no
// key came during the speech. With a recorder set, the message goes only to
// the recorder, every time.
void verna_show_message(const std::string& text);
// Replaces the display by `recorder` (tests, tools); nullptr restores it.
void verna_set_message_recorder(void (*recorder)(const std::string& text));
// The voice that speaks a message (the front end's own reader); it must not
// speak through the engine itself. Returns when the text has been spoken or a
// key is waiting.
void verna_set_message_voice(void (*speak)(const std::string& text));
// Forgets the messages shown and the recorder and voice set.
void verna_message_reset();
