// Makes the Portuguese engine's diphone list for an installed MBROLA voice.
// The voices ship no such list, so MBROLA itself is asked: every ordered pair
// of the phonemes the rules can produce (and the pause "_" and the filler
// "y") is spoken once in one run, and the pairs MBROLA reports as unknown are
// left out.
//
//   verna_dfn VOICE OUTPUT [--rules RULES_FILE]... [PHONEME]...
//
// Exit code 0 when the list was written, 1 on bad arguments, 2 when MBROLA
// or the voice cannot be used (the message says which).
#include <algorithm>
#include <cstdio>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "platform/os.h"

namespace {

bool name_char(unsigned char c) {
    return c == '2' || c == '@' || c == '_' || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

// The phoneme names of the output fields of a rules file: after ")" and "=",
// up to "|", names separated by "&", the marks ">" and the end-of-stress mark
// (in either encoding) dropped.
void rule_phonemes(const std::string& path, std::set<std::string>& names) {
    std::ifstream in(path, std::ios::binary);
    std::string line;
    while (std::getline(in, line)) {
        if (line.empty() || line[0] == ';') continue;
        size_t close = line.find(')');
        if (close == std::string::npos) continue;
        size_t eq = line.find('=', close);
        if (eq == std::string::npos) continue;
        std::string output = line.substr(eq + 1, line.find('|', eq) - eq - 1);
        std::string name;
        for (size_t i = 0; i <= output.size(); ++i) {
            unsigned char c = i < output.size() ? static_cast<unsigned char>(output[i]) : '&';
            if (name_char(c)) {
                name += char(c);
            } else if (c == '&' || c == ' ' || c == '\t' || c == '\r') {
                if (!name.empty()) names.insert(name);
                name.clear();
            }
        }
    }
}

// One MBROLA run over every ordered pair; returns the pairs it called unknown.
bool unknown_pairs(const std::string& voice, const std::vector<std::string>& names, std::set<std::string>& unknown,
                   std::string& message) {
    std::string input = "_ 50\n";
    for (const std::string& a : names) {
        for (const std::string& b : names) {
            input += a + " 20 50 120\n";
            input += b + " 20 50 120\n";
        }
    }
    input += "_ 50\n";
    const char* argv[] = {"mbrola", "-e", voice.c_str(), "-", "-", nullptr};
    OsChild child;
    if (!os_child_start(argv, child)) {
        message = "the mbrola program cannot be started (is the Debian package mbrola installed?)";
        return false;
    }
    std::string out, err;
    size_t written = 0;
    for (;;) {
        OsChildIo r = os_child_exchange(child, input.data(), input.size(), written, out, err, 200);
        if (written == input.size()) os_child_close_input(child);
        if (r == OsChildIo::Ended || r == OsChildIo::Failed) break;
        out.clear();  // the sound itself is not wanted
    }
    int code = os_child_finish(child, false);
    std::istringstream lines(err);
    std::string line;
    while (std::getline(lines, line)) {
        // "Warning: a-b unknown, replaced with _-_"
        const std::string head = "Warning: ";
        size_t end = line.find(" unknown");
        if (line.compare(0, head.size(), head) == 0 && end != std::string::npos)
            unknown.insert(line.substr(head.size(), end - head.size()));
        else if (line.find("rror") != std::string::npos && message.empty())
            message = line;
    }
    if (code != 0) {
        if (message.empty()) message = "mbrola ended with code " + std::to_string(code);
        return false;
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: verna_dfn VOICE OUTPUT [--rules RULES_FILE]... [PHONEME]...\n");
        return 1;
    }
    std::string voice = argv[1], output = argv[2];
    std::set<std::string> names{"_", "y"};
    for (int i = 3; i < argc; ++i) {
        std::string a = argv[i];
        if (a == "--rules" && i + 1 < argc) {
            std::string path = argv[++i];
            if (!os_file_exists(path)) {
                std::fprintf(stderr, "verna_dfn: rules file %s not found\n", path.c_str());
                return 1;
            }
            rule_phonemes(path, names);
        } else {
            names.insert(a);
        }
    }
    if (!os_file_exists(voice)) {
        std::fprintf(stderr, "verna_dfn: the MBROLA voice %s is not installed\n", voice.c_str());
        return 2;
    }
    std::vector<std::string> list(names.begin(), names.end());
    std::set<std::string> unknown;
    std::string message;
    if (!unknown_pairs(voice, list, unknown, message)) {
        std::fprintf(stderr, "verna_dfn: %s: %s\n", voice.c_str(), message.c_str());
        return 2;
    }
    std::vector<std::string> known;
    for (const std::string& a : list)
        for (const std::string& b : list)
            if (!unknown.count(a + "-" + b)) known.push_back(a + "-" + b);
    std::sort(known.begin(), known.end());
    std::ofstream out(output, std::ios::binary);
    out << "; Diphones of the MBROLA voice " << voice << ", as MBROLA reports them for " << list.size()
        << " phonemes\n";
    for (const std::string& d : known) out << d << "\n";
    out.close();
    if (!out) {
        std::fprintf(stderr, "verna_dfn: %s cannot be written\n", output.c_str());
        return 2;
    }
    std::fprintf(stderr, "verna_dfn: %zu of %zu diphones of %s\n", known.size(), list.size() * list.size(),
                 voice.c_str());
    return 0;
}
