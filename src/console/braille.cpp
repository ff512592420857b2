// The six-key braille keyboard: F D S J K L are dots 1 to 6 and the space bar
// the seventh key; a released chord becomes one character in the key queue.
// Also the square-wave tones that announce a change of mode.
#include <cstring>
#include <string>

#include "console/sound_log.h"
#include "console/console.h"
#include "console/console_internal.h"
#include "platform/os.h"
#include "util/latin1.h"

namespace {
constexpr int BRAILLE_TONE_RATE = 11025;
constexpr int BRAILLE_MAX_TONE_BYTES = BRAILLE_TONE_RATE + 2;  // one second and two samples
constexpr int BRAILLE_SPACE_BIT = 64;

// The character of each dot combination, indexed by the sum of its dot bits.
std::string make_table() {
    // Written as (dots, character) so the table reads like the braille chart.
    struct Entry {
        const char* dots;
        const char* ch;
    };
    const Entry entries[] = {
        {"", " "},      {"4", "^"},     {"5", "~"},     {"45", "¬"},   {"1", "a"},     {"14", "c"},
        {"15", "e"},    {"145", "d"},   {"2", ","},     {"24", "i"},   {"25", ":"},    {"245", "j"},
        {"12", "b"},    {"124", "f"},   {"125", "h"},   {"1245", "g"}, {"3", "'"},     {"34", "í"},
        {"35", "*"},    {"345", "ã"},   {"13", "k"},    {"134", "m"},  {"135", "o"},   {"1345", "n"},
        {"23", ";"},    {"234", "s"},   {"235", "!"},   {"2345", "t"}, {"123", "l"},   {"1234", "p"},
        {"1235", "r"},  {"12345", "q"}, {"6", "ý"},     {"46", "{"},   {"56", "$"},    {"456", "_"},
        {"16", "â"},    {"146", "î"},   {"156", "û"},   {"1456", "ô"}, {"26", "?"},    {"246", "õ"},
        {"256", "ÿ"},   {"2456", "w"},  {"126", "ê"},   {"1246", "à"}, {"1256", "ü"},  {"12456", "ï"},
        {"36", "-"},    {"346", "ó"},   {"356", "}"},   {"3456", "#"}, {"136", "u"},   {"1346", "x"},
        {"1356", "z"},  {"13456", "y"}, {"236", "\""},  {"2346", "è"}, {"2356", "="},  {"23456", "ú"},
        {"1236", "v"},  {"12346", "ç"}, {"12356", "á"}, {"123456", "é"},
    };
    std::string table(64, ' ');
    for (const Entry& e : entries) {
        int bits = 0;
        for (const char* d = e.dots; *d; ++d) bits |= 1 << (*d - '1');
        table[bits] = latin1(e.ch)[0];
    }
    return table;
}

struct BrailleState {
    int mode = 0;
    int chord = 0;
    int keys_down = 0;
    bool capital = false;
    bool caps_lock = false;
    bool number_mode = false;
    uint8_t tone[BRAILLE_MAX_TONE_BYTES];
    bool tone_playing = false;
} g_braille;

const std::string& table() {
    static const std::string t = make_table();
    return t;
}

int chord_bit(int vkey) {
    switch (vkey) {
        case 'F': return 1;
        case 'D': return 2;
        case 'S': return 4;
        case 'J': return 8;
        case 'K': return 16;
        case 'L': return 32;
        case VK_SPACE_KEY: return BRAILLE_SPACE_BIT;
        default: return 0;
    }
}

void reset_signs() { g_braille.capital = g_braille.caps_lock = g_braille.number_mode = false; }

// The mode-2 sign rules; false when the character is a sign and not queued.
bool apply_signs(unsigned char& ch) {
    if (g_braille.number_mode) {
        if (ch == '\'') ch = '.';
        else if (ch >= 'a' && ch <= 'i') ch = static_cast<unsigned char>('1' + (ch - 'a'));
        else if (ch == 'j') ch = '0';
        else if (ch == '~') g_braille.number_mode = false;
    }
    if ((g_braille.capital || g_braille.caps_lock) && ch >= 'a' && ch <= 'z') ch = static_cast<unsigned char>(ch - 32);
    if (ch == '#') {
        g_braille.number_mode = true;
        return false;
    }
    if (ch == '{') {
        if (g_braille.capital) g_braille.caps_lock = true;
        g_braille.capital = true;
        return false;
    }
    g_braille.capital = false;
    return true;
}

void announce(int frequency) {
    console_tone(static_cast<uint16_t>(frequency));
    console_delay(200);
    console_tone_stop();
}
}  // namespace

void console_braille_reset() {
    g_braille.mode = 0;
    g_braille.chord = g_braille.keys_down = 0;
    reset_signs();
    g_braille.tone_playing = false;
}

int console_braille_mode() { return g_braille.mode; }

void console_set_braille_mode(int mode) { console_apply_braille_mode(mode); }

void console_apply_braille_mode(int mode) {
    if (mode < 0) mode = 0;
    if (mode > 2) mode = 1;
    bool was_on = g_braille.mode != 0;
    g_braille.mode = mode;
    if (mode == 0) {
        g_braille.chord = g_braille.keys_down = 0;
        reset_signs();
        if (was_on) announce(100);
        return;
    }
    announce(800);
    announce(mode == 1 ? 1600 : 400);
}

bool console_braille_key_down(int vkey) {
    int bit = chord_bit(vkey);
    if (bit == 0) return false;
    g_braille.chord |= bit;
    g_braille.keys_down |= bit;
    return true;
}

bool console_braille_key_up(int vkey, bool ctrl) {
    if (g_braille.mode != 1 && g_braille.mode != 2) return false;
    bool letter = vkey >= 'A' && vkey <= 'Z';
    if (ctrl || (vkey != VK_SPACE_KEY && !letter)) {
        reset_signs();
        return false;
    }
    g_braille.keys_down &= ~chord_bit(vkey);
    if (g_braille.keys_down != 0) return true;
    int chord = g_braille.chord;
    g_braille.chord = 0;
    unsigned char ch;
    bool queue = true;
    if (chord < BRAILLE_SPACE_BIT) {
        ch = static_cast<unsigned char>(table()[chord]);
        if (g_braille.mode == 2) queue = apply_signs(ch);
    } else if (chord == BRAILLE_SPACE_BIT) {
        ch = ' ';
        reset_signs();
    } else {
        ch = static_cast<unsigned char>(table()[chord & 63]) & 31;
        reset_signs();
    }
    if (queue) console_queue_key(ch);
    return true;
}

void console_tone(uint16_t frequency) {
    sound_log("tone", std::to_string(frequency));
    // A frequency of 0 has no period, and one above the sample rate no samples.
    if (frequency == 0 || frequency > BRAILLE_TONE_RATE) return;
    uint8_t* t = g_braille.tone;
    std::memset(t, 128, sizeof g_braille.tone);
    int p = BRAILLE_TONE_RATE / frequency;
    int offset = 0;
    for (int k = 0;; ++k) {
        offset = static_cast<int>(static_cast<long>(k) * BRAILLE_TONE_RATE / frequency);
        if (offset > BRAILLE_TONE_RATE - p) break;
        uint8_t* s = t + offset;
        std::memset(s, 96, static_cast<size_t>(p / 2 + 1));
        std::memset(s + p / 2 + 1, 160, static_cast<size_t>(p - p / 2 + 1));
    }
    if (offset > 0) t[offset - 1] = 128;
    g_braille.tone_playing = true;
    OsAudioFormat fmt;  // 8-bit mono
    fmt.rate = BRAILLE_TONE_RATE;
    os_audio_play_tone(fmt, t, static_cast<size_t>(offset));
}

void console_tone_stop() {
    if (!g_braille.tone_playing) return;
    g_braille.tone_playing = false;
    os_audio_play_tone(OsAudioFormat{}, nullptr, 0);
}
