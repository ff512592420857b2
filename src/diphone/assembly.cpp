// From a phoneme string to units: reading groups, pauses for punctuation,
// splitting groups at clusters, final consonants, diphthongs and nasal
// vowels, naming the units, and the fallbacks for units the voice lacks.
#include <cstring>

#include "diphone/diphone.h"
#include "util/latin1.h"

namespace {

constexpr int DIPHONE_MAX_FALLBACK_DEPTH = 16;

struct DiphoneSpeaker {
    int stress_mode = 1;
    // When set, the unit player only lists the names it is asked for.
    std::vector<std::string>* requests = nullptr;
};

DiphoneSpeaker g_speaker;

bool is_cluster_consonant(char c) { return c != 0 && std::strchr("bcdfgjklmnpqrstvxz", c) != nullptr; }
bool is_glide(char c) { return c == 'w' || c == 'y'; }
bool is_vowel_or_glide(char c) { return c != 0 && std::strchr("AEIOUaeiouwy", c) != nullptr; }
bool is_vowel_mark(char c) { return c == '^' || c == '~'; }
bool is_stressed_vowel(char c) { return c != 0 && std::strchr("AEIOU", c) != nullptr; }

bool ends_with(const std::string& s, const char* tail) {
    size_t n = std::strlen(tail);
    return s.size() >= n && s.compare(s.size() - n, n, tail) == 0;
}

void silence_or_nothing(int32_t samples) {
    if (!g_speaker.requests) diphone_silence(samples);
}

void play_unit(const std::string& name, int mode, double factor, int depth);

void request_unit(const std::string& name, int mode, double factor) {
    if (g_speaker.requests) {
        g_speaker.requests->push_back(ascii_upper(name.substr(0, DIPHONE_MAX_NAME)));
        return;
    }
    play_unit(name, mode, factor, 0);
}

void play_unit(const std::string& raw, int mode, double factor, int depth) {
    if (depth > DIPHONE_MAX_FALLBACK_DEPTH || raw.empty()) return;
    std::string name = raw.substr(0, DIPHONE_MAX_NAME);
    bool found = name[0] == '_' ? diphone_play_letter(name) : diphone_play_stored_unit(name, mode, factor);
    if (found) return;
    size_t n = name.size();
    if (n <= 2) {
        diphone_noise();
        return;
    }
    char last = name[n - 1];
    if (is_vowel_or_glide(last)) {
        play_unit(name.substr(0, n - 1), mode, factor * 0.9, depth + 1);
        play_unit(std::string("$") + last, mode, factor, depth + 1);
    } else if (ends_with(name, "CIRC") && n > 6) {
        play_unit(name.substr(0, n - 5), mode, factor * 0.9, depth + 1);
        play_unit("$" + name.substr(n - 5), mode, factor, depth + 1);
    } else if (ends_with(name, "TIL")) {
        std::string rest = name.substr(0, n - 3);
        // A name that is only the nasal mark has nothing to nasalise.
        if (rest.empty()) {
            diphone_noise();
            return;
        }
        char r = rest.back();
        if (r == 'I' || r == 'i' || r == 'U' || r == 'u')
            play_unit(rest, mode, factor * 0.9, depth + 1);
        else
            play_unit(rest + "CIRC", 2, factor * 0.9, depth + 1);
        play_unit("$nn", 1, 0.9, depth + 1);
    }
}

void build_syllable(const std::string& whole, double factor) {
    std::string s = whole.substr(0, DIPHONE_MAX_NAME);
    if (s.empty()) return;
    if (s[0] == '_') {
        if (s.size() >= 2) request_unit("_" + std::to_string(static_cast<unsigned char>(s[1])), g_speaker.stress_mode, factor);
        return;
    }
    std::string unit = "$";
    bool set_stress = false;
    for (char c : s) {
        if (is_stressed_vowel(c)) {
            g_speaker.stress_mode = 2;
            set_stress = true;
            unit += c;
        } else if (c == '^') {
            request_unit(unit + "CIRC", g_speaker.stress_mode, factor);
            unit = "$";
        } else if (c == '~') {
            request_unit(unit + "TIL", g_speaker.stress_mode, factor);
            unit = "$";
        } else {
            unit += c;
        }
    }
    if (unit.size() > 1) request_unit(unit, g_speaker.stress_mode, factor);
    if (set_stress) g_speaker.stress_mode = 0;
}

void split_group(const std::string& s, double f) {
    size_t n = s.size();
    if (n == 0) return;
    if (n == 1) {
        build_syllable(s, f);
        return;
    }
    std::string head2 = s.substr(0, 2);
    char last = s[n - 1], before = s[n - 2];
    if (n > 2 && is_cluster_consonant(s[0]) && is_cluster_consonant(s[1]) && head2 != "dj" && head2 != "nh" &&
        head2 != "rr" && head2 != "ks" && s.compare(0, 3, "tch") != 0) {
        build_syllable(s.substr(0, 1), 1.0);
        split_group(s.substr(1), f);
    } else if (n > 2 && ends_with(s, "rr")) {
        split_group(s.substr(0, n - 2), f);
        build_syllable("rr", f);
    } else if (n > 2 && is_cluster_consonant(last)) {
        split_group(s.substr(0, n - 1), f);
        split_group(s.substr(n - 1), f);
    } else if (is_glide(last) && is_vowel_or_glide(before) && n > 2) {
        split_group(s.substr(0, n - 1), 0.6);
        build_syllable(s.substr(n - 2), f);
    } else if (is_glide(last) && is_vowel_mark(before) && n > 3) {
        split_group(before == '~' ? s.substr(0, n - 2) + "^" : s.substr(0, n - 1), 0.6);
        build_syllable(std::string{s[n - 3], s[n - 1], s[n - 2]}, f);
    } else if (is_glide(last) && is_vowel_mark(before) && n == 3) {
        build_syllable(std::string{s[0], s[2], s[1]}, f);
    } else if (s != "_s" && last == 's') {
        split_group(s.substr(0, n - 1), 0.7);
        build_syllable("s", f);
    } else {
        build_syllable(s, f);
    }
}

int32_t pause_for(char mark) {
    switch (mark) {
        case ',': return 4000;
        case '.': return 8000;
        case ';': return 6000;
        case ':': return 8000;
        default: return 0;
    }
}

// Reads one group starting at pos (0-based here) and advances pos past the
// character that ended it.
std::string read_group(const std::string& text, size_t& pos, bool punctuation_by_name) {
    if (pos < text.size() && text[pos] == '[') {
        g_speaker.stress_mode = 1;
        ++pos;
    }
    std::string group;
    bool ended = false;
    while (pos < text.size() && group.size() < DIPHONE_MAX_GROUP) {
        char c = text[pos];
        if (c == ' ' || c == ']') {
            ended = true;
            break;
        }
        if (c == '/') {
            if (group.size() > 8) {
                ended = true;
                break;
            }
            ++pos;
        } else if (c == '_') {
            group += c;
            ++pos;
            if (pos < text.size() && group.size() < DIPHONE_MAX_GROUP) group += text[pos++];
        } else {
            group += c;
            ++pos;
        }
    }
    if (ended) ++pos;
    if (!punctuation_by_name && group.size() == 2 && group[0] == '_' && pause_for(group[1]) > 0) {
        silence_or_nothing(pause_for(group[1]));
        group.clear();
    }
    return group;
}

void speak_string(const std::string& text, bool punctuation_by_name) {
    size_t pos = 0;
    g_speaker.stress_mode = 1;
    while (pos < text.size()) {
        size_t before = pos;
        std::string group = read_group(text, pos, punctuation_by_name);
        split_group(group, 1.0);
        if (pos < text.size() && pos > 0 && text[pos - 1] != ' ') silence_or_nothing(diphone_word_gap());
        if (pos == before) ++pos;  // never stall on a character no rule consumes
    }
}

}  // namespace

void diphone_play_unit(const std::string& name, int stress_mode, double factor) {
    play_unit(name, stress_mode, factor, 0);
}

void diphone_speak(const std::string& phonemes, bool punctuation_by_name) {
    if (!diphone_started()) return;
    diphone_clear_buffer();
    g_speaker.requests = nullptr;
    speak_string(phonemes, punctuation_by_name);
    diphone_flush();
}

std::vector<std::string> diphone_requested_units(const std::string& phonemes, bool punctuation_by_name) {
    std::vector<std::string> names;
    DiphoneSpeaker saved = g_speaker;
    g_speaker.requests = &names;
    speak_string(phonemes, punctuation_by_name);
    g_speaker = saved;
    return names;
}
