// How the engine's data-file messages reach the user.
#include "verna/message.h"

#include <algorithm>
#include <vector>

#include "console/console.h"
#include "platform/os.h"

namespace {
struct MessageState {
    void (*recorder)(const std::string& text) = nullptr;
    void (*voice)(const std::string& text) = nullptr;
    std::vector<std::string> shown;  // at most VERNA_MAX_SHOWN_MESSAGES
};
MessageState g_message;

// A message already shown in this run; a new one is remembered.
bool seen_before(const std::string& text) {
    if (std::find(g_message.shown.begin(), g_message.shown.end(), text) != g_message.shown.end()) return true;
    if (static_cast<int>(g_message.shown.size()) < VERNA_MAX_SHOWN_MESSAGES) g_message.shown.push_back(text);
    return false;
}
}  // namespace

void verna_show_message(const std::string& text) {
    if (g_message.recorder) {
        g_message.recorder(text);
        return;
    }
    if (seen_before(text)) return;
    // Written first, so that it is on the screen while it is heard.
    console_start_line();
    console_write_text(text + "\r\n");
    if (g_message.voice) g_message.voice(text);
    // The key that cut the speech is the answer to the message; it goes no
    // further, and keys typed after it stay for the game.
    if (console_key_waiting()) {
        console_read_key();
        return;
    }
    if (os_message_box("Verna", text)) return;
    console_read_key();
}

void verna_set_message_recorder(void (*recorder)(const std::string& text)) { g_message.recorder = recorder; }
void verna_set_message_voice(void (*speak)(const std::string& text)) { g_message.voice = speak; }
void verna_message_reset() { g_message = MessageState{}; }
