// Reading a command line from the keyboard.
#include <iostream>

#include "console/console.h"
#include "speech/speech.h"

std::string speech_read_line() {
    std::cout.flush();
    std::string text;
    for (;;) {
        uint8_t k = console_read_key();
        if (k == 13) break;
        if (k == 27) {
            // Cancelled: blank what was typed and give an empty line.
            std::string erase(text.size(), '\b');
            console_write_text(erase + std::string(text.size(), ' ') + erase);
            text.clear();
            break;
        }
        if (k == 0) {
            console_read_key();  // the scan code of an extended key
        } else if (k == 8) {
            if (!text.empty()) {
                text.pop_back();
                console_write_text("\b");
            }
        } else if ((k >= 32 && k < 127) || k >= 160) {
            if (static_cast<int>(text.size()) < SPEECH_MAX_LINE) {
                text += static_cast<char>(k);
                console_write_text(std::string(1, static_cast<char>(k)));
            }
        }
    }
    console_write_text("\r\n");
    while (!text.empty() && text.back() == ' ') text.pop_back();
    return text;
}
