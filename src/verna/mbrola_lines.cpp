// MBROLA lines: durations, stress lengthening, long-word shortening, pitch
// points, and the diphone list with the repair of diphones the voice lacks.
#include "verna/mbrola_lines.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "verna/data_lines.h"
#include "verna/prosody.h"

namespace {

constexpr unsigned char VERNA_END_STRESS_MARK = 0xA8;  // the rule output's mark that ends a stressed stretch
constexpr int VERNA_LONG_WORD = 13;                    // marker lengths above these shorten the word's start
constexpr int VERNA_MEDIUM_WORD = 9;

struct LinesState {
    std::vector<std::string> diphones;  // upper case, sorted
    std::string previous = "_";
    std::string current;
};
LinesState g_lines;

bool name_char(unsigned char c) {
    return c == '2' || c == '@' || c == '_' || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

std::string upper_ascii(std::string s) {
    for (char& c : s)
        if (c >= 'a' && c <= 'z') c = char(c - 32);
    return s;
}

std::string trim(std::string_view s) {
    size_t b = 0, e = s.size();
    while (b < e && static_cast<unsigned char>(s[b]) <= ' ') ++b;
    while (e > b && static_cast<unsigned char>(s[e - 1]) <= ' ') --e;
    return std::string(s.substr(b, e - b));
}

// "a-b" from a list line: the first run of name characters, one separator
// character and any non-name characters after it, the second run.
std::string diphone_of_line(const std::string& line) {
    size_t i = 0;
    while (i < line.size() && name_char(static_cast<unsigned char>(line[i]))) ++i;
    std::string first = line.substr(0, i);
    if (i < line.size()) ++i;
    while (i < line.size() && !name_char(static_cast<unsigned char>(line[i]))) ++i;
    size_t start = i;
    while (i < line.size() && name_char(static_cast<unsigned char>(line[i]))) ++i;
    return first + "-" + line.substr(start, i - start);
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

int duration_of(const std::string& phoneme) {
    int ms = VERNA_DEFAULT_DURATION;
    if (!verna_phoneme_duration(phoneme, ms)) ms = VERNA_DEFAULT_DURATION;
    return ms;
}

struct WordState {
    std::string pattern = "555";
    int stage = 0;  // 0 no point yet, 1 first point set, 2 at the stressed phoneme, 3 after it
    int percent = 100;
    int marker_length = 0;
};

std::string pitch_point(const WordState& w, int digit_index, int position, double pitch_factor) {
    unsigned char c = static_cast<unsigned char>(w.pattern.size() > size_t(digit_index) ? w.pattern[digit_index] : 0);
    if (c < '0' || c > '9') return "";
    int level = verna_pitch_level(c - '0');
    if (level == 0) return "";
    int hz = scaled(double(level) * pitch_factor * double(verna_base_pitch()));
    return std::to_string(position) + " " + std::to_string(hz);
}

std::string pitch_points(WordState& w, bool last_of_word, double pitch_factor) {
    switch (w.stage) {
        case 0: w.stage = 1; return pitch_point(w, 0, 50, pitch_factor);
        case 2: w.stage = 3; return pitch_point(w, 1, 80, pitch_factor);
        case 3: return last_of_word ? pitch_point(w, 2, 50, pitch_factor) : "";
    }
    return "";
}

}  // namespace

bool verna_load_diphones_text(const std::string& text) {
    verna_release_diphones();
    VernaLineCursor cursor{text};
    std::string_view raw;
    bool ok = true;
    while (cursor.next(raw)) {
        std::string line = trim(raw);
        if (line.empty() || line[0] == '!' || line[0] == '*' || line[0] == ';') continue;
        if (int(g_lines.diphones.size()) >= VERNA_MAX_DIPHONES) {
            ok = false;
            break;
        }
        g_lines.diphones.push_back(upper_ascii(diphone_of_line(line)));
    }
    std::sort(g_lines.diphones.begin(), g_lines.diphones.end());
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

void verna_release_diphones() { g_lines.diphones.clear(); }

int verna_diphone_count() { return int(g_lines.diphones.size()); }

bool verna_has_diphone(const std::string& first, const std::string& second) {
    return std::binary_search(g_lines.diphones.begin(), g_lines.diphones.end(), upper_ascii(first + "-" + second));
}

void verna_repair_diphone(const std::string& line, std::vector<std::string>& out) {
    if (!g_lines.current.empty()) {
        const std::string& prev = g_lines.previous;
        if (!verna_has_diphone(prev, g_lines.current)) {
            if (prev == "r2" && verna_has_diphone("r2", "_"))
                out.push_back("_ 50");
            else if (verna_has_diphone(prev, "y"))
                out.push_back("y 50");
            else
                out.push_back("_ 50");
        }
        if (!line.empty()) g_lines.previous = g_lines.current;
    }
    out.push_back(line);
}

std::vector<std::string> verna_make_mbrola_lines(const std::vector<std::string>& phonemes, double duration_factor,
                                                 double pitch_factor) {
    std::vector<std::string> out;
    out.reserve(phonemes.size() + phonemes.size() / 4);
    WordState w;
    g_lines.previous = "_";
    for (size_t i = 0; i < phonemes.size(); ++i) {
        std::string line = phonemes[i];
        bool last_of_word = i + 1 == phonemes.size() || phonemes[i + 1].empty();
        if (line.size() >= 5 && line[0] == ';' && line[4] == '|') {
            w.pattern = line.substr(1, 3);
            line = ";" + line.substr(5);
            w.marker_length = int(line.size());
            w.stage = 0;
        } else if (line.empty()) {
            w.percent = 100;
            g_lines.current.clear();
        } else {
            if (line[0] == '>') {
                w.percent = VERNA_STRESS_PERCENT;
                line.erase(0, 1);
                if (!line.empty() && static_cast<unsigned char>(line[0]) == VERNA_END_STRESS_MARK) line.erase(0, 1);
                w.stage = 2;
            } else if (static_cast<unsigned char>(line[0]) == VERNA_END_STRESS_MARK) {
                line.erase(0, 1);
                w.percent = 100;
            }
            int duration;
            if (!line.empty() && line[0] == '_') {
                if (line == "_") line = "_ 100";
                if (line.size() > 1 && line[1] == ' ') {
                    if (!leading_number(trim(std::string_view(line).substr(2)), duration))
                        duration = VERNA_DEFAULT_DURATION;
                } else {
                    duration = duration_of(line);
                }
                line = "_";
            } else {
                duration = duration_of(line);
                if (w.stage < 2) {
                    if (w.marker_length > VERNA_LONG_WORD)
                        duration = duration * 80 / 100;
                    else if (w.marker_length > VERNA_MEDIUM_WORD)
                        duration = duration * 90 / 100;
                }
            }
            g_lines.current = line.substr(0, VERNA_MAX_PHONEME_NAME);
            line += " " + std::to_string(scaled(double(duration) * double(w.percent) * duration_factor));
            std::string points = pitch_points(w, last_of_word, pitch_factor);
            if (!points.empty()) line += " " + points;
        }
        verna_repair_diphone(line, out);
    }
    return out;
}

void verna_set_repair_phonemes(const std::string& previous, const std::string& current) {
    g_lines.previous = previous;
    g_lines.current = current;
}

void verna_mbrola_lines_reset() {
    g_lines = LinesState{};
}
