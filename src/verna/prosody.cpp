// The prosody tables and the loader of the prosody file.
#include "verna/prosody.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <unordered_map>
#include <vector>

#include "util/latin1.h"
#include "verna/data_lines.h"
#include "verna/letters.h"
#include "verna/message.h"

namespace {
struct Duration {
    std::string phoneme;  // at most 2 characters
    int ms;
};

struct WordKey {
    std::string word;  // upper case
    std::string key;   // at most 2 characters, upper case
};

// A phoneme name of at most 2 characters as one number: its length and its
// characters. Longer names have none (no duration can match them).
constexpr uint32_t VERNA_NO_DURATION_KEY = UINT32_MAX;
uint32_t duration_key(std::string_view phoneme) {
    if (phoneme.size() > 2) return VERNA_NO_DURATION_KEY;
    uint32_t key = uint32_t(phoneme.size()) << 16;
    if (phoneme.size() > 0) key |= uint32_t(static_cast<unsigned char>(phoneme[0])) << 8;
    if (phoneme.size() > 1) key |= static_cast<unsigned char>(phoneme[1]);
    return key;
}

struct ProsodyState {
    std::vector<Duration> durations;
    // Every phoneme's first duration in file order, looked up for every
    // phoneme line of every text.
    std::unordered_map<uint32_t, int> first_duration;
    std::vector<WordKey> keys;  // sorted by word
    // Each word's first key in that order: every word of every text is
    // looked up.
    std::unordered_map<std::string_view, size_t> first_key;
    std::vector<VernaIntonationRule> rules;
    int hertz = VERNA_DEFAULT_HERTZ;
    // Not reset by a reload: levels a new file does not set keep their values.
    std::array<int, 10> levels{};
};
ProsodyState g_prosody;

// A signed decimal 32-bit integer and nothing else.
bool parse_int(const std::string& text, int& value) {
    if (text.empty()) return false;
    size_t i = (text[0] == '-' || text[0] == '+') ? 1 : 0;
    if (i == text.size()) return false;
    long long v = 0;
    for (; i < text.size(); ++i) {
        if (text[i] < '0' || text[i] > '9') return false;
        v = v * 10 + (text[i] - '0');
        if (v > 2147483648LL) return false;
    }
    if (text[0] == '-') v = -v;
    if (v > 2147483647LL || v < -2147483648LL) return false;
    value = static_cast<int>(v);
    return true;
}

bool valid_pattern(const std::string& p) {
    if (p.size() != 3) return false;
    for (size_t i = 0; i < 3; ++i) {
        bool digit = p[i] >= '0' && p[i] <= '9';
        if (!digit && !(i == 0 && p[i] == '?')) return false;
    }
    return true;
}

// One section's lines: from the line after its trimmed heading up to the end
// or a line beginning with "[". False when the heading is absent.
class Section {
public:
    Section(std::string_view text, const std::string& heading) : lines_{text} {
        std::string_view line;
        while (lines_.next(line))
            if (verna_trim(line) == heading) {
                found_ = true;
                return;
            }
    }
    bool found() const { return found_; }
    // The next line worth reading: empty lines and "*" or ";" comments skipped.
    bool next(std::string& line) {
        std::string_view raw;
        while (found_ && lines_.next(raw)) {
            if (!raw.empty() && raw[0] == '[') break;
            if (verna_trim(raw).empty() || raw[0] == '*' || raw[0] == ';') continue;
            line = std::string(raw);
            return true;
        }
        found_ = false;
        return false;
    }

private:
    VernaLineCursor lines_;
    bool found_ = false;
};

// A damaged file can hold a line of megabytes or of control characters: the
// message quotes only its start, with control characters as blanks, so that it
// stays one line that can be read and heard.
constexpr size_t VERNA_MAX_QUOTED_LINE = 60;

bool fail(const char* message, const std::string& line = "") {
    std::string quoted = line.substr(0, VERNA_MAX_QUOTED_LINE);
    for (char& c : quoted)
        if (static_cast<unsigned char>(c) < ' ') c = ' ';
    if (line.size() > VERNA_MAX_QUOTED_LINE) quoted += "...";
    verna_show_message(latin1(message) + quoted);
    return false;
}

bool load_durations(std::string_view text) {
    Section section(text, latin1("[DURAÇÃO]"));
    if (!section.found()) return fail("Duração dos difones errada ou ausente");
    std::string line;
    while (section.next(line)) {
        size_t eq = line.find('=');
        if (eq == std::string::npos) return fail("Configuração da prosódia: fonema errado: ", line);
        if (static_cast<int>(g_prosody.durations.size()) == VERNA_MAX_DURATIONS)
            return fail("Configuração da prosódia: fonemas demais: ", line);
        Duration d{verna_trim(line.substr(0, eq)).substr(0, 2), VERNA_DEFAULT_DURATION};
        if (!parse_int(verna_trim(line.substr(eq + 1)), d.ms)) {
            d.ms = VERNA_DEFAULT_DURATION;
            fail("Configuração da prosódia: fonema errado: ", line);
        }
        g_prosody.durations.push_back(d);
        g_prosody.first_duration.try_emplace(duration_key(d.phoneme), d.ms);
    }
    return true;
}

bool read_keys(std::string_view text) {
    Section section(text, "[CHAVES]");
    if (!section.found()) return fail("Prosódia: palavras chaves ausentes");
    std::string line;
    while (section.next(line)) {
        size_t eq = line.find('=');
        if (eq == std::string::npos) return fail("Configuração da prosódia: chave errada: ", line);
        if (static_cast<int>(g_prosody.keys.size()) == VERNA_MAX_WORD_KEYS)
            return fail("Configuração da prosódia: chaves demais: ", line);
        g_prosody.keys.push_back(
            {verna_upper(verna_trim(line.substr(0, eq))), verna_upper(verna_trim(line.substr(eq + 1))).substr(0, 2)});
    }
    return true;
}

// The keys read before a fatal problem are sorted too, so that their lookup
// stays right.
bool load_keys(std::string_view text) {
    bool ok = read_keys(text);
    std::stable_sort(g_prosody.keys.begin(), g_prosody.keys.end(),
                     [](const WordKey& a, const WordKey& b) { return a.word < b.word; });
    for (size_t i = 0; i < g_prosody.keys.size(); ++i) g_prosody.first_key.try_emplace(g_prosody.keys[i].word, i);
    return ok;
}

bool load_levels(const std::string& list, const std::string& line) {
    std::array<int, 10> levels{};
    size_t start = 0;
    for (int i = 0; i < 10; ++i) {
        size_t comma = list.find(',', start);
        if ((comma == std::string::npos) != (i == 9)) return fail("Configuração da prosódia: TABHERTZ errado: ", line);
        if (!parse_int(verna_trim(list.substr(start, comma == std::string::npos ? std::string::npos : comma - start)),
                       levels[i]))
            return fail("Configuração da prosódia: TABHERTZ errado: ", line);
        start = comma + 1;
    }
    g_prosody.levels = levels;
    return true;
}

bool load_intonation(std::string_view text) {
    Section section(text, latin1("[PROSÓDIA]"));
    if (!section.found()) return fail("Prosódia: especificações ausentes");
    std::string raw;
    while (section.next(raw)) {
        std::string line = verna_upper(raw);
        if (line.compare(0, 6, "HERTZ=") == 0) {
            if (!parse_int(verna_trim(line.substr(6)), g_prosody.hertz))
                return fail("Configuração da prosódia: HERTZ errado: ", raw);
            continue;
        }
        if (line.compare(0, 9, "TABHERTZ=") == 0) {
            if (!load_levels(line.substr(9), raw)) return false;
            continue;
        }
        size_t eq = line.find('=');
        if (eq == std::string::npos) return fail("Configuração da prosódia: chave errada: ", raw);
        if (static_cast<int>(g_prosody.rules.size()) == VERNA_MAX_INTONATION_RULES)
            return fail("Configuração da prosódia: regras demais: ", raw);
        VernaIntonationRule rule;
        rule.pattern = verna_trim(line.substr(eq + 1));
        if (!valid_pattern(rule.pattern)) return fail("Configuração da prosódia: padrão errado: ", raw);
        std::string keys = verna_trim(line.substr(0, eq));
        std::string* parts[3] = {&rule.previous, &rule.current, &rule.next};
        size_t start = 0;
        for (int i = 0; i < 3 && start <= keys.size(); ++i) {
            size_t bar = keys.find('|', start);
            size_t end = bar == std::string::npos ? keys.size() : bar;
            *parts[i] = verna_trim(keys.substr(start, end - start)).substr(0, 3);
            start = bar == std::string::npos ? keys.size() + 1 : bar + 1;
        }
        g_prosody.rules.push_back(std::move(rule));
    }
    return true;
}
// Durations, keys and rules emptied, HERTZ back to 230; the levels stay.
void clear_tables() {
    g_prosody.durations.clear();
    g_prosody.first_duration.clear();
    g_prosody.first_key.clear();
    g_prosody.keys.clear();
    g_prosody.rules.clear();
    g_prosody.hertz = VERNA_DEFAULT_HERTZ;
}
}  // namespace

bool verna_load_prosody_text(std::string_view text, const std::string&) {
    clear_tables();
    return load_durations(text) && load_keys(text) && load_intonation(text);
}

bool verna_load_prosody(const std::string& path) {
    std::string text;
    if (!verna_read_file(path, text)) {
        clear_tables();
        return fail("Configuração da prosódia não foi achada");
    }
    return verna_load_prosody_text(text, path);
}

bool verna_phoneme_duration(std::string_view phoneme, int& ms) {
    auto it = g_prosody.first_duration.find(duration_key(phoneme));
    if (it != g_prosody.first_duration.end()) {
        ms = it->second;
        return true;
    }
    ms = VERNA_DEFAULT_DURATION;
    return false;
}

std::string verna_word_key(std::string_view word) {
    auto it = g_prosody.first_key.find(verna_upper(word));
    return it == g_prosody.first_key.end() ? std::string() : g_prosody.keys[it->second].key;
}

int verna_base_pitch() { return g_prosody.hertz; }
int verna_pitch_level(int digit) { return digit >= 0 && digit <= 9 ? g_prosody.levels[digit] : 0; }
int verna_duration_count() { return static_cast<int>(g_prosody.durations.size()); }
int verna_word_key_count() { return static_cast<int>(g_prosody.keys.size()); }
int verna_intonation_rule_count() { return static_cast<int>(g_prosody.rules.size()); }
const VernaIntonationRule& verna_intonation_rule(int index) {
    static const VernaIntonationRule none;
    if (index < 0 || index >= verna_intonation_rule_count()) return none;
    return g_prosody.rules[index];
}
const std::vector<VernaIntonationRule>& verna_intonation_rules() { return g_prosody.rules; }
void verna_prosody_reset() { g_prosody = ProsodyState{}; }
