// The system clipboard for the console window's copy and paste.
#pragma once

#include <string>

// Puts a Latin-1 text on the clipboard as plain text (and as wide text, so
// that programs in any code page read the same characters).
void win32_clipboard_set(const std::string& latin1_text);
// The clipboard's text in Latin-1 ("?" for characters the code page lacks);
// false when it holds no text or cannot be opened.
bool win32_clipboard_get(std::string& latin1_text);
