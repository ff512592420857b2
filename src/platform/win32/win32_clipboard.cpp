// Copy and paste through the system clipboard, owned by the console window.
#include "platform/win32/win32_clipboard.h"

#include <windows.h>

#include <cstring>

#include "platform/win32/win32_events.h"
#include "platform/win32/win32_text.h"

namespace {
void put(UINT format, const void* data, size_t bytes) {
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes);
    if (!memory) return;
    void* p = GlobalLock(memory);
    if (!p) {
        GlobalFree(memory);
        return;
    }
    std::memcpy(p, data, bytes);
    GlobalUnlock(memory);
    // The clipboard owns the memory once it took it.
    if (!SetClipboardData(format, memory)) GlobalFree(memory);
}

bool get_wide(std::string& out) {
    HANDLE h = GetClipboardData(CF_UNICODETEXT);
    if (!h) return false;
    const wchar_t* p = static_cast<const wchar_t*>(GlobalLock(h));
    if (!p) return false;
    out = win32_latin1(p, GlobalSize(h) / sizeof(wchar_t));
    GlobalUnlock(h);
    return true;
}

bool get_plain(std::string& out) {
    HANDLE h = GetClipboardData(CF_TEXT);
    if (!h) return false;
    const char* p = static_cast<const char*>(GlobalLock(h));
    if (!p) return false;
    size_t size = GlobalSize(h);
    out.assign(p, strnlen(p, size));
    GlobalUnlock(h);
    return true;
}
}  // namespace

void win32_clipboard_set(const std::string& latin1_text) {
    if (!OpenClipboard(win32_events_target())) return;
    EmptyClipboard();
    std::string plain(latin1_text.c_str());  // up to the first zero, as a C text
    put(CF_TEXT, plain.c_str(), plain.size() + 1);
    std::wstring wide = win32_wide(plain);
    put(CF_UNICODETEXT, wide.c_str(), (wide.size() + 1) * sizeof(wchar_t));
    CloseClipboard();
}

bool win32_clipboard_get(std::string& latin1_text) {
    if (!OpenClipboard(win32_events_target())) return false;
    bool ok = get_wide(latin1_text) || get_plain(latin1_text);
    CloseClipboard();
    return ok;
}
