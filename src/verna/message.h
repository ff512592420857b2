// The engine's messages to the user about its data files: shown in a way the
// user must acknowledge before the engine goes on.
#pragma once

#include <string>

// Shows a Latin-1 message: a message box in the window; on the terminal and
// headless the text on the console followed by a key. With a recorder set,
// the message goes only to the recorder.
void verna_show_message(const std::string& text);
// Replaces the display by `recorder` (tests, tools); nullptr restores it.
void verna_set_message_recorder(void (*recorder)(const std::string& text));
