// Runs the line editor on a proposed text, for trying it by ear and for the
// end-to-end key scripts: edits until the window is closed, each edit
// starting from the same text, and after each one writes what it returned.
//
//   edit_field_demo [TEXT [MAXIMUM [WIDTH [ro]]]]
//
// TEXT is UTF-8 (default empty), MAXIMUM the field's maximum length (255),
// WIDTH its visible columns (to the screen's edge when absent), "ro" makes it
// read-only.
#include <cstdlib>
#include <string>

#include "console/console.h"
#include "platform/os.h"
#include "platform/config.h"
#include "speech/line_editor.h"
#include "speech/speech.h"
#include "util/latin1.h"

namespace {
int number_argument(const char* text, int fallback) {
    char* end = nullptr;
    long v = std::strtol(text, &end, 10);
    if (end == text || *end != '\0' || v < -100000 || v > 100000) return fallback;
    return static_cast<int>(v);
}
}  // namespace

int main(int argc, char** argv) {
    os_start();
    console_bind_standard_channels();
    speech_module_start();
    speech_start(0, config_read_setting("SMORVELA", "DIRSMORVELA"));
    speech_set_speak_punctuation(false);

    std::string proposed = argc > 1 ? latin1(argv[1]) : "";
    int maximum = argc > 2 ? number_argument(argv[2], 255) : 255;
    bool own_width = argc > 3;
    int width = own_width ? number_argument(argv[3], 78) : 0;
    bool editable = !(argc > 4 && std::string(argv[4]) == "ro");

    for (;;) {
        console_write_text("> ");
        std::string text = proposed;
        int column = console_cursor_column(), row = console_cursor_row();
        uint8_t code = own_width ? speech_edit_field(text, column, row, editable, width, maximum)
                                 : speech_edit_at_cursor(text, column, row, editable, maximum);
        // A long result is shown by its start; its length tells the rest.
        std::string shown = text.size() > 60 ? text.substr(0, 20) + "..." : text;
        console_write_text("\r\n[" + shown + "] " + std::to_string(text.size()) + " code " +
                           std::to_string(code) + " speed " + std::to_string(speech_current_speed()) + "\r\n");
    }
}
