// The rules file of the engine: 224 buckets of rules in file order.
#include "verna/rule_table.h"

#include <algorithm>
#include <array>

#include "verna/data_lines.h"
#include "verna/letter_rules.h"

namespace {
struct RuleTableState {
    std::array<std::vector<VernaRule>, VERNA_RULE_BUCKETS> buckets;
    int count = 0;
    std::string message;
};
RuleTableState g_table;

// The text of `line` from `pos` up to `delimiter` (or the end), cut to `keep`
// characters (`cut` is then set); pos moves past the delimiter. False when
// there is none: the field took the rest of the line.
bool field(std::string_view line, size_t& pos, char delimiter, size_t keep, std::string& out, bool& cut) {
    size_t end = line.find(delimiter, pos);
    bool found = end != std::string_view::npos;
    if (!found) end = line.size();
    cut = cut || end - pos > keep;
    out.assign(line.substr(pos, std::min(end - pos, keep)));
    pos = found ? end + 1 : end;
    return found;
}

bool blank_line(std::string_view line) {
    for (char c : line)
        if (c != ' ' && c != '\t') return false;
    return true;
}

// Rule files are text: a control character in a line means some other kind of file.
bool has_control_character(std::string_view line) {
    for (char c : line)
        if (static_cast<unsigned char>(c) < 32 && c != '\t') return true;
    return false;
}

void note(const std::string& name, int line, const std::string& what) {
    if (g_table.message.empty()) g_table.message = name + ":" + std::to_string(line) + ": " + what;
}
}  // namespace

const std::vector<VernaRule>& verna_rule_bucket(unsigned char letter) {
    static const std::vector<VernaRule> none;
    if (letter < 32) return none;
    return g_table.buckets[letter - 32];
}

void verna_release_rules() {
    for (auto& b : g_table.buckets) std::vector<VernaRule>().swap(b);
    g_table.count = 0;
}

void verna_letter_rules_reset() {
    verna_release_rules();
    g_table.message.clear();
    verna_clear_exceptions();
}

int verna_rule_count() { return g_table.count; }
const std::string& verna_rules_message() { return g_table.message; }

bool verna_load_rules_text(std::string_view text, const std::string& name) {
    verna_release_rules();
    g_table.message.clear();
    VernaLineCursor lines{text};
    std::string_view line;
    while (lines.next(line)) {
        if (!line.empty() && line[0] == ';') continue;
        if (blank_line(line)) continue;
        size_t pos = 0;
        VernaRule rule;
        // A line that is not left(letters)right=output is not a damaged rule
        // to guess at: the whole file is refused (a file of anything else
        // would otherwise load as no rules and leave the engine mute).
        bool cut = false;
        bool complete = field(line, pos, '(', VERNA_MAX_CONTEXT, rule.left, cut) &&
                        field(line, pos, ')', VERNA_MAX_GROUP, rule.group, cut) &&
                        field(line, pos, '=', VERNA_MAX_CONTEXT, rule.right, cut);
        if (!complete || has_control_character(line)) {
            verna_release_rules();
            g_table.message = name + ":" + std::to_string(lines.number) + ": not a rule (left(letters)right=phonemes)";
            return false;
        }
        field(line, pos, '|', VERNA_MAX_RULE_OUTPUT, rule.output, cut);
        // A rule cut to the lengths the engine holds says something else than
        // was written (a context cut from SQUE\% to SQUE\ fits any word with
        // SQUE in it): it stays, as it always has, but is named, and the
        // build's check of the data refuses the file.
        if (cut) note(name, lines.number, "rule longer than the engine holds cut");
        if (rule.group.empty()) {
            // It could never consume a letter.
            note(name, lines.number, "rule without letters skipped");
            continue;
        }
        unsigned char first = static_cast<unsigned char>(rule.group[0]);
        if (first < 32) {
            // A tab: no bucket holds it, and words never contain one.
            note(name, lines.number, "rule for a control character skipped");
            continue;
        }
        if (g_table.count == VERNA_MAX_RULES) {
            g_table.message = name + ":" + std::to_string(lines.number) + ": more than " +
                              std::to_string(VERNA_MAX_RULES) + " rules";
            return false;
        }
        g_table.buckets[first - 32].push_back(std::move(rule));
        ++g_table.count;
    }
    if (g_table.count == 0) {
        g_table.message = name + ": no rules";
        return false;
    }
    return true;
}

bool verna_load_rules(const std::string& path) {
    std::string text;
    if (!verna_read_file(path, text)) {
        verna_release_rules();
        g_table.message = path + ": cannot be read";
        return false;
    }
    return verna_load_rules_text(text, path);
}
