// Decoding of terminal key bytes into window-style key-down and character events.
#include "platform/terminal/key_decoder.h"

#include "platform/key_translation.h"
#include "util/latin1.h"

#include <cstring>
#include <string_view>

namespace {
constexpr int KEYS_MAX_PARAMS = 4;

struct KeyDecoderState {
    unsigned char pending[TERM_KEYS_MAX_PENDING];
    int count = 0;
    // Bytes [0, cut) arrived before a pause: a sequence among them is not
    // waited for any longer.
    int cut = 0;
    uint64_t last_feed_ms = 0;
    // The rest of an over-long sequence is being swallowed.
    bool skipping = false;
    bool backspace_is_del = false;
    OsEvent out[2];
    int out_count = 0, out_next = 0;
} g_keys;

// One key press: a virtual key (0: none) and a character (-1: none).
struct Key {
    int vk = 0;
    int ch = -1;
    bool shift = false, ctrl = false, alt = false;
    bool untypeable = false;  // a character outside the code page
};

struct Mods {
    bool shift = false, ctrl = false, alt = false;
};

// The xterm modifier parameter: 1 + (1 Shift, 2 Alt, 4 Ctrl, 8 Meta).
Mods mods_from_param(int m) {
    Mods mods;
    if (m < 2) return mods;
    int bits = m - 1;
    mods.shift = bits & 1;
    mods.alt = (bits & 2) || (bits & 8);
    mods.ctrl = bits & 4;
    return mods;
}

Key nav_key(int vk, Mods m) {
    Key k;
    k.vk = vk;
    k.shift = m.shift;
    k.ctrl = m.ctrl;
    k.alt = m.alt;
    return k;
}

// Virtual key of a printable ASCII character on a US layout, and whether
// Shift makes it.
void ascii_vk(int c, int& vk, bool& shift) {
    static const char plain[] = "`1234567890-=[]\\;',./";
    static const char shifted[] = "~!@#$%^&*()_+{}|:\"<>?";
    static const int oem[] = {192, '1', '2', '3', '4', '5', '6', '7', '8', '9', '0', 189, 187, 219, 221, 220,
        186, 222, 188, 190, 191};
    shift = false;
    if (c >= 'a' && c <= 'z') {
        vk = c - 32;
        return;
    }
    if ((c >= 'A' && c <= 'Z')) {
        vk = c;
        shift = true;
        return;
    }
    if (c == ' ') {
        vk = VK_SPACE_KEY;
        return;
    }
    for (int i = 0; plain[i]; ++i) {
        if (plain[i] == c) {
            vk = oem[i];
            return;
        }
        if (shifted[i] == c) {
            vk = oem[i];
            shift = true;
            return;
        }
    }
    vk = 0;
}

// A printable ASCII character typed with the given modifiers.
Key printable_key(int c, Mods m) {
    Key k;
    bool shift = false;
    ascii_vk(c, k.vk, shift);
    k.shift = shift || m.shift;
    k.ctrl = m.ctrl;
    k.alt = m.alt;
    bool letter = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
    if (letter && m.shift && c >= 'a') c -= 32;
    k.ch = key_typed_char(k.vk, c, m.ctrl, m.alt);
    return k;
}

// The keys a report names by the control code they type alone.
struct CodedKey {
    int code;
    int vk;
    int plain;
};
const CodedKey CODED_KEYS[] = {
    {13, VK_RETURN_KEY, 13}, {9, VK_TAB_KEY, 9}, {27, VK_ESCAPE_KEY, 27}, {8, VK_BACK_KEY, 8}, {127, VK_BACK_KEY, 8}};

// A key named by its character code (CSI u and modifyOtherKeys reports).
Key code_key(int code, Mods m, bool& has) {
    has = true;
    Key k = nav_key(0, m);
    for (const CodedKey& c : CODED_KEYS) {
        if (c.code == code) {
            k.vk = c.vk;
            k.ch = key_typed_char(c.vk, c.plain, m.ctrl, m.alt);
            return k;
        }
    }
    if (code >= 32 && code <= 126) return printable_key(code, m);
    if (code >= 0xA0 && code <= 0xFF) k.ch = key_typed_char(0, code, m.ctrl, m.alt);
    has = k.ch >= 0;
    return k;
}

// A single byte that is neither Esc nor part of UTF-8.
Key control_or_ascii_key(int b) {
    Key k;
    switch (b) {
    case 0:  // Ctrl+Space
        k.vk = VK_SPACE_KEY;
        k.ctrl = true;
        k.ch = ' ';
        return k;
    case 8:
    case 127:
        k.vk = VK_BACK_KEY;
        k.ch = 8;
        k.ctrl = b == 8 && g_keys.backspace_is_del;
        return k;
    case 9:
        k.vk = VK_TAB_KEY;
        k.ch = 9;
        return k;
    case 13:
        k.vk = VK_RETURN_KEY;
        k.ch = 13;
        return k;
    case 28:
    case 29:
    case 30:
    case 31: {
        static const int vks[] = {220, 221, '6', 189};
        k.vk = vks[b - 28];
        k.ctrl = true;
        k.ch = b;
        return k;
    }
    default:
        break;
    }
    if (b < 32) {
        k.vk = 'A' + b - 1;
        k.ctrl = true;
        k.ch = b;
        return k;
    }
    return printable_key(b, Mods{});
}

// UTF-8 text: code points of the code page give its character; any other
// printable one is untypeable (the console beeps); C1 controls are consumed
// and ignored. Returns 0 when more bytes are needed.
int decode_utf8(const unsigned char* p, int n, bool final, Key& k, bool& has) {
    int len = static_cast<int>(utf8_sequence_length(p[0]));
    if (len < 2) return 1;  // stray continuation or invalid lead byte
    for (int i = 1; i < len; ++i) {
        if (i >= n) return final ? i : 0;
        if ((p[i] & 0xC0) != 0x80) return i;  // broken: drop what came, re-read this byte
    }
    unsigned cp = 0;
    // An overlong form or a value beyond Unicode types nothing.
    if (utf8_decode(std::string_view(reinterpret_cast<const char*>(p), static_cast<size_t>(len)), 0, cp) == 0) return len;
    if (cp < 0xA0) return len;
    int byte = codepage_byte(cp);
    if (byte >= 0) k.ch = byte;
    else k.untypeable = true;
    has = true;
    return len;
}

int fkey_for_tilde_code(int code) {
    switch (code) {
    case 1:
    case 7: return VK_HOME_KEY;
    case 2: return VK_INSERT_KEY;
    case 3: return VK_DELETE_KEY;
    case 4:
    case 8: return VK_END_KEY;
    case 5: return VK_PRIOR_KEY;
    case 6: return VK_NEXT_KEY;
    case 11:
    case 12:
    case 13:
    case 14:
    case 15: return VK_F1_KEY + code - 11;
    case 17:
    case 18:
    case 19:
    case 20:
    case 21: return VK_F1_KEY + 5 + code - 17;
    case 23:
    case 24: return VK_F1_KEY + 10 + code - 23;
    default: return 0;
    }
}

int arrow_vk(int final) {
    switch (final) {
    case 'A': return VK_UP_KEY;
    case 'B': return VK_DOWN_KEY;
    case 'C': return VK_RIGHT_KEY;
    case 'D': return VK_LEFT_KEY;
    case 'H': return VK_HOME_KEY;
    case 'F': return VK_END_KEY;
    default: return 0;
    }
}

// Control sequence "ESC [ ..." with its parameters starting at p[start].
int decode_csi(const unsigned char* p, int n, bool final, int start, bool alt, Key& k, bool& has) {
    int i = start;
    if (i < n && p[i] == '[') {  // Linux console F1..F5: ESC [ [ A..E
        if (i + 1 >= n) return final ? i + 1 : 0;
        int c = p[i + 1];
        if (c < 0x20 || c >= 0x7F) return i + 1;
        if (c >= 'A' && c <= 'E') {
            k = nav_key(VK_F1_KEY + c - 'A', Mods{});
            k.alt = alt;
            has = true;
        }
        return i + 2;
    }
    int j = i;
    while (j < n && p[j] >= 0x30 && p[j] <= 0x3F) ++j;
    int params_end = j;
    while (j < n && p[j] >= 0x20 && p[j] <= 0x2F) ++j;
    if (j >= TERM_KEYS_MAX_SEQUENCE) {
        g_keys.skipping = true;
        return j;
    }
    if (j >= n) {
        if (!final) return 0;
        if (j == start && !alt) {  // "ESC [" and nothing more: Alt+[
            k = printable_key('[', Mods{false, false, true});
            has = true;
        }
        return j;
    }
    int fin = p[j];
    if (fin < 0x40 || fin > 0x7E) return j;  // broken: drop it, re-read this byte
    int used = j + 1;
    if (fin == 'M' && j == i) {  // a mouse report left switched on: three raw bytes follow
        if (used + 3 > n) return final ? n : 0;
        return used + 3;
    }
    if (params_end > i && (p[i] == '<' || p[i] == '=' || p[i] == '>' || p[i] == '?')) return used;
    if (params_end != j) return used;  // intermediates: not a key report

    int params[KEYS_MAX_PARAMS] = {0, 0, 0, 0};
    int nparams = 0;
    bool sub = false;
    if (params_end > i) {
        nparams = 1;
        for (int q = i; q < params_end; ++q) {
            int c = p[q];
            if (c == ';') {
                if (nparams == KEYS_MAX_PARAMS) return used;
                ++nparams;
                sub = false;
            } else if (c == ':') {
                sub = true;  // sub-parameters (alternate keys, event types) are not needed
            } else if (c >= '0' && c <= '9') {
                int& v = params[nparams - 1];
                if (!sub && v < 10000) v = v * 10 + (c - '0');
            } else {
                return used;
            }
        }
    }
    Mods m = mods_from_param(nparams >= 2 ? params[1] : 0);
    switch (fin) {
    case 'A':
    case 'B':
    case 'C':
    case 'D':
    case 'H':
    case 'F':
        k = nav_key(arrow_vk(fin), m);
        has = true;
        break;
    case 'Z':  // Shift+Tab
        k = nav_key(VK_TAB_KEY, m);
        k.shift = true;
        k.ch = 9;
        has = true;
        break;
    case 'P':
    case 'Q':
    case 'R':
    case 'S':
        if (nparams >= 1 && params[0] > 1) return used;  // e.g. a cursor position report
        k = nav_key(VK_F1_KEY + fin - 'P', m);
        has = true;
        break;
    case '~':
    case '^':
    case '$':
    case '@': {
        if (fin == '~' && params[0] == 27 && nparams >= 3) {  // xterm modifyOtherKeys
            k = code_key(params[2], m, has);
            break;
        }
        int vk = fkey_for_tilde_code(params[0]);
        if (!vk) return used;
        if (fin == '^') m = Mods{false, true, false};
        if (fin == '$') m = Mods{true, false, false};
        if (fin == '@') m = Mods{true, true, false};
        k = nav_key(vk, m);
        has = true;
        break;
    }
    case 'a':
    case 'b':
    case 'c':
    case 'd':  // rxvt Shift+arrows
        k = nav_key(arrow_vk(fin - 32), Mods{true, false, false});
        has = true;
        break;
    case 'u':
        k = code_key(params[0], m, has);
        break;
    default:
        return used;
    }
    if (has && alt) {
        k.alt = true;
        if (k.ch >= 0 && k.vk) k.ch = -1;
    }
    return used;
}

// "ESC O x": function keys, cursor keys and the keypad in application mode.
int decode_ss3(const unsigned char* p, int n, bool final, int start, bool alt, Key& k, bool& has) {
    int j = start;
    int last = 0;
    while (j < n && ((p[j] >= '0' && p[j] <= '9') || p[j] == ';')) {
        if (p[j] == ';') last = 0;
        else if (last < 10000) last = last * 10 + (p[j] - '0');
        ++j;
    }
    if (j >= TERM_KEYS_MAX_SEQUENCE) {
        g_keys.skipping = true;
        return j;
    }
    if (j >= n) {
        if (!final) return 0;
        if (j == start && !alt) {  // "ESC O" and nothing more: Alt+Shift+O
            k = printable_key('O', Mods{false, false, true});
            has = true;
        }
        return j;
    }
    int fin = p[j];
    if (fin < 0x40 || fin > 0x7E) return j;
    int used = j + 1;
    Mods m = mods_from_param(last);
    static const char keypad[] = "*+,-./0123456789";
    if (fin >= 'P' && fin <= 'S') {
        k = nav_key(VK_F1_KEY + fin - 'P', m);
    } else if (arrow_vk(fin)) {
        k = nav_key(arrow_vk(fin), m);
    } else if (fin >= 'a' && fin <= 'd') {  // rxvt Ctrl+arrows
        k = nav_key(arrow_vk(fin - 32), Mods{false, true, false});
    } else if (fin == 'M') {
        k = code_key(13, m, has);
    } else if (fin >= 'j' && fin <= 'y') {
        k = code_key(keypad[fin - 'j'], m, has);
    } else if (fin == 'X') {
        k = code_key('=', m, has);
    } else {
        return used;
    }
    has = true;
    if (alt) {
        k.alt = true;
        k.ch = -1;
    }
    return used;
}

// Decodes one key from the front of p[0..n). Returns the bytes it used, with
// `has` telling whether they made a key; 0 when more bytes are needed (never
// when `final`: then an unfinished sequence is resolved as it stands).
int decode(const unsigned char* p, int n, bool final, Key& k, bool& has) {
    has = false;
    int b = p[0];
    if (b >= 0x80) return decode_utf8(p, n, final, k, has);
    if (b != 0x1B) {
        k = control_or_ascii_key(b);
        has = k.vk != 0 || k.ch >= 0;
        return 1;
    }
    if (n < 2) {
        if (!final) return 0;
        k = code_key(27, Mods{}, has);
        return 1;
    }
    int c = p[1];
    if (c == '[') return decode_csi(p, n, final, 2, false, k, has);
    if (c == 'O') return decode_ss3(p, n, final, 2, false, k, has);
    if (c == 0x1B) {
        // ESC ESC [ ... is Alt with a sequence; otherwise the first Esc stands alone.
        if (n < 3 && !final) return 0;
        if (n >= 3 && p[2] == '[') return decode_csi(p, n, final, 3, true, k, has);
        if (n >= 3 && p[2] == 'O') return decode_ss3(p, n, final, 3, true, k, has);
        k = code_key(27, Mods{}, has);
        return 1;
    }
    // Alt held with another key: the window gives the key-down alone.
    int used;
    if (c >= 0x80) {
        used = decode_utf8(p + 1, n - 1, final, k, has);
        if (used == 0) return 0;
        has = false;  // Alt with a non-ASCII character gives no message
        return used + 1;
    }
    k = control_or_ascii_key(c);
    k.alt = true;
    k.ch = key_typed_char(k.vk, k.ch, k.ctrl, k.alt);
    has = k.vk != 0;
    return 2;
}

void push_events(const Key& k) {
    g_keys.out_count = 0;
    g_keys.out_next = 0;
    OsEvent ev;
    ev.shift = k.shift;
    ev.ctrl = k.ctrl;
    ev.alt = k.alt;
    if (k.vk) {
        ev.type = OsEventType::KeyDown;
        ev.vkey = k.vk;
        g_keys.out[g_keys.out_count++] = ev;
    }
    if (k.ch >= 0) {
        ev.type = OsEventType::Char;
        ev.vkey = 0;
        ev.ch = static_cast<unsigned char>(k.ch);
        g_keys.out[g_keys.out_count++] = ev;
    }
    if (k.untypeable) {
        ev.type = OsEventType::Untypeable;
        ev.vkey = 0;
        g_keys.out[g_keys.out_count++] = ev;
    }
}

uint64_t waited_ms(uint64_t now_ms) {
    return now_ms > g_keys.last_feed_ms ? now_ms - g_keys.last_feed_ms : 0;
}

void consume(int used) {
    if (used >= g_keys.count) {
        g_keys.count = 0;
    } else {
        std::memmove(g_keys.pending, g_keys.pending + used, g_keys.count - used);
        g_keys.count -= used;
    }
    g_keys.cut = g_keys.cut > used ? g_keys.cut - used : 0;
}
}  // namespace

void term_keys_reset() { g_keys = KeyDecoderState{}; }

void term_keys_set_erase(unsigned char erase) { g_keys.backspace_is_del = erase == 127; }

int term_keys_room() { return TERM_KEYS_MAX_PENDING - g_keys.count; }

size_t term_keys_feed(const unsigned char* bytes, size_t count, uint64_t now_ms) {
    if (g_keys.count > 0 && waited_ms(now_ms) >= TERM_KEYS_ESC_TIMEOUT_MS) g_keys.cut = g_keys.count;
    size_t room = static_cast<size_t>(term_keys_room());
    if (count > room) count = room;
    if (count > 0) std::memcpy(g_keys.pending + g_keys.count, bytes, count);
    g_keys.count += static_cast<int>(count);
    g_keys.last_feed_ms = now_ms;
    return count;
}

bool term_keys_next(OsEvent& ev, uint64_t now_ms) {
    for (;;) {
        if (g_keys.out_next < g_keys.out_count) {
            ev = g_keys.out[g_keys.out_next++];
            return true;
        }
        if (g_keys.count == 0) return false;
        if (g_keys.skipping) {
            int b = g_keys.pending[0];
            if (b >= 0x20 && b <= 0x7E) {
                consume(1);
                g_keys.skipping = b < 0x40;
                continue;
            }
            g_keys.skipping = false;
        }
        bool timed_out = waited_ms(now_ms) >= TERM_KEYS_ESC_TIMEOUT_MS;
        int limit = g_keys.cut > 0 ? g_keys.cut : g_keys.count;
        bool final = g_keys.cut > 0 || timed_out;
        Key k;
        bool has = false;
        int used = decode(g_keys.pending, limit, final, k, has);
        if (used == 0) return false;
        consume(used);
        if (has) push_events(k);
    }
}

int term_keys_wait_ms(uint64_t now_ms) {
    if (g_keys.count == 0) return -1;
    if (g_keys.cut > 0) return 0;
    uint64_t waited = waited_ms(now_ms);
    if (waited >= TERM_KEYS_ESC_TIMEOUT_MS) return 0;
    return static_cast<int>(TERM_KEYS_ESC_TIMEOUT_MS - waited);
}
