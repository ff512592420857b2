// The loaded letter-to-phoneme rules, bucketed by the first letter of their
// group, for the converter.
#pragma once

#include <string>
#include <vector>

struct VernaRule {
    std::string left;    // read right to left from the letter before the group
    std::string group;   // the letters consumed; never empty
    std::string right;   // read left to right from the letter after the group
    std::string output;  // phoneme names joined by "&"
};

// The rules whose group starts with `letter`, in file order.
const std::vector<VernaRule>& verna_rule_bucket(unsigned char letter);
