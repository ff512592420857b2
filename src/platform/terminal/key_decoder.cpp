// Decoding of terminal key bytes into window-style key-down and character events.
#include "platform/terminal/key_decoder.h"

#include "platform/key_translation.h"
#include "util/latin1.h"

#include <cstring>
#include <iterator>
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

// Which key each code of a "ESC [ code ~" report is; 0 for none.
int tilde_vk(int code) {
    static const int KEYS[] = {0, VK_HOME_KEY, VK_INSERT_KEY, VK_DELETE_KEY, VK_END_KEY, VK_PRIOR_KEY, VK_NEXT_KEY,
        VK_HOME_KEY, VK_END_KEY, 0, 0, VK_F1_KEY, VK_F1_KEY + 1, VK_F1_KEY + 2, VK_F1_KEY + 3, VK_F1_KEY + 4, 0,
        VK_F1_KEY + 5, VK_F1_KEY + 6, VK_F1_KEY + 7, VK_F1_KEY + 8, VK_F1_KEY + 9, 0, VK_F1_KEY + 10, VK_F1_KEY + 11};
    return code >= 0 && code < static_cast<int>(std::size(KEYS)) ? KEYS[code] : 0;
}

// The three shapes of key report: "ESC [ params final", "ESC O params final"
// and the Linux console's "ESC [ [ letter".
enum class ReportForm { Csi, Ss3, LinuxConsole };

// A key report as the terminal sent it, before it is looked up.
struct Report {
    ReportForm form = ReportForm::Csi;
    int final = 0;
    int params[KEYS_MAX_PARAMS] = {0, 0, 0, 0};
    int count = 0;
    bool alt = false;  // an Esc came before the report
};

// How a final byte names its key.
enum class Names {
    Vk,         // the key `value`
    TildeCode,  // the key whose code is the first parameter (or a modifyOtherKeys report)
    CodeParam,  // the key that types the first parameter's character (CSI u)
    Code,       // the key that types the character `value`
};

struct FinalByte {
    char final;
    Names names;
    int value = 0;
    // An xterm modifier value that replaces the report's own (0: the report's).
    int modifier = 0;
    int plain = -1;        // the character the key types alone
    bool shifted = false;  // the key is reported with Shift in any case
    bool never_numbered = false;  // with a first parameter above 1 it is another report
};

constexpr int MOD_SHIFT = 2, MOD_CTRL = 5, MOD_SHIFT_CTRL = 6;

// The cursor keys, the same in both main forms.
const FinalByte CURSOR_FINALS[] = {
    {'A', Names::Vk, VK_UP_KEY},
    {'B', Names::Vk, VK_DOWN_KEY},
    {'C', Names::Vk, VK_RIGHT_KEY},
    {'D', Names::Vk, VK_LEFT_KEY},
    {'H', Names::Vk, VK_HOME_KEY},
    {'F', Names::Vk, VK_END_KEY},
};

const FinalByte CSI_FINALS[] = {
    {'Z', Names::Vk, VK_TAB_KEY, 0, 9, true},  // Shift+Tab
    {'P', Names::Vk, VK_F1_KEY, 0, -1, false, true},  // a cursor report when numbered
    {'Q', Names::Vk, VK_F1_KEY + 1, 0, -1, false, true},
    {'R', Names::Vk, VK_F1_KEY + 2, 0, -1, false, true},
    {'S', Names::Vk, VK_F1_KEY + 3, 0, -1, false, true},
    {'~', Names::TildeCode},
    {'^', Names::TildeCode, 0, MOD_CTRL},  // rxvt: the same codes with Ctrl, Shift, both
    {'$', Names::TildeCode, 0, MOD_SHIFT},
    {'@', Names::TildeCode, 0, MOD_SHIFT_CTRL},
    {'a', Names::Vk, VK_UP_KEY, MOD_SHIFT},  // rxvt Shift+arrows
    {'b', Names::Vk, VK_DOWN_KEY, MOD_SHIFT},
    {'c', Names::Vk, VK_RIGHT_KEY, MOD_SHIFT},
    {'d', Names::Vk, VK_LEFT_KEY, MOD_SHIFT},
    {'u', Names::CodeParam},
};

// Function, cursor and keypad keys in application mode.
const FinalByte SS3_FINALS[] = {
    {'P', Names::Vk, VK_F1_KEY},
    {'Q', Names::Vk, VK_F1_KEY + 1},
    {'R', Names::Vk, VK_F1_KEY + 2},
    {'S', Names::Vk, VK_F1_KEY + 3},
    {'a', Names::Vk, VK_UP_KEY, MOD_CTRL},  // rxvt Ctrl+arrows
    {'b', Names::Vk, VK_DOWN_KEY, MOD_CTRL},
    {'c', Names::Vk, VK_RIGHT_KEY, MOD_CTRL},
    {'d', Names::Vk, VK_LEFT_KEY, MOD_CTRL},
    {'M', Names::Code, 13},  // keypad Enter
    {'X', Names::Code, '='},
    {'j', Names::Code, '*'}, {'k', Names::Code, '+'}, {'l', Names::Code, ','}, {'m', Names::Code, '-'},
    {'n', Names::Code, '.'}, {'o', Names::Code, '/'}, {'p', Names::Code, '0'}, {'q', Names::Code, '1'},
    {'r', Names::Code, '2'}, {'s', Names::Code, '3'}, {'t', Names::Code, '4'}, {'u', Names::Code, '5'},
    {'v', Names::Code, '6'}, {'w', Names::Code, '7'}, {'x', Names::Code, '8'}, {'y', Names::Code, '9'},
};

// Linux console F1..F5.
const FinalByte LINUX_CONSOLE_FINALS[] = {
    {'A', Names::Vk, VK_F1_KEY},
    {'B', Names::Vk, VK_F1_KEY + 1},
    {'C', Names::Vk, VK_F1_KEY + 2},
    {'D', Names::Vk, VK_F1_KEY + 3},
    {'E', Names::Vk, VK_F1_KEY + 4},
};

template <size_t N>
const FinalByte* find_final(const FinalByte (&table)[N], int final) {
    for (const FinalByte& f : table)
        if (f.final == final) return &f;
    return nullptr;
}

const FinalByte* final_byte(const Report& r) {
    switch (r.form) {
    case ReportForm::Csi:
        if (const FinalByte* f = find_final(CURSOR_FINALS, r.final)) return f;
        return find_final(CSI_FINALS, r.final);
    case ReportForm::Ss3:
        if (const FinalByte* f = find_final(CURSOR_FINALS, r.final)) return f;
        return find_final(SS3_FINALS, r.final);
    case ReportForm::LinuxConsole: return find_final(LINUX_CONSOLE_FINALS, r.final);
    }
    return nullptr;
}

// The key a report names; false when it names none.
bool map_report(const Report& r, Key& k) {
    const FinalByte* f = final_byte(r);
    if (!f) return false;
    Mods m = mods_from_param(f->modifier ? f->modifier : r.count >= 2 ? r.params[1] : 0);
    m.alt = m.alt || r.alt;
    m.shift = m.shift || f->shifted;
    bool has = true;
    switch (f->names) {
    case Names::Vk:
        if (f->never_numbered && r.count >= 1 && r.params[0] > 1) return false;
        k = nav_key(f->value, m);
        k.ch = key_typed_char(f->value, f->plain, m.ctrl, m.alt);
        return true;
    case Names::TildeCode: {
        if (r.final == '~' && r.params[0] == 27 && r.count >= 3) {  // xterm modifyOtherKeys
            k = code_key(r.params[2], m, has);
            return has;
        }
        int vk = tilde_vk(r.params[0]);
        if (!vk) return false;
        k = nav_key(vk, m);
        return true;
    }
    case Names::CodeParam: k = code_key(r.params[0], m, has); return has;
    case Names::Code: k = code_key(f->value, m, has); return has;
    }
    return false;
}

// Reads the control sequence "ESC [ ..." whose body starts at p[start]. Returns
// the bytes it used (0: more are needed, never when `final`); `found` tells
// whether they are a report to look up. What is not a key report (mouse and
// device reports, sequences with intermediates, broken ones) is used up.
int parse_csi(const unsigned char* p, int n, bool final, int start, Report& r, bool& found) {
    r.form = ReportForm::Csi;
    found = false;
    int i = start;
    if (i < n && p[i] == '[') {
        if (i + 1 >= n) return final ? i + 1 : 0;
        int c = p[i + 1];
        if (c < 0x20 || c >= 0x7F) return i + 1;
        r.form = ReportForm::LinuxConsole;
        r.final = c;
        found = true;
        return i + 2;
    }
    int j = i;
    while (j < n && p[j] >= 0x30 && p[j] <= 0x3F) ++j;
    int params_end = j;
    // rxvt ends its Shift reports of the editing keys with "$", which has
    // the shape of an intermediate byte: after plain digits it is the final.
    bool digits_only = params_end > i;
    for (int q = i; q < params_end; ++q) digits_only = digits_only && p[q] >= '0' && p[q] <= '9';
    if (!(digits_only && j < n && p[j] == '$'))
        while (j < n && p[j] >= 0x20 && p[j] <= 0x2F) ++j;
    if (j >= TERM_KEYS_MAX_SEQUENCE) {
        g_keys.skipping = true;
        return j;
    }
    if (j >= n) return final ? j : 0;
    int fin = p[j];
    if ((fin < 0x40 || fin > 0x7E) && fin != '$') return j;  // broken: drop it, re-read this byte
    int used = j + 1;
    if (fin == 'M' && j == i) {  // a mouse report left switched on: three raw bytes follow
        if (used + 3 > n) return final ? n : 0;
        return used + 3;
    }
    if (params_end > i && (p[i] == '<' || p[i] == '=' || p[i] == '>' || p[i] == '?')) return used;
    if (params_end != j) return used;  // intermediates: not a key report
    bool sub = false;
    if (params_end > i) {
        r.count = 1;
        for (int q = i; q < params_end; ++q) {
            int c = p[q];
            if (c == ';') {
                if (r.count == KEYS_MAX_PARAMS) return used;
                ++r.count;
                sub = false;
            } else if (c == ':') {
                sub = true;  // sub-parameters (alternate keys, event types) are not needed
            } else if (c >= '0' && c <= '9') {
                int& v = r.params[r.count - 1];
                if (!sub && v < 10000) v = v * 10 + (c - '0');
            } else {
                return used;
            }
        }
    }
    r.final = fin;
    found = true;
    return used;
}

// Reads "ESC O ..." as parse_csi does; its last number is the modifier.
int parse_ss3(const unsigned char* p, int n, bool final, int start, Report& r, bool& found) {
    r.form = ReportForm::Ss3;
    found = false;
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
    if (j >= n) return final ? j : 0;
    int fin = p[j];
    if (fin < 0x40 || fin > 0x7E) return j;
    r.params[1] = last;
    r.count = 2;
    r.final = fin;
    found = true;
    return j + 1;
}

// A key report whose body follows "ESC [" or "ESC O" at p[start].
int decode_report(const unsigned char* p, int n, bool final, int start, bool alt, Key& k, bool& has) {
    int intro = p[start - 1];
    if (start >= n) {
        if (!final) return 0;
        if (!alt) {  // the introducer and nothing more: Alt+[ or Alt+Shift+O typed
            k = printable_key(intro, Mods{false, false, true});
            has = true;
        }
        return start;
    }
    Report r;
    r.alt = alt;
    bool found = false;
    int used = intro == '[' ? parse_csi(p, n, final, start, r, found) : parse_ss3(p, n, final, start, r, found);
    if (found) has = map_report(r, k);
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
    if (c == '[') return decode_report(p, n, final, 2, false, k, has);
    if (c == 'O') return decode_report(p, n, final, 2, false, k, has);
    if (c == 0x1B) {
        // ESC ESC [ ... is Alt with a sequence; otherwise the first Esc stands alone.
        if (n < 3 && !final) return 0;
        if (n >= 3 && p[2] == '[') return decode_report(p, n, final, 3, true, k, has);
        if (n >= 3 && p[2] == 'O') return decode_report(p, n, final, 3, true, k, has);
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

void term_keys_discard() {
    bool backspace_is_del = g_keys.backspace_is_del;
    g_keys = KeyDecoderState{};
    g_keys.backspace_is_del = backspace_is_del;
}

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
