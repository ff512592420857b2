// The console's clipboard: plain text up to its terminating zero.
#include "console/console.h"
#include "platform/os.h"

void console_copy_to_clipboard(const std::string& text) {
    console_open();
    // The clipboard holds text up to its terminating zero, as plain text does.
    os_clipboard_set(text.substr(0, text.find('\0')));
}

std::string console_paste_from_clipboard(size_t size) {
    if (size == 0) return "";
    std::string text;
    if (!os_clipboard_get(text)) return "";
    text = text.substr(0, text.find('\0'));
    if (text.size() > size - 1) text.resize(size - 1);
    return text;
}
