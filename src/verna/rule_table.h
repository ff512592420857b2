// The loaded letter-to-phoneme rules, bucketed by the first letter of their
// group, for the converter.
#pragma once

#include <string>
#include <string_view>
#include <vector>

// The mark a rule's output puts before a phoneme to end a stressed stretch
// (">" before one starts it).
constexpr unsigned char VERNA_END_STRESS_MARK = 0xA8;

// How many stress marks stand before the phoneme name of a line.
inline size_t verna_phoneme_marks(std::string_view line) {
    size_t marks = 0;
    while (marks < line.size() &&
           (line[marks] == '>' || static_cast<unsigned char>(line[marks]) == VERNA_END_STRESS_MARK))
        ++marks;
    return marks;
}

struct VernaRule {
    std::string left;    // read right to left from the letter before the group
    std::string group;   // the letters consumed; never empty
    std::string right;   // read left to right from the letter after the group
    std::string output;  // phoneme names joined by "&"
};

// The rules whose group starts with `letter`, in file order.
const std::vector<VernaRule>& verna_rule_bucket(unsigned char letter);
