// The line editor's text operations without sound: word moves, the word
// under the cursor, copy and paste.
#include "speech/line_editor_words.h"
#include "util/latin1.h"

#include <algorithm>
#include <cstring>

namespace {

// The character at a 1-based position; a blank outside the text.
unsigned char at(const std::string& text, int position) {
    if (position < 1 || position > static_cast<int>(text.size())) return ' ';
    return static_cast<unsigned char>(text[position - 1]);
}

bool is_digit(unsigned char c) { return c >= '0' && c <= '9'; }

// Letters of a word: ASCII letters and every byte from 128 on (accented
// letters of the code page).
bool is_letter(unsigned char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c >= 128; }

unsigned char upper(unsigned char c) { return latin1_upper(c); }

bool only_blanks_from(const std::string& text, int position) {
    for (int p = std::max(position, 1); p <= static_cast<int>(text.size()); ++p)
        if (at(text, p) != ' ') return false;
    return true;
}

bool is_stripped(unsigned char c) { return c != 0 && std::strchr("()*-.<=>[]_{}\"", c) != nullptr; }

}  // namespace

int editor_last_nonblank(const std::string& text) {
    int n = static_cast<int>(text.size());
    while (n > 0 && text[n - 1] == ' ') --n;
    return n;
}

std::string editor_trim(const std::string& text) { return text.substr(0, editor_last_nonblank(text)); }

EditorMove editor_word_right(const std::string& text, int position) {
    int length = static_cast<int>(text.size());
    int p = position;
    if (p <= length && at(text, p) != ' ') {
        if (is_digit(at(text, p))) {
            while (p <= length && is_digit(at(text, p))) ++p;
        } else {
            ++p;
            while (p <= length && is_letter(at(text, p))) ++p;
        }
    }
    while (p <= length && at(text, p) == ' ') ++p;
    if (only_blanks_from(text, p)) return {editor_last_nonblank(text) + 1, true};
    return {p, false};
}

EditorMove editor_word_left(const std::string& text, int position) {
    int q = std::min(position, static_cast<int>(text.size()) + 1) - 1;
    while (q >= 1 && at(text, q) == ' ') --q;
    if (position <= 1 || q < 1) return {1, true};
    if (is_digit(at(text, q))) {
        while (q > 1 && is_digit(at(text, q - 1))) --q;
    } else {
        while (q > 1 && is_letter(at(text, q - 1))) --q;
    }
    return {q, false};
}

EditorWordDelete editor_word_delete(const std::string& text, int position) {
    EditorWordDelete d{};
    int p = position;
    if (p > 1 && at(text, p - 1) != ' ') {
        d.moves[d.move_count++] = editor_word_left(text, p);
        p = d.moves[d.move_count - 1].position;
    }
    int a = p;
    d.moves[d.move_count++] = editor_word_right(text, a);
    int b = d.moves[d.move_count - 1].position;
    // The move back is heard, but the deletion starts where the word does:
    // from a blank run the word left would overshoot to the previous word.
    d.moves[d.move_count++] = editor_word_left(text, b);
    d.start = a;
    d.count = std::max(0, std::min(b, static_cast<int>(text.size()) + 1) - a);
    return d;
}

EditorWord editor_word_at(const std::string& text, int position) {
    int length = static_cast<int>(text.size());
    int p = std::max(position, 1);
    while (p <= length && at(text, p) == ' ') ++p;
    if (p > length) return {EditorWordKind::End, "", position};
    unsigned char c = at(text, p);
    int start = p;
    if (is_digit(c) || c == '-') {
        ++p;
        while (p <= length && is_digit(at(text, p))) ++p;
        return {EditorWordKind::Say, text.substr(start - 1, p - start), p};
    }
    auto word_letter = [](unsigned char ch) {
        unsigned char u = upper(ch);
        return (u >= 'A' && u <= 'Z') || ch >= 128;
    };
    if (word_letter(c)) {
        bool has_vowel = false;
        while (p <= length && word_letter(at(text, p))) {
            unsigned char u = upper(at(text, p));
            if (std::strchr("BCDFGHJKLMNPQRSTVXZ", u) == nullptr) has_vowel = true;
            ++p;
        }
        return {has_vowel ? EditorWordKind::Say : EditorWordKind::Spell, text.substr(start - 1, p - start), p};
    }
    return {EditorWordKind::Spell, std::string(1, static_cast<char>(c)), p + 1};
}

std::string editor_open_target(const std::string& text, int position) {
    int length = static_cast<int>(text.size());
    int p = std::clamp(position, 1, length + 1);
    int start = p;
    while (start > 1 && at(text, start - 1) != ' ') --start;
    int end = p;  // one past the last character
    while (end <= length && at(text, end) != ' ') ++end;
    // The dots of a relative path ("./jogo.exe", "../notas.txt") belong to
    // it; marks before them are still stripped.
    auto path_dots = [&](int from) {
        int k = from;
        while (k < end && at(text, k) == '.') ++k;
        return k > from && k < end && at(text, k) == '/';
    };
    while (start < end && is_stripped(at(text, start)) && !path_dots(start)) ++start;
    while (end > start && is_stripped(at(text, end - 1))) --end;
    if (end <= start) return "";
    return text.substr(start - 1, end - start);
}

std::string editor_copy_text(const std::string& text, int selection_start, int selection_end) {
    if (selection_start > 0 && selection_end > 0 && selection_start != selection_end) {
        int limit = static_cast<int>(text.size()) + 1;
        int a = std::min(std::min(selection_start, selection_end), limit);
        int b = std::min(std::max(selection_start, selection_end), limit);
        return text.substr(a - 1, b - a);
    }
    return editor_trim(text) + "\r\n";
}

std::string editor_first_line(const std::string& clip) { return clip.substr(0, clip.find_first_of("\r\n")); }

EditorPaste editor_paste(const std::string& text, int position, int selection_start, int selection_end,
                         const std::string& clip) {
    int length = static_cast<int>(text.size());
    int a, b;
    if (selection_start > 0) {
        // A selection still being marked has no end yet: nothing is replaced.
        int end = selection_end > 0 ? selection_end : selection_start;
        a = std::min(selection_start, end);
        b = std::max(selection_start, end);
    } else {
        a = b = position;
    }
    a = std::clamp(a, 1, length + 1);
    b = std::clamp(b, a, length + 1);
    std::string joined = text.substr(0, a - 1) + clip + text.substr(b - 1);
    joined.resize(length, ' ');
    int end = std::min(a + static_cast<int>(clip.size()), length + 1);
    return {joined, a, a, end};
}
