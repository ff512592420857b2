// Prints the phoneme string of each text (arguments, or lines of standard
// input) as the own synthesizer's rule engine makes it; texts are UTF-8.
#include <cstdio>
#include <iostream>
#include <string>

#include "diphone/rules.h"
#include "util/latin1.h"

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: rules_phonemes regras.rgr portug.exc [TEXT...]\n"
                             "       without TEXT, each line of standard input is converted\n");
        return 2;
    }
    if (!rules_load(argv[1]) || !rules_last_message().empty())
        std::fprintf(stderr, "%s\n", rules_last_message().c_str());
    if (rules_rule_count() == 0) return 1;
    if (!rules_load_exceptions(argv[2]) || !rules_last_message().empty())
        std::fprintf(stderr, "%s\n", rules_last_message().c_str());
    auto show = [](const std::string& text) {
        std::printf("%s\n", utf8(rules_text_to_phonemes(latin1(text))).c_str());
    };
    if (argc > 3) {
        for (int i = 3; i < argc; ++i) show(argv[i]);
    } else {
        std::string line;
        while (std::getline(std::cin, line)) show(line);
    }
    return 0;
}
