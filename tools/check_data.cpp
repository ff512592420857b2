// Loads one data source (UTF-8, as under data/) with the loader the program
// uses on its Latin-1 form and fails, naming the file and line, when that
// loader refuses it or reports a line it cannot use: the build runs it on
// every rule, exception, abbreviation, prosody and diphone-list file it
// installs.
#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "diphone/rules.h"
#include "util/latin1.h"
#include "verna/abbreviations.h"
#include "verna/letter_rules.h"
#include "verna/mbrola_lines.h"
#include "verna/message.h"
#include "verna/prosody.h"

namespace {
std::vector<std::string> g_shown;
void record(const std::string& text) { g_shown.push_back(text); }

// The line of `text` that a prosody message quotes at its end ("...: LINE"),
// 0 when none does.
int quoted_line(const std::string& text, const std::string& message) {
    size_t colon = message.rfind(": ");
    if (colon == std::string::npos) return 0;
    std::string quoted = message.substr(colon + 2);
    std::istringstream in(text);
    std::string line;
    for (int number = 1; std::getline(in, line); ++number) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line == quoted) return number;
    }
    return 0;
}

// The loader's verdict: "" when the file is clean, else "file:line: what"
// in UTF-8.
std::string check(const std::string& kind, const std::string& text, const std::string& name) {
    if (kind == "rgr") {
        bool ok = rules_load_text(text, name);
        if (!ok || !rules_last_message().empty())
            return rules_last_message().empty() ? name + ": refused" : rules_last_message();
        if (rules_rule_count() == 0) return name + ": no rules";
        return "";
    }
    if (kind == "own-exc") {
        bool ok = rules_load_exceptions_text(text, name);
        return !ok || !rules_last_message().empty() ? rules_last_message() : "";
    }
    if (kind == "nrl") {
        verna_load_rules_text(text, name);
        return verna_rules_message();
    }
    if (kind == "exc") {
        verna_load_exceptions_text(text, name);
        return verna_exceptions_message();
    }
    if (kind == "abr") {
        verna_load_abbreviations_text(text, name);
        return verna_abbreviations_message();
    }
    if (kind == "pro") {
        verna_set_message_recorder(record);
        bool ok = verna_load_prosody_text(text, name);
        verna_set_message_recorder(nullptr);
        if (ok && g_shown.empty()) return "";
        std::string message = g_shown.empty() ? "refused" : utf8(g_shown.front());
        int line = g_shown.empty() ? 0 : quoted_line(text, g_shown.front());
        return name + (line > 0 ? ":" + std::to_string(line) : std::string()) + ": " + message;
    }
    if (kind == "dfn") {
        if (!verna_load_diphones_text(text)) return name + ": more diphones than the engine holds";
        if (verna_diphone_count() == 0) return name + ": no diphones";
        return "";
    }
    return "unknown kind " + kind;
}
}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: check_data rgr|own-exc|nrl|exc|abr|pro|dfn FILE\n");
        return 2;
    }
    std::ifstream in(argv[2], std::ios::binary);
    if (!in) {
        std::fprintf(stderr, "%s: cannot be read\n", argv[2]);
        return 1;
    }
    std::stringstream s;
    s << in.rdbuf();
    std::string verdict = check(argv[1], latin1(s.str()), argv[2]);
    if (verdict.empty()) return 0;
    std::fprintf(stderr, "%s\n", verdict.c_str());
    return 1;
}
