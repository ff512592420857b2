// Parsing of key scripts and the window events each key item stands for.
#include "platform/headless/key_script.h"

#include <cstdio>

#include "platform/key_translation.h"
#include "util/latin1.h"

namespace {
struct NamedKey {
    const char* name;  // lower case
    int vkey;
    unsigned char ch;  // the character the key types, 0 for none
};

// Keys that type a control character give it as their character message.
const NamedKey NAMED_KEYS[] = {
    {"esc", VK_ESCAPE_KEY, 27},    {"escape", VK_ESCAPE_KEY, 27}, {"enter", VK_RETURN_KEY, 13},
    {"return", VK_RETURN_KEY, 13}, {"tab", VK_TAB_KEY, 9},        {"backspace", VK_BACK_KEY, 8},
    {"space", VK_SPACE_KEY, 32},   {"delete", VK_DELETE_KEY, 0},  {"del", VK_DELETE_KEY, 0},
    {"insert", VK_INSERT_KEY, 0},  {"ins", VK_INSERT_KEY, 0},     {"home", VK_HOME_KEY, 0},
    {"end", VK_END_KEY, 0},        {"pageup", VK_PRIOR_KEY, 0},   {"pagedown", VK_NEXT_KEY, 0},
    {"up", VK_UP_KEY, 0},          {"down", VK_DOWN_KEY, 0},      {"left", VK_LEFT_KEY, 0},
    {"right", VK_RIGHT_KEY, 0},    {"break", VK_CANCEL_BREAK, 0},
};

std::string lower(std::string_view s) {
    std::string out(s);
    for (char& c : out)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return out;
}

std::string_view trim(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
    return s;
}

bool is_upper_latin1(unsigned char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 0xC0 && c <= 0xDE && c != 0xD7);
}

// A printable Latin-1 character typed as plain text.
KeyItem char_item(unsigned char c) {
    KeyItem k;
    k.ch = c;
    if (c >= 'a' && c <= 'z') k.vkey = c - 'a' + 'A';
    else if ((c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == ' ') k.vkey = c;
    k.shift = is_upper_latin1(c);
    return k;
}

// Resolves a key name or a single letter or digit; false when unknown.
bool resolve_key(std::string_view name, KeyItem& k) {
    if (name.size() == 1) {
        unsigned char c = static_cast<unsigned char>(name[0]);
        bool letter = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
        if (!letter && !(c >= '0' && c <= '9')) return false;
        k = char_item(c);
        return true;
    }
    std::string n = lower(name);
    if (n.size() >= 2 && n.size() <= 3 && n[0] == 'f') {
        int f = 0;
        for (size_t i = 1; i < n.size(); ++i) {
            if (n[i] < '0' || n[i] > '9') return false;
            f = f * 10 + (n[i] - '0');
        }
        if (f < 1 || f > 12 || n[1] == '0') return false;
        k = KeyItem{};
        k.vkey = VK_F1_KEY + f - 1;
        return true;
    }
    for (const NamedKey& nk : NAMED_KEYS) {
        if (n == nk.name) {
            k = KeyItem{};
            k.vkey = nk.vkey;
            k.ch = nk.ch;
            // Break exists on a keyboard only as Ctrl+Break.
            k.ctrl = nk.vkey == VK_CANCEL_BREAK;
            return true;
        }
    }
    return false;
}

struct Parser {
    std::string_view text;
    size_t pos = 0;
    int line = 1;
    long pending_wait = -1;  // from {wait N} items not yet attached to a key
    std::vector<KeyItem>* items;
    KeyScriptError* error;

    bool fail(const std::string& message) {
        error->line = line;
        error->message = message;
        return false;
    }

    bool add(KeyItem k) {
        if (items->size() >= KEY_SCRIPT_MAX_ITEMS) return fail("too many keys in one script");
        k.line = line;
        k.wait_ms = static_cast<int>(pending_wait);
        pending_wait = -1;
        items->push_back(k);
        return true;
    }

    bool parse_wait(std::string_view arg) {
        arg = trim(arg);
        if (arg.empty()) return fail("{wait} needs a number of milliseconds");
        long n = 0;
        for (char c : arg) {
            if (c < '0' || c > '9') return fail("bad number in {wait " + std::string(arg) + "}");
            n = n * 10 + (c - '0');
            if (n > KEY_SCRIPT_MAX_WAIT_MS) return fail("{wait " + std::string(arg) + "} is longer than an hour");
        }
        // Consecutive waits add up.
        pending_wait = pending_wait < 0 ? n : pending_wait + n;
        if (pending_wait > KEY_SCRIPT_MAX_WAIT_MS) return fail("waits before one key add up to more than an hour");
        return true;
    }

    bool parse_brace(std::string_view inner) {
        std::string shown = "{" + std::string(inner) + "}";
        inner = trim(inner);
        if (inner.empty()) return fail("empty braces {}");
        size_t space = inner.find_first_of(" \t");
        if (space != std::string_view::npos) {
            std::string word = lower(inner.substr(0, space));
            std::string_view arg = trim(inner.substr(space));
            if (word == "wait") return parse_wait(arg);
            if (word == "down" || word == "up") {
                KeyItem k;
                if (!resolve_key(arg, k) || lower(arg) == "break") return fail("unknown key in " + shown);
                k.kind = word == "down" ? KeyItemKind::Down : KeyItemKind::Up;
                k.ch = 0;
                k.shift = k.ctrl = k.alt = false;
                return add(k);
            }
            return fail("unknown key " + shown);
        }
        if (lower(inner) == "close") {
            KeyItem k;
            k.kind = KeyItemKind::Close;
            return add(k);
        }
        bool shift = false, ctrl = false, alt = false;
        size_t start = 0;
        for (;;) {
            size_t plus = inner.find('+', start);
            if (plus == std::string_view::npos) break;
            std::string mod = lower(inner.substr(start, plus - start));
            if (mod == "ctrl" || mod == "control") ctrl = true;
            else if (mod == "alt") alt = true;
            else if (mod == "shift") shift = true;
            else return fail("unknown modifier \"" + std::string(inner.substr(start, plus - start)) + "\" in " + shown);
            start = plus + 1;
        }
        std::string_view name = inner.substr(start);
        KeyItem k;
        if (!resolve_key(name, k)) return fail("unknown key " + shown);
        bool modified = shift || ctrl || alt;
        if (modified && name.size() == 1) {
            // {Ctrl+C} means the same as {Ctrl+c}; only Shift makes a capital.
            unsigned char c = k.ch;
            if (c >= 'A' && c <= 'Z') c = static_cast<unsigned char>(c - 'A' + 'a');
            if (shift && c >= 'a' && c <= 'z') c = static_cast<unsigned char>(c - 'a' + 'A');
            k.ch = c;
            k.shift = false;
        }
        k.shift = k.shift || shift;
        k.ctrl = k.ctrl || ctrl;
        k.alt = alt;
        return add(k);
    }

    bool run() {
        if (text.substr(0, 3) == "\xEF\xBB\xBF") pos = 3;
        while (pos < text.size()) {
            unsigned char c = static_cast<unsigned char>(text[pos]);
            if (c == '\r' || c == '\n') {
                pos += (c == '\r' && pos + 1 < text.size() && text[pos + 1] == '\n') ? 2 : 1;
                KeyItem k;
                resolve_key("enter", k);
                if (!add(k)) return false;
                ++line;
                continue;
            }
            if (c == '{') {
                if (pos + 1 < text.size() && text[pos + 1] == '{') {
                    if (!add(char_item('{'))) return false;
                    pos += 2;
                    continue;
                }
                size_t end = pos + 1;
                while (end < text.size() && text[end] != '}' && text[end] != '\n' && text[end] != '\r') ++end;
                if (end >= text.size() || text[end] != '}') return fail("\"{\" without a closing \"}\" (type \"{{\" for a brace)");
                if (!parse_brace(text.substr(pos + 1, end - pos - 1))) return false;
                pos = end + 1;
                continue;
            }
            if (c == '\t') {
                KeyItem k;
                resolve_key("tab", k);
                if (!add(k)) return false;
                ++pos;
                continue;
            }
            unsigned cp = c;
            size_t len = 1;
            if (c >= 0x80) {
                size_t n = utf8_decode(text, pos, cp);
                if (n > 0) len = n;
                else cp = c;  // not UTF-8: the byte is taken as Latin-1
            }
            if (cp < 32 || (cp >= 127 && cp < 160)) {
                char buf[48];
                std::snprintf(buf, sizeof buf, "control character %u cannot be typed", cp);
                return fail(buf);
            }
            int byte = codepage_byte(cp);
            if (byte < 0) {
                KeyItem k;
                k.kind = KeyItemKind::Untypeable;
                if (!add(k)) return false;
            } else if (!add(char_item(static_cast<unsigned char>(byte)))) {
                return false;
            }
            pos += len;
        }
        if (pending_wait >= 0) {
            // A wait at the end delays the close request that ends the run.
            KeyItem k;
            k.kind = KeyItemKind::Close;
            return add(k);
        }
        return true;
    }
};

OsEvent key_event(OsEventType type, const KeyItem& k) {
    OsEvent ev;
    ev.type = type;
    ev.vkey = k.vkey;
    ev.shift = k.shift;
    ev.ctrl = k.ctrl;
    ev.alt = k.alt;
    return ev;
}
}  // namespace

bool key_script_parse(std::string_view text, std::vector<KeyItem>& items, KeyScriptError& error) {
    Parser p;
    p.text = text;
    p.items = &items;
    p.error = &error;
    return p.run();
}

int key_item_events(const KeyItem& k, OsEvent out[KEY_SCRIPT_MAX_EVENTS]) {
    switch (k.kind) {
    case KeyItemKind::Close:
        out[0] = OsEvent{};
        out[0].type = OsEventType::Close;
        return 1;
    case KeyItemKind::Down:
        out[0] = key_event(OsEventType::KeyDown, k);
        return 1;
    case KeyItemKind::Up:
        out[0] = key_event(OsEventType::KeyUp, k);
        return 1;
    case KeyItemKind::Untypeable:
        out[0] = OsEvent{};
        out[0].type = OsEventType::Untypeable;
        return 1;
    case KeyItemKind::Press:
        break;
    }
    int n = 0;
    out[n++] = key_event(OsEventType::KeyDown, k);
    int ch = key_typed_char(k.vkey, k.ch != 0 ? k.ch : -1, k.ctrl, k.alt);
    if (ch > 0) {
        OsEvent c = key_event(OsEventType::Char, k);
        c.vkey = 0;
        c.ch = static_cast<unsigned char>(ch);
        out[n++] = c;
    }
    // The window is asked to close before the key is released.
    if (key_closes_window(k.vkey, k.ctrl, k.alt)) {
        out[n] = OsEvent{};
        out[n++].type = OsEventType::Close;
    }
    out[n++] = key_event(OsEventType::KeyUp, k);
    return n;
}
