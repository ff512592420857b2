// The review's state, shared by its own files; not for other modules.
#pragma once

#include <string>

struct ReviewState {
    int row = 1;
    int column = 1;
    int return_row = 1;
    int return_column = 1;
    int field_start = 0;
    int field_end = 0;
    // Kept for the whole run of the program, so that searching again works
    // also the next time the mode is entered.
    std::string search_text;
};

ReviewState& review_state();
