// Finding a place on the screen: asking for a search text, the search below
// the cursor, and going to a typed row and column.
#include "console/console.h"
#include "review/review.h"
#include "review/review_search.h"
#include "review/review_state.h"
#include "speech/speech.h"

namespace {
void two_beeps() {
    speech_beep_pattern();
    speech_beep_pattern();
}
}  // namespace

void review_search() {
    ReviewState& s = review_state();
    // The console cursor stands on the review cursor here (clamped to the
    // grid), and the match must begin after it.
    const int from_row = console_cursor_row();
    const int after = console_cursor_column();
    for (int r = from_row; r <= CONSOLE_MAX_ROWS; ++r) {
        int at = review_find_in_row(r, r == from_row ? after : 0, s.search_text);
        if (at > 0) {
            s.row = r;
            s.column = at;
            speech_click();
            return;
        }
    }
    two_beeps();
}

void review_ask_and_search() {
    ReviewState& s = review_state();
    speech_say("Qual texto");
    s.search_text.clear();
    for (;;) {
        uint8_t k = console_read_key();
        speech_silence();
        if (k == KEY_ESC) return;
        if (k == KEY_ENTER) break;
        if (k == 0) {
            // An extended key is no character of the text.
            console_read_key();
            continue;
        }
        if (k == KEY_BACKSPACE) {
            if (s.search_text.empty()) continue;
            speech_play_key("_DEL");
            speech_spell_char(static_cast<uint8_t>(s.search_text.back()));
            s.search_text.pop_back();
            continue;
        }
        if (s.search_text.size() < static_cast<size_t>(REVIEW_MAX_SEARCH)) s.search_text += static_cast<char>(k);
        speech_spell_char(k);
    }
    review_search();
}

void review_go_to() {
    ReviewState& s = review_state();
    speech_say("Entre linha e coluna");
    int digits[4];
    for (int& d : digits) {
        uint8_t k = console_read_key();
        speech_silence();
        if (k < '0' || k > '9') {
            // An extended key's code must not run as the next command.
            if (k == 0) console_read_key();
            two_beeps();
            return;
        }
        speech_spell_char(k);
        d = k - '0';
    }
    // The bounds step corrects 00 or a row beyond the screen.
    s.row = digits[0] * 10 + digits[1];
    s.column = digits[2] * 10 + digits[3];
}
