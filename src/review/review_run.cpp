// The review mode's key loop: each key's command, the two-letter reading
// commands and the bounds step that keeps the cursor on the screen.
#include "console/console.h"
#include "console/key_cut.h"
#include "review/review.h"
#include "review/review_search.h"
#include "review/review_state.h"
#include "speech/speech.h"

namespace {
// Keys the console has no name for.
constexpr uint8_t KEY_CTRL_C = 3;
constexpr uint8_t KEY_CTRL_K = 11;
constexpr uint8_t KEY_CTRL_L = 12;
constexpr uint8_t KEY_SPACE = 32;
constexpr uint8_t KEY_F5 = KEY_F1 + 4;
constexpr uint8_t KEY_F6 = KEY_F1 + 5;
constexpr uint8_t KEY_CTRL_F5 = KEY_CTRL_F1 + 4;
// The extended code of the previous-field command; the console never queues
// it (Shift+Tab reaches the program as Tab with Shift held), but a key queued
// by another input path may carry it.
constexpr uint8_t KEY_SHIFT_TAB = 15;

const int ROWS = CONSOLE_MAX_ROWS;

void error_signal() {
    speech_beep_pattern();
    speech_click();
    speech_beep_pattern();
}

void sound(ReviewSound s) {
    if (s == ReviewSound::Click) speech_click();
    else if (s == ReviewSound::Beep) speech_beep_pattern();
}

void read_line() {
    ReviewState& s = review_state();
    review_read_range(s.row, 1, s.row, REVIEW_COLUMNS, true);
}

void read_field() {
    ReviewState& s = review_state();
    review_field_bounds();
    review_read_range(s.row, s.field_start, s.row, s.field_end, true);
}

uint8_t upper(uint8_t c) { return c >= 'a' && c <= 'z' ? static_cast<uint8_t>(c - 32) : c; }

// "I" reads up to the cursor, "T" all, "F" from the cursor; the second letter
// picks the screen ("T"), the line ("L") or the field ("C").
void two_letter_command(uint8_t first) {
    ReviewState& s = review_state();
    uint8_t what = upper(first);
    if (what == 'L') what = 'T';
    if (what != 'F' && what != 'I' && what != 'T') {
        error_signal();
        return;
    }
    uint8_t second = console_read_key();
    // An extended key's code is no letter: it must not run as the next command.
    if (second == 0) console_read_key();
    uint8_t where = upper(second);
    if (where != 'C' && where != 'L' && where != 'T') {
        error_signal();
        return;
    }
    if (where == 'C') review_field_bounds();
    const int row = s.row, column = s.column;
    switch (where) {
        case 'T':
            if (what == 'I') review_read_range(1, 1, row, column - 1, false);
            else if (what == 'T') review_read_range(1, 1, ROWS, REVIEW_COLUMNS, false);
            else review_read_range(row, column, ROWS, REVIEW_COLUMNS, false);
            break;
        case 'L':
            if (what == 'I') review_read_range(row, 1, row, column - 1, true);
            else if (what == 'T') review_read_range(row, 1, row, REVIEW_COLUMNS, true);
            else review_read_range(row, column, row, REVIEW_COLUMNS, true);
            break;
        default:
            if (what == 'I') review_read_range(row, s.field_start, row, column, true);
            else if (what == 'T') review_read_range(row, s.field_start, row, s.field_end, true);
            else review_read_range(row, column, row, s.field_end, true);
            break;
    }
}

void character_left() {
    ReviewState& s = review_state();
    if (s.column < 2) speech_beep_pattern();
    else speech_spell_char(review_char_at(s.row, s.column - 1));
    s.column--;
}

void character_right() {
    ReviewState& s = review_state();
    if (s.column > REVIEW_COLUMNS + 1) speech_beep_pattern();
    else speech_spell_char(review_char_at(s.row, s.column));
    s.column++;
}

void next_field() {
    ReviewState& s = review_state();
    review_field_bounds();
    s.column = s.field_end + 2;
    if (s.column <= REVIEW_COLUMNS) speech_click();
    else review_end_of_line();
}

void previous_field() {
    ReviewState& s = review_state();
    review_field_bounds();
    // The bounds step catches a column below 1.
    s.column = s.field_start - 2;
    speech_click();
}

void say_position() {
    const ReviewState& s = review_state();
    speech_say(std::to_string(s.row) + " " + std::to_string(s.column));
}

void read_word_key() {
    ReviewState& s = review_state();
    if (!(speech_external_active() && key_cut_should_stop())) review_read_word();
    if (s.column > REVIEW_COLUMNS - 1) {
        speech_click();
        review_end_of_line();
    }
}

void go_to_letter(bool first) {
    ReviewState& s = review_state();
    if (first) review_first_letter(s.row, s.column);
    else review_last_letter(s.row, s.column);
    read_line();
}

void ordinary_command(uint8_t k, bool shift) {
    ReviewState& s = review_state();
    switch (k) {
        case KEY_ENTER:
            s.row++;
            s.column = 1;
            speech_click();
            break;
        case KEY_SPACE: read_line(); break;
        case KEY_BACKSPACE: character_left(); break;
        // Shift+Tab reaches the program as Tab with Shift held.
        case KEY_TAB: shift ? previous_field() : next_field(); break;
        case KEY_CTRL_C: console_copy_to_clipboard(review_screen_text()); break;
        case KEY_CTRL_K:
        case KEY_CTRL_L: say_position(); break;
        default:
            if ((k >= 'A' && k <= 'Z') || (k >= 'a' && k <= 'z')) two_letter_command(k);
            else error_signal();
            break;
    }
}

void extended_command(uint8_t code) {
    ReviewState& s = review_state();
    switch (code) {
        case KEY_F1: read_word_key(); break;
        case KEY_F5: review_ask_and_search(); break;
        case KEY_F6: review_go_to(); break;
        case KEY_HOME: s.column = 1; break;
        case KEY_UP:
            s.row--;
            s.column = 1;
            if (s.row < 1) {
                speech_beep_pattern();
                s.row = 1;
            } else {
                read_line();
            }
            break;
        case KEY_PAGE_UP:
            s.row = 1;
            s.column = 1;
            read_line();
            break;
        case KEY_LEFT: character_left(); break;
        case KEY_RIGHT: character_right(); break;
        case KEY_END: review_end_of_line(); break;
        case KEY_DOWN:
            s.row++;
            s.column = 1;
            speech_click();
            if (s.row > ROWS) {
                speech_beep_pattern();
                s.row = ROWS;
            } else {
                read_line();
            }
            break;
        case KEY_PAGE_DOWN:
            s.row = ROWS;
            s.column = 1;
            read_line();
            break;
        case KEY_CTRL_F1: read_field(); break;
        case KEY_CTRL_F5: review_search(); break;
        case KEY_CTRL_LEFT: {
            ReviewMove m = review_previous_word(s.row, s.column);
            s.column = m.column;
            sound(m.sound);
            break;
        }
        case KEY_CTRL_RIGHT: {
            ReviewMove m = review_next_word(s.row, s.column);
            s.column = m.column;
            sound(m.sound);
            break;
        }
        case KEY_CTRL_PAGE_DOWN: go_to_letter(false); break;
        case KEY_CTRL_PAGE_UP: go_to_letter(true); break;
        case KEY_SHIFT_TAB: previous_field(); break;
        default: error_signal(); break;
    }
}

// Each edge crossed beeps and drops the keys typed ahead.
void bounds_step() {
    ReviewState& s = review_state();
    int crossed = review_clamp(s.row, s.column, ROWS);
    for (int i = 0; i < crossed; ++i) {
        speech_beep_pattern();
        console_discard_keys();
    }
}
}  // namespace

void review_run() {
    ReviewState& s = review_state();
    speech_beep_pattern();
    s.row = s.return_row = console_cursor_row();
    s.column = s.return_column = console_cursor_column();
    for (;;) {
        console_move_cursor(s.column, s.row);
        uint8_t k = console_read_key();
        bool shift = console_shift_held();
        // A key always cuts what is still being spoken.
        speech_silence();
        if (k == KEY_ESC) break;
        if (k == 0) extended_command(console_read_key());
        else ordinary_command(k, shift);
        bounds_step();
    }
    speech_beep_pattern();
    speech_beep_pattern();
    console_move_cursor(s.return_column, s.return_row);
}
