// MBROLA lines: durations, stress lengthening, long-word shortening, pitch
// points, and the diphone list with the repair of diphones the voice lacks.
#include "verna/mbrola_lines.h"

#include <algorithm>
#include <cmath>
#include <charconv>
#include <cstdint>
#include <cstdlib>
#include <unordered_map>

#include "verna/data_lines.h"
#include "verna/prosody.h"
#include "verna/rule_table.h"

namespace {

constexpr int VERNA_LONG_WORD = 13;                    // marker lengths above these shorten the word's start
constexpr int VERNA_MEDIUM_WORD = 9;

// The diphone list as pairs of phoneme numbers: every name of the list gets
// a number (upper case, so that lookups ignore case), and a diphone is the
// two numbers in one key. A name the list does not hold has no number, and
// no diphone then has it.
constexpr int VERNA_NO_PHONEME = -1;

struct DiphoneList {
    // Names of up to seven characters (every name a voice has) by their
    // packed form, longer ones by the upper-case string.
    std::unordered_map<uint64_t, int> short_names;
    std::unordered_map<std::string, int> long_names;
    int names = 0;
    std::vector<uint64_t> pairs;  // sorted
    // The same as a table of names x names when the names are few (a voice
    // has some forty): one look per phoneme line instead of a search.
    std::vector<bool> table;
    int lines = 0;
    // "_", "y", "r2", "z", "s2", "w"
    int pause = VERNA_NO_PHONEME, glide = VERNA_NO_PHONEME, final_r = VERNA_NO_PHONEME;
    int voiced_s = VERNA_NO_PHONEME, final_s = VERNA_NO_PHONEME, round_glide = VERNA_NO_PHONEME;
};

struct LinesState {
    DiphoneList list;
    // The repair's two names and their numbers in the list loaded now.
    std::string previous = "_";
    std::string current;
    int previous_number = VERNA_NO_PHONEME;
    int current_number = VERNA_NO_PHONEME;
};
LinesState g_lines;

bool name_char(unsigned char c) {
    return c == '2' || c == '@' || c == '_' || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

unsigned char upper_ascii(unsigned char c) { return c >= 'a' && c <= 'z' ? c - 32 : c; }

std::string upper_ascii(std::string_view s) {
    std::string u(s);
    for (char& c : u) c = char(upper_ascii(static_cast<unsigned char>(c)));
    return u;
}

constexpr size_t VERNA_PACKED_NAME = 7;

// The length in the top byte, the upper-case characters below it.
uint64_t packed_name(std::string_view name) {
    uint64_t key = 0;
    for (unsigned char c : name) key = key << 8 | upper_ascii(c);
    return uint64_t(name.size()) << 56 | key;
}

int phoneme_number(std::string_view name) {
    const DiphoneList& l = g_lines.list;
    if (name.size() <= VERNA_PACKED_NAME) {
        auto it = l.short_names.find(packed_name(name));
        return it == l.short_names.end() ? VERNA_NO_PHONEME : it->second;
    }
    auto it = l.long_names.find(upper_ascii(name));
    return it == l.long_names.end() ? VERNA_NO_PHONEME : it->second;
}

int add_phoneme(std::string_view name) {
    DiphoneList& l = g_lines.list;
    int number = name.size() <= VERNA_PACKED_NAME ? l.short_names.try_emplace(packed_name(name), l.names).first->second
                                                  : l.long_names.try_emplace(upper_ascii(name), l.names).first->second;
    if (number == l.names) ++l.names;  // a new name
    return number;
}

uint64_t pair_key(int first, int second) { return uint64_t(uint32_t(first)) << 32 | uint32_t(second); }

constexpr int VERNA_TABLE_NAMES = 1024;

bool has_pair(int first, int second) {
    if (first == VERNA_NO_PHONEME || second == VERNA_NO_PHONEME) return false;
    const DiphoneList& l = g_lines.list;
    if (!l.table.empty()) return l.table[size_t(first) * size_t(l.names) + size_t(second)];
    return std::binary_search(g_lines.list.pairs.begin(), g_lines.list.pairs.end(), pair_key(first, second));
}

// After a new list: the repair's names get their numbers in it.
void renumber_repair_phonemes() {
    g_lines.previous_number = phoneme_number(g_lines.previous);
    g_lines.current_number = phoneme_number(g_lines.current);
}

std::string_view trimmed(std::string_view s) {
    size_t b = 0, e = s.size();
    while (b < e && static_cast<unsigned char>(s[b]) <= ' ') ++b;
    while (e > b && static_cast<unsigned char>(s[e - 1]) <= ' ') --e;
    return s.substr(b, e - b);
}

// The diphone of a list line: the first run of name characters, one
// separator character and any non-name characters after it, the second run.
// Names hold no "-", so the pair of names is the same as "a-b" would be.
void add_diphone_of_line(std::string_view line) {
    size_t i = 0;
    while (i < line.size() && name_char(static_cast<unsigned char>(line[i]))) ++i;
    std::string_view first = line.substr(0, i);
    if (i < line.size()) ++i;
    while (i < line.size() && !name_char(static_cast<unsigned char>(line[i]))) ++i;
    size_t start = i;
    while (i < line.size() && name_char(static_cast<unsigned char>(line[i]))) ++i;
    int a = add_phoneme(first);
    g_lines.list.pairs.push_back(pair_key(a, add_phoneme(line.substr(start, i - start))));
}

// Round to the nearest integer, ties to even, then an integer division by 100.
// Values past the int range (from hostile prosody or factors) are held at its
// ends instead of overflowing the conversion.
int scaled(double value) {
    double r = std::nearbyint(value);
    if (!(r > -2147483648.0)) r = -2147483648.0;
    if (r > 2147483647.0) r = 2147483647.0;
    return int(r) / 100;
}

// The signed decimal at the start of a text; false when there is none.
bool leading_number(const std::string& text, int& value) {
    if (text.empty()) return false;
    char* end = nullptr;
    long v = std::strtol(text.c_str(), &end, 10);
    if (end == text.c_str() || *end != '\0') return false;
    value = int(v);
    return true;
}

int duration_of(std::string_view phoneme) {
    int ms = VERNA_DEFAULT_DURATION;
    if (!verna_phoneme_duration(phoneme, ms)) ms = VERNA_DEFAULT_DURATION;
    return ms;
}

// The numbers after a phoneme name (duration, pitch points), each after a
// blank, gathered before they join the line in one piece: the lines are made
// by the thousand for every text.
struct LineNumbers {
    char text[4 * 12];  // at most a duration and two pitch values with their blanks
    size_t size = 0;
    void add(int value) {
        text[size++] = ' ';
        size = size_t(std::to_chars(text + size, text + sizeof text, value).ptr - text);
    }
};

// The repair's names during one call: views into the phoneme list (or the
// state), kept as strings once the call ends.
struct RepairNames {
    std::string_view previous, current;
    int previous_number, current_number;

    static RepairNames of_state() {
        return {g_lines.previous, g_lines.current, g_lines.previous_number, g_lines.current_number};
    }
    void keep() const {
        std::string p(previous), c(current);  // the views may point into the state itself
        g_lines.previous = std::move(p);
        g_lines.current = std::move(c);
        g_lines.previous_number = previous_number;
        g_lines.current_number = current_number;
    }
};

// The names the voices give vowels and glides.
bool vowel_name(std::string_view name) {
    return !name.empty() && std::string_view("aeiouwy@").find(name[0]) != std::string_view::npos;
}

// The repair before a line: a filler when the voice lacks the diphone from
// the previous phoneme to the current one. The ts of pizza is joined by 10
// ms of pause, the t's closure, where the voice joins both to the pause: the
// glide would add a syllable, as it rightly does between other consonants
// (advogado, a-di-vogado).
void add_filler(const RepairNames& r, std::vector<std::string>& out) {
    if (r.current.empty() || has_pair(r.previous_number, r.current_number)) return;
    const int pause = g_lines.list.pause;
    if (r.previous == "t" && r.current == "s" && has_pair(r.previous_number, pause) &&
        has_pair(pause, r.current_number))
        out.emplace_back("_ 10");
    else if (r.previous == "r2" && has_pair(g_lines.list.final_r, pause))
        out.emplace_back("_ 50");
    else if (has_pair(r.previous_number, g_lines.list.glide))
        out.emplace_back("y 50");
    else
        out.emplace_back("_ 50");
}

// The repair after a line that is not empty: the current phoneme becomes
// the previous one.
void advance_repair(RepairNames& r) {
    if (r.current.empty()) return;
    r.previous = r.current;
    r.previous_number = r.current_number;
}

// The duration and the list number of the phoneme names of one call to
// verna_make_mbrola_lines, which asks for the same few names thousands of
// times; names of up to seven characters are kept (letter case counts for
// the duration), longer ones looked up each time.
class NameCache {
public:
    struct Entry {
        uint64_t key = 0;  // 0: free
        int duration = 0;
        int number = VERNA_NO_PHONEME;
    };
    const Entry& of(std::string_view name) {
        if (name.size() > VERNA_PACKED_NAME) {
            long_name_ = {0, duration_of(name), phoneme_number(name.substr(0, VERNA_MAX_PHONEME_NAME))};
            return long_name_;
        }
        uint64_t chars = 0;
        for (unsigned char c : name) chars = chars << 8 | c;
        const uint64_t key = uint64_t(name.size() + 1) << 56 | chars;  // never 0
        Entry& e = slots_[(key * 0x9E3779B97F4A7C15ull) >> (64 - SLOT_BITS)];
        if (e.key != key) e = {key, duration_of(name), phoneme_number(name)};
        return e;
    }

private:
    static constexpr int SLOT_BITS = 6;
    Entry slots_[1 << SLOT_BITS];
    Entry long_name_;
};

struct WordState {
    std::string pattern = "555";
    int stage = 0;  // 0 no point yet, 1 first point set, 2 at the stressed phoneme, 3 after it
    int percent = 100;
    int marker_length = 0;
    bool stressed_vowel = false;  // the stress mark stood on a vowel of this word
};

// How a z before a consonant (mesmo, desde, Israel) is said when the voice
// has no diphone between the two, as neither Brazilian voice has. A voice
// with the diphones z-_ and _-C (br3) says its z and a pause of 10 ms, heard
// as the closure of a stop. br1 lacks z-_ as well, and its z is a voiced
// murmur with hardly any hiss: cut by a pause it sounds like the vowel
// stopping, and any vowel after it is an extra syllable. It says its final s
// instead, cut to about half: the vowel voices its first 20 ms, and a hiss
// that short before a voiced consonant is heard as z, where the full s2 is
// heard as s.
enum class VoicedS { AsWritten, WithPause, AsShortS };
constexpr int VERNA_VOICED_S_PAUSE = 10;      // ms of pause after the z
constexpr int VERNA_SHORT_S_PERCENT = 55;     // of z's duration, for the s2 that stands in for it

VoicedS voiced_s_before(int next_number) {
    const DiphoneList& l = g_lines.list;
    if (next_number == VERNA_NO_PHONEME || has_pair(l.voiced_s, next_number)) return VoicedS::AsWritten;
    if (has_pair(l.voiced_s, l.pause) && has_pair(l.pause, next_number)) return VoicedS::WithPause;
    if (has_pair(l.final_s, next_number)) return VoicedS::AsShortS;
    return VoicedS::AsWritten;
}

// How a z after a pause (zebra, zero, zona at the start of a sentence) is
// said. br1's diphone from the pause to z is recorded almost silent: a faint
// hiss at a hundredth of the vowel's level, heard as "ebra", where its z
// between vowels is a voiced murmur a seventh of it. From 8 ms of the glide
// w, which br1 joins both to the pause and to z, its z is that murmur again,
// no louder than the z itself, too short to be heard as a vowel. br3's
// diphone is heard, and br3 has no diphone from the pause to w: it says its
// z as written.
constexpr int VERNA_Z_ONSET = 8;  // ms of the glide w before a z after a pause

bool z_needs_onset(int previous_number, int number) {
    const DiphoneList& l = g_lines.list;
    return number == l.voiced_s && number != VERNA_NO_PHONEME && previous_number == l.pause &&
           has_pair(l.pause, l.round_glide) && has_pair(l.round_glide, l.voiced_s);
}

void add_pitch_point(LineNumbers& numbers, const WordState& w, int digit_index, int position, double pitch_factor) {
    unsigned char c = static_cast<unsigned char>(w.pattern.size() > size_t(digit_index) ? w.pattern[digit_index] : 0);
    if (c < '0' || c > '9') return;
    int level = verna_pitch_level(c - '0');
    if (level == 0) return;
    numbers.add(position);
    numbers.add(scaled(double(level) * pitch_factor * double(verna_base_pitch())));
}

void add_pitch_points(LineNumbers& numbers, WordState& w, bool last_of_word, double pitch_factor) {
    switch (w.stage) {
        case 0: w.stage = 1; return add_pitch_point(numbers, w, 0, 50, pitch_factor);
        case 2: w.stage = 3; return add_pitch_point(numbers, w, 1, 80, pitch_factor);
        case 3: if (last_of_word) add_pitch_point(numbers, w, 2, 50, pitch_factor); return;
    }
}

}  // namespace

bool verna_load_diphones_text(const std::string& text) {
    verna_release_diphones();
    VernaLineCursor cursor{text};
    std::string_view raw;
    bool ok = true;
    while (cursor.next(raw)) {
        std::string_view line = trimmed(raw);
        if (line.empty() || line[0] == '!' || line[0] == '*' || line[0] == ';') continue;
        if (g_lines.list.lines >= VERNA_MAX_DIPHONES) {
            ok = false;
            break;
        }
        add_diphone_of_line(line);
        ++g_lines.list.lines;
    }
    DiphoneList& l = g_lines.list;
    std::sort(l.pairs.begin(), l.pairs.end());
    if (l.names <= VERNA_TABLE_NAMES) {
        l.table.assign(size_t(l.names) * size_t(l.names), false);
        for (uint64_t pair : l.pairs) l.table[size_t(pair >> 32) * size_t(l.names) + size_t(uint32_t(pair))] = true;
    }
    g_lines.list.pause = phoneme_number("_");
    g_lines.list.glide = phoneme_number("y");
    g_lines.list.final_r = phoneme_number("r2");
    g_lines.list.voiced_s = phoneme_number("z");
    g_lines.list.final_s = phoneme_number("s2");
    g_lines.list.round_glide = phoneme_number("w");
    renumber_repair_phonemes();
    return ok;
}

bool verna_load_diphones(const std::string& path) {
    std::string text;
    if (!verna_read_file(path, text)) {
        verna_release_diphones();
        return false;
    }
    return verna_load_diphones_text(text);
}

void verna_release_diphones() {
    g_lines.list = DiphoneList{};
    renumber_repair_phonemes();
}

int verna_diphone_count() { return g_lines.list.lines; }

bool verna_has_diphone(const std::string& first, const std::string& second) {
    return has_pair(phoneme_number(first), phoneme_number(second));
}

void verna_repair_diphone(std::string line, std::vector<std::string>& out) {
    RepairNames r = RepairNames::of_state();
    add_filler(r, out);
    if (!line.empty()) advance_repair(r);
    r.keep();
    out.push_back(std::move(line));
}

std::vector<std::string> verna_make_mbrola_lines(const std::vector<std::string>& phonemes, double duration_factor,
                                                 double pitch_factor) {
    std::vector<std::string> out;
    out.reserve(phonemes.size() + phonemes.size() / 4);
    WordState w;
    NameCache names;
    RepairNames r = RepairNames::of_state();
    r.previous = "_";
    r.previous_number = g_lines.list.pause;
    // Each line is written where it stays, in `out`, after its filler.
    for (size_t i = 0; i < phonemes.size(); ++i) {
        std::string_view in = phonemes[i];
        bool last_of_word = i + 1 == phonemes.size() || phonemes[i + 1].empty();
        if (in.size() >= 5 && in[0] == ';' && in[4] == '|') {
            w.pattern.assign(in.substr(1, 3));
            w.marker_length = int(in.size() - 4);
            w.stage = 0;
            w.stressed_vowel = false;
            add_filler(r, out);
            out.emplace_back().append(1, ';').append(in.substr(5));
            advance_repair(r);
            continue;
        }
        if (in.empty()) {
            w.percent = 100;
            r.current = {};
            r.current_number = VERNA_NO_PHONEME;
            out.emplace_back();
            continue;
        }
        if (in[0] == '>') {
            w.percent = VERNA_STRESS_PERCENT;
            in.remove_prefix(1);
            if (!in.empty() && static_cast<unsigned char>(in[0]) == VERNA_END_STRESS_MARK) in.remove_prefix(1);
            w.stage = 2;
            w.stressed_vowel = vowel_name(in);
        } else if (static_cast<unsigned char>(in[0]) == VERNA_END_STRESS_MARK) {
            in.remove_prefix(1);
            w.percent = 100;
        } else if (w.stressed_vowel && vowel_name(in)) {
            // A vowel after the stressed one is the next syllable (dia, rua,
            // boa): it is not lengthened, even where no consonant between
            // them ended the stretch.
            w.percent = 100;
        }
        int duration;
        bool pause_after = false;
        if (!in.empty() && in[0] == '_') {
            // A bare pause lasts 100; "_ N" as written; "_," and the like as
            // the table says. All reach MBROLA as "_".
            if (in.size() == 1) {
                duration = 100;
            } else if (in[1] == ' ') {
                if (!leading_number(std::string(trimmed(in.substr(2))), duration)) duration = VERNA_DEFAULT_DURATION;
            } else {
                duration = duration_of(in);
            }
            in = in.substr(0, 1);
            r.current_number = g_lines.list.pause;
        } else {
            const NameCache::Entry& name = names.of(in);
            duration = name.duration;
            r.current_number = name.number;
            if (w.stage < 2) {
                if (w.marker_length > VERNA_LONG_WORD)
                    duration = duration * 80 / 100;
                else if (w.marker_length > VERNA_MEDIUM_WORD)
                    duration = duration * 90 / 100;
            }
            if (r.current_number == g_lines.list.voiced_s && i + 1 < phonemes.size()) {
                std::string_view next = std::string_view(phonemes[i + 1]).substr(verna_phoneme_marks(phonemes[i + 1]));
                if (!next.empty() && !vowel_name(next) && next[0] != '_' && next[0] != ';') {
                    switch (voiced_s_before(phoneme_number(next.substr(0, VERNA_MAX_PHONEME_NAME)))) {
                        case VoicedS::AsWritten: break;
                        case VoicedS::WithPause: pause_after = true; break;
                        case VoicedS::AsShortS:
                            in = "s2";
                            r.current_number = g_lines.list.final_s;
                            duration = duration * VERNA_SHORT_S_PERCENT / 100;
                            break;
                    }
                }
            }
        }
        r.current = in.substr(0, VERNA_MAX_PHONEME_NAME);
        if (z_needs_onset(r.previous_number, r.current_number)) {
            LineNumbers onset;
            onset.add(scaled(double(VERNA_Z_ONSET) * 100.0 * duration_factor));
            out.emplace_back("w").append(onset.text, onset.size);
            r.previous = "w";
            r.previous_number = g_lines.list.round_glide;
        }
        LineNumbers numbers;
        numbers.add(scaled(double(duration) * double(w.percent) * duration_factor));
        add_pitch_points(numbers, w, last_of_word, pitch_factor);
        add_filler(r, out);
        std::string& line = out.emplace_back();
        line.reserve(in.size() + numbers.size);
        line.append(in).append(numbers.text, numbers.size);
        advance_repair(r);
        if (pause_after) {
            r.current = "_";
            r.current_number = g_lines.list.pause;
            LineNumbers pause;
            pause.add(scaled(double(VERNA_VOICED_S_PAUSE) * 100.0 * duration_factor));
            out.emplace_back("_").append(pause.text, pause.size);
            advance_repair(r);
        }
    }
    r.keep();
    return out;
}

void verna_set_repair_phonemes(const std::string& previous, const std::string& current) {
    g_lines.previous = previous;
    g_lines.current = current;
    renumber_repair_phonemes();
}

void verna_mbrola_lines_reset() {
    g_lines = LinesState{};
}
