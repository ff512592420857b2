// The system clipboard for the window backend, in the program's Latin-1.
#pragma once

#include <string>

void sdl_clipboard_set(const std::string& text);
// False when the clipboard holds no text.
bool sdl_clipboard_get(std::string& text);
