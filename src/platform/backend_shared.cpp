// What the backends share on every system: the block-done post of a sound
// device and the process-local clipboard of backends without a system one.
#include <mutex>

#include "platform/backend.h"

namespace {
struct LocalClipboard {
    std::mutex lock;
    bool has_text = false;
    std::string text;
} g_clipboard;
}  // namespace

void os_post_wave_done(int buffer_number) {
    OsEvent ev;
    ev.type = OsEventType::WaveDone;
    ev.param = buffer_number;
    os_post_event(ev);
}

void local_clipboard_set(const std::string& text) {
    std::lock_guard<std::mutex> g(g_clipboard.lock);
    g_clipboard.has_text = true;
    g_clipboard.text = text;
}

bool local_clipboard_get(std::string& text) {
    std::lock_guard<std::mutex> g(g_clipboard.lock);
    if (!g_clipboard.has_text) return false;
    text = g_clipboard.text;
    return true;
}
