// How the engine's data-file messages reach the user.
#include "verna/message.h"

#include "console/console.h"
#include "platform/os.h"

namespace {
struct MessageState {
    void (*recorder)(const std::string& text) = nullptr;
};
MessageState g_message;
}  // namespace

void verna_show_message(const std::string& text) {
    if (g_message.recorder) {
        g_message.recorder(text);
        return;
    }
    if (os_message_box("Verna", text)) return;
    // No message boxes here: the text stays on the screen until a key comes,
    // as with the speech start-up error.
    console_write_text(text + "\n");
    console_read_key();
}

void verna_set_message_recorder(void (*recorder)(const std::string& text)) { g_message.recorder = recorder; }
