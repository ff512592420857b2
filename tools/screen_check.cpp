// A test screen for checking a backend by eye and by script: every colour,
// the accented letters of Portuguese, a prompt, and the codes of the keys
// typed, one line each. Esc ends the program without closing the screen, so
// the last screen stays up; closing the window ends it at once. Runs on
// whichever backend is chosen.
#include <string>

#include "console/console.h"
#include "util/latin1.h"

namespace {
void write(uint8_t colour, const std::string& utf8_text) {
    console_set_text_colour(colour);
    console_write_text(latin1(utf8_text));
}
}  // namespace

int main() {
    console_open();
    uint8_t background = console_current_attribute() >> 4;
    write(15, "FUGA DE VAL MORVELA - tela de teste\r\n");
    for (int c = 0; c < 16; ++c) {
        console_set_background_colour(c == background ? (c == 7 ? 0 : 7) : background);
        write(static_cast<uint8_t>(c), "Cor " + std::to_string(c) + (c < 10 ? " " : ""));
    }
    console_set_background_colour(background);
    write(7, "\r\n");
    for (int c = 0; c < 16; ++c) {
        console_set_background_colour(static_cast<uint8_t>(c));
        write(c == 15 || c == 14 || c == 7 ? 0 : 15, "  " + std::to_string(c) + (c < 10 ? "  " : " "));
    }
    console_set_background_colour(background);
    write(10, "\r\nAção, coração, índio, você, pão, ônibus, até, avô, Às vezes, pinguim, «ÇÃO»\r\n");
    write(7, "Digite; Esc termina.\r\n");
    for (;;) {
        write(14, "Que fazer? ");
        uint8_t b = console_read_key();
        if (b == 27) return 0;
        std::string line = "tecla " + std::to_string(b);
        if (b == 0) line += " " + std::to_string(console_read_key());
        else if ((b >= 32 && b < 127) || b >= 160) line += std::string(" '") + utf8(std::string(1, static_cast<char>(b))) + "'";
        write(15, line + "\r\n");
    }
}
