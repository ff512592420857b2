// What the rule loader hands to the converter: the rule lists and the
// exceptions lookup. Only the rules_*.cpp files include this.
#pragma once

#include "diphone/rules.h"

struct RuleRecord {
    char left[RULES_MAX_LEFT + 1];
    char match[RULES_MAX_MATCH + 1];
    char right[RULES_MAX_RIGHT + 1];
    char output[RULES_MAX_OUTPUT + 1];
    unsigned char left_len, match_len, right_len;
    int next;  // index of the next rule of the same list, -1 at the end
};

// First rule of the list of character code c (32..95), or nullptr.
const RuleRecord* rules_first(unsigned char c);
const RuleRecord* rules_next(const RuleRecord* r);
// The table the lists link into, so that a list can be walked without a
// call per rule: the rule after r is rules_records()[r->next].
const RuleRecord* rules_records();
// The rules of c's list that can fit where `next` is the word character
// after c (upper-cased; nullptr at the end of the word), in file order, as
// indices into rules_records(). Every rule left out cannot fit there.
const short* rules_candidates(unsigned char c, const unsigned char* next, int& count);
// The replacement of an exact key, or nullptr.
const char* rules_find_exception(const char* word, int len);
