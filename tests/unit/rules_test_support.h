// Loads the project's own rule file and exceptions (UTF-8 sources in data/)
// into the rule engine, as the installation build converts them.
#pragma once

#include <fstream>
#include <sstream>
#include <string>

#include "diphone/rules.h"
#include "util/latin1.h"

inline std::string rules_test_read_source(const char* name) {
    std::ifstream in(std::string(FUGA_SOURCE_DIR) + "/data/" + name, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return latin1(s.str());
}

// False (with the loader's message in `why`) when either file is refused
// or notes a line.
inline bool rules_test_load_project_data(std::string& why) {
    rules_reset();
    bool ok = rules_load_text(rules_test_read_source("regras.rgr"), "regras.rgr");
    why = rules_last_message();
    if (!ok || !why.empty()) return false;
    ok = rules_load_exceptions_text(rules_test_read_source("portug.exc"), "portug.exc");
    why = rules_last_message();
    return ok && why.empty();
}
