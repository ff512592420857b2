// The rule engine's tables: the 64 rule lists and the exceptions, and the
// loaders of their files.
#include "diphone/rules_tables.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace {

// The candidates of a list are grouped by the character after the rule's
// first letter: the 26 letters, the five accent marks, the end of the word
// and anything else.
constexpr int BUCKETS = 33;
constexpr int BUCKET_END = 31;
constexpr int BUCKET_OTHER = 32;

// A key holds a whole line and the bar that closes a line without "=".
constexpr int EXCEPTION_TEXT = RULES_MAX_EXCEPTION_LINE + 1;

struct ExceptionEntry {
    char key[EXCEPTION_TEXT + 1];
    char replacement[EXCEPTION_TEXT + 1];
    int line;
};

struct RulesState {
    RuleRecord rules[RULES_MAX_RULES];
    int rule_count = 0;
    int head[RULES_MAX_LISTS];
    int tail[RULES_MAX_LISTS];
    // Per list and bucket, the rules that can fit there, in file order:
    // candidates[start[l][b] .. start[l][b + 1]). Rebuilt when the rules change.
    int start[RULES_MAX_LISTS][BUCKETS + 1];
    short candidates[RULES_MAX_RULES * BUCKETS];
    bool index_stale = true;
    ExceptionEntry exceptions[RULES_MAX_EXCEPTIONS];
    // Sorted order of the entries; the entries themselves stay where read.
    int order[RULES_MAX_EXCEPTIONS];
    int exception_count = 0;
    std::string message;

    // No rules before the first load: every list ends at once.
    RulesState() {
        for (int i = 0; i < RULES_MAX_LISTS; ++i) head[i] = tail[i] = -1;
    }
};

RulesState g_rules;

void clear_lists() {
    g_rules.rule_count = 0;
    g_rules.index_stale = true;
    for (int i = 0; i < RULES_MAX_LISTS; ++i) g_rules.head[i] = g_rules.tail[i] = -1;
}

// Hands out the lines of a file or of a text in memory, each cut to the
// caller's capacity; `cut` tells that characters were dropped.
struct LineReader {
    FILE* file = nullptr;
    std::string_view text;
    size_t pos = 0;
    int number = 0;

    int get() {
        if (file) return std::fgetc(file);
        if (pos >= text.size()) return EOF;
        return static_cast<unsigned char>(text[pos++]);
    }

    // False at the end of the input. A final line without a line end counts.
    bool next(char* buf, int cap, int& len, bool& cut) {
        len = 0;
        cut = false;
        int c = get();
        if (c == EOF) return false;
        ++number;
        while (c != EOF && c != '\n') {
            if (len < cap)
                buf[len++] = static_cast<char>(c);
            else
                cut = true;
            c = get();
        }
        if (len > 0 && buf[len - 1] == '\r') --len;
        buf[len] = '\0';
        return true;
    }
};

void note(const std::string& name, int line, const char* what) {
    if (!g_rules.message.empty()) return;
    g_rules.message = name + ":" + std::to_string(line) + ": " + what;
}

// Copies line[from, to) cut to cap characters; returns the length kept.
unsigned char copy_part(char* dst, int cap, const char* line, int from, int to) {
    int n = std::min(to - from, cap);
    if (n < 0) n = 0;
    std::memcpy(dst, line + from, static_cast<size_t>(n));
    dst[n] = '\0';
    return static_cast<unsigned char>(n);
}

int find_from(const char* line, int len, int from, char c) {
    for (int i = from; i < len; ++i)
        if (line[i] == c) return i;
    return -1;
}

// Parses one line: left "(" match ")" right "=" output "|".
enum class LineResult { Comment, Stored, Skipped, Full };

LineResult parse_rule_line(const char* line, int len, const std::string& name, int number) {
    int open = find_from(line, len, 0, '(');
    if (open < 0) return LineResult::Comment;
    RuleRecord r{};
    r.left_len = copy_part(r.left, RULES_MAX_LEFT, line, 0, open);
    int close = find_from(line, len, open + 1, ')');
    r.match_len = copy_part(r.match, RULES_MAX_MATCH, line, open + 1, close < 0 ? len : close);
    if (close >= 0) {
        int eq = find_from(line, len, close + 1, '=');
        r.right_len = copy_part(r.right, RULES_MAX_RIGHT, line, close + 1, eq < 0 ? len : eq);
        if (eq >= 0) {
            int bar = find_from(line, len, eq + 1, '|');
            copy_part(r.output, RULES_MAX_OUTPUT, line, eq + 1, bar < 0 ? len : bar);
        }
    }
    if (r.match_len == 0) {
        note(name, number, "rule skipped: nothing between the brackets");
        return LineResult::Skipped;
    }
    unsigned char first = static_cast<unsigned char>(r.match[0]);
    if (first < 32 || first > 95) {
        note(name, number, "rule skipped: its match must begin with a character from 32 to 95");
        return LineResult::Skipped;
    }
    for (int i = 0; i < r.match_len; ++i)
        if (r.match[i] >= 'a' && r.match[i] <= 'z') note(name, number, "rule never fits: lower-case letter in its match");
    if (g_rules.rule_count >= RULES_MAX_RULES) return LineResult::Full;
    int index = g_rules.rule_count++;
    g_rules.index_stale = true;
    r.next = -1;
    g_rules.rules[index] = r;
    int list = first - 32;
    if (g_rules.tail[list] < 0)
        g_rules.head[list] = index;
    else
        g_rules.rules[g_rules.tail[list]].next = index;
    g_rules.tail[list] = index;
    return LineResult::Stored;
}

int bucket_of_letter(unsigned char c) {
    if (c >= 'A' && c <= 'Z') return c - 'A';
    const char* marks = "\"'^`~";
    const char* m = c ? std::strchr(marks, c) : nullptr;
    return m ? 26 + static_cast<int>(m - marks) : BUCKET_OTHER;
}

// Whether a rule can fit when the word character after its first letter
// falls in bucket b: what the rest of its match, or else the first symbol
// of its right context, asks of that character.
bool rule_fits_bucket(const RuleRecord& r, int b) {
    bool letter = b < 26, end = b == BUCKET_END;
    bool vowel = letter && std::strchr("AEIOU", 'A' + b);
    if (r.match_len >= 2) return b == bucket_of_letter(static_cast<unsigned char>(r.match[1]));
    if (r.right_len == 0) return true;
    unsigned char sym = static_cast<unsigned char>(r.right[0]);
    switch (sym) {
    case '#': return vowel || (b >= 26 && b < BUCKET_END);
    case '%': return end;
    case '*': return letter && !vowel && b != 'R' - 'A' && b != 'L' - 'A';
    case '+': return b == 'E' - 'A' || b == 'I' - 'A';
    case '[': return end || (letter && !vowel && b != 'H' - 'A');
    case '\\': return true;
    case '&': return letter && std::strchr("LMNRZ", 'A' + b);
    default: return b == bucket_of_letter(sym);
    }
}

void build_index() {
    int n = 0;
    for (int l = 0; l < RULES_MAX_LISTS; ++l)
        for (int b = 0; b < BUCKETS; ++b) {
            g_rules.start[l][b] = n;
            for (int i = g_rules.head[l]; i >= 0; i = g_rules.rules[i].next)
                if (rule_fits_bucket(g_rules.rules[i], b)) g_rules.candidates[n++] = static_cast<short>(i);
        }
    for (int l = 0; l < RULES_MAX_LISTS; ++l) g_rules.start[l][BUCKETS] = n;
    // The first bucket of the next list closes each list's last one.
    for (int l = 0; l + 1 < RULES_MAX_LISTS; ++l) g_rules.start[l][BUCKETS] = g_rules.start[l + 1][0];
    g_rules.index_stale = false;
}

bool load_rules(LineReader& in, const std::string& name) {
    char line[RULES_MAX_RULE_LINE + 1];
    int len;
    bool cut;
    while (in.next(line, RULES_MAX_RULE_LINE, len, cut)) {
        if (parse_rule_line(line, len, name, in.number) == LineResult::Full) {
            clear_lists();
            g_rules.message.clear();
            note(name, in.number, "too many rules");
            return false;
        }
    }
    return true;
}

int compare_keys(int a, int b) {
    return std::strcmp(g_rules.exceptions[a].key, g_rules.exceptions[b].key);
}

void sort_exceptions(const std::string& name) {
    for (int i = 0; i < g_rules.exception_count; ++i) g_rules.order[i] = i;
    // Stable, so that of two equal keys the one read first is found.
    std::stable_sort(g_rules.order, g_rules.order + g_rules.exception_count,
                     [](int a, int b) { return compare_keys(a, b) < 0; });
    for (int i = 1; i < g_rules.exception_count; ++i)
        if (compare_keys(g_rules.order[i - 1], g_rules.order[i]) == 0) {
            note(name, g_rules.exceptions[g_rules.order[i]].line, "the same key twice; the first is used");
            break;
        }
}

bool load_exceptions(LineReader& in, const std::string& name) {
    // Room for the "|=|" that closes the key and the replacement.
    char line[RULES_MAX_EXCEPTION_LINE + 4];
    int len;
    bool cut;
    while (g_rules.exception_count < RULES_MAX_EXCEPTIONS && in.next(line, RULES_MAX_EXCEPTION_LINE, len, cut)) {
        if (len == 0) continue;
        // Half a line would make an entry that nobody wrote.
        if (cut) {
            note(name, in.number, "line longer than 255 characters skipped");
            continue;
        }
        std::memcpy(line + len, "|=|", 4);
        len += 3;
        int eq = find_from(line, len, 0, '=');
        int bar = find_from(line, len, eq + 1, '|');
        ExceptionEntry& e = g_rules.exceptions[g_rules.exception_count++];
        copy_part(e.key, EXCEPTION_TEXT, line, 0, eq);
        copy_part(e.replacement, EXCEPTION_TEXT, line, eq + 1, bar);
        e.line = in.number;
    }
    if (g_rules.exception_count == RULES_MAX_EXCEPTIONS) {
        char probe[2];
        int plen;
        bool pcut;
        while (in.next(probe, 1, plen, pcut))
            if (plen > 0 || pcut) {
                note(name, in.number, "more than 15000 entries; the rest is ignored");
                break;
            }
    }
    sort_exceptions(name);
    return true;
}

}  // namespace

bool rules_load(const std::string& path) {
    rules_reset();
    FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) {
        note(path, 0, "cannot be opened");
        return false;
    }
    LineReader in;
    in.file = f;
    bool ok = load_rules(in, path);
    // A directory opens but cannot be read: that is no empty rule file.
    if (ok && std::ferror(f)) {
        rules_reset();
        note(path, in.number, "cannot be read");
        ok = false;
    }
    std::fclose(f);
    return ok;
}

bool rules_load_text(std::string_view text, const std::string& name) {
    rules_reset();
    LineReader in;
    in.text = text;
    return load_rules(in, name);
}

bool rules_load_exceptions(const std::string& path) {
    g_rules.message.clear();
    FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) {
        note(path, 0, "cannot be opened");
        return false;
    }
    LineReader in;
    in.file = f;
    int before = g_rules.exception_count;
    bool ok = load_exceptions(in, path);
    if (std::ferror(f)) {
        g_rules.message.clear();
        note(path, in.number, "cannot be read");
        g_rules.exception_count = before;
        sort_exceptions(path);
        ok = false;
    }
    std::fclose(f);
    return ok;
}

bool rules_load_exceptions_text(std::string_view text, const std::string& name) {
    g_rules.message.clear();
    LineReader in;
    in.text = text;
    return load_exceptions(in, name);
}

void rules_free() { clear_lists(); }

void rules_reset() {
    clear_lists();
    g_rules.exception_count = 0;
    g_rules.message.clear();
}

const std::string& rules_last_message() { return g_rules.message; }
int rules_rule_count() { return g_rules.rule_count; }
int rules_exception_count() { return g_rules.exception_count; }

const RuleRecord* rules_first(unsigned char c) {
    if (c < 32 || c > 95) return nullptr;
    int i = g_rules.head[c - 32];
    return i < 0 ? nullptr : &g_rules.rules[i];
}

const RuleRecord* rules_next(const RuleRecord* r) { return r->next < 0 ? nullptr : &g_rules.rules[r->next]; }

const RuleRecord* rules_records() { return g_rules.rules; }

const short* rules_candidates(unsigned char c, const unsigned char* next, int& count) {
    count = 0;
    if (c < 32 || c > 95) return nullptr;
    if (g_rules.index_stale) build_index();
    int b = next ? bucket_of_letter(*next) : BUCKET_END;
    const int* st = g_rules.start[c - 32];
    count = st[b + 1] - st[b];
    return g_rules.candidates + st[b];
}

const char* rules_find_exception(const char* word, int len) {
    char key[RULES_MAX_WORD + 1];
    len = std::min(len, RULES_MAX_WORD);
    std::memcpy(key, word, static_cast<size_t>(len));
    key[len] = '\0';
    int low = 0, high = g_rules.exception_count - 1;
    while (low <= high) {
        int mid = (low + high) / 2;
        const ExceptionEntry& e = g_rules.exceptions[g_rules.order[mid]];
        int c = std::strcmp(key, e.key);
        if (c == 0) {
            // The first of equal keys, as sorted.
            while (mid > 0 && std::strcmp(key, g_rules.exceptions[g_rules.order[mid - 1]].key) == 0) --mid;
            return g_rules.exceptions[g_rules.order[mid]].replacement;
        }
        if (c < 0)
            high = mid - 1;
        else
            low = mid + 1;
    }
    return nullptr;
}
