// Reading the screen aloud: the word at the review cursor and ranges of rows,
// through the front end's own reader or the external synthesizer.
#include "console/console.h"
#include "console/key_cut.h"
#include "review/review.h"
#include "review/review_state.h"
#include "speech/speech.h"

namespace {
// A run of one character is spoken as at most this many.
constexpr size_t REVIEW_MAX_RUN = 3;

bool all_consonants(const std::string& word) {
    for (char c : word) {
        if (!review_is_consonant(static_cast<uint8_t>(c))) return false;
    }
    return true;
}

std::string row_part(int row, int from, int to) {
    std::string text;
    for (int c = from; c <= to; ++c) text += static_cast<char>(review_char_at(row, c));
    return text;
}
}  // namespace

void review_read_word() {
    ReviewState& s = review_state();
    const int row = s.row;
    while (s.column < REVIEW_COLUMNS && review_char_at(row, s.column) == ' ') s.column++;
    // A character alone in the last column is not read as a word.
    if (s.column >= REVIEW_COLUMNS) return;
    std::string word;
    do {
        console_move_cursor(s.column, row);
        word += static_cast<char>(review_char_at(row, s.column));
        s.column++;
    } while (s.column <= REVIEW_COLUMNS && review_is_word_char(review_char_at(row, s.column)));
    if (word.size() == 1) {
        const char mark = word[0];
        while (s.column <= REVIEW_COLUMNS && static_cast<char>(review_char_at(row, s.column)) == mark) {
            s.column++;
            word += mark;
            if (word.size() > REVIEW_MAX_RUN) word.erase(2, 1);
        }
        speech_say(word);
    } else if (all_consonants(word)) {
        speech_spell(word);
    } else {
        speech_say(word);
    }
}

void review_read_range(int start_row, int start_column, int end_row, int end_column, bool returns) {
    ReviewState& s = review_state();
    if (start_row == end_row && end_column < start_column) {
        speech_beep_pattern();
        return;
    }
    const int kept_row = s.row, kept_column = s.column;
    s.column = start_column;
    for (int r = start_row; r <= end_row; ++r) {
        s.row = r;
        const int last = r == end_row ? end_column : REVIEW_COLUMNS;
        if (speech_external_active()) {
            // The synthesizer gets the row as it stands, blanks included.
            if (s.column <= last) speech_say(row_part(r, s.column, last));
        } else if (s.column <= last) {
            do {
                const int before = s.column;
                review_read_word();
                // Nothing is read at the last column; step over it so that
                // a lone character there cannot hold the reading forever.
                if (s.column == before) s.column++;
                while (s.column <= last && review_char_at(r, s.column) == ' ') s.column++;
            } while (s.column <= last && !key_cut_should_stop());
        }
        if (key_cut_should_stop()) break;
        s.column = 1;
        speech_click();
    }
    speech_busy();
    if (end_column >= REVIEW_COLUMNS) review_end_of_line();
    if (returns) {
        s.row = kept_row;
        s.column = kept_column;
    }
}
