// The grid as the review sees it: character classes, fields, word moves, the
// row's end, the first and last letter, the bounds and the copied screen.
#include <algorithm>

#include "console/console.h"
#include "review/review.h"
#include "review/review_state.h"

namespace {
ReviewState g_review;

bool is_blank(int row, int column) { return review_char_at(row, column) == ' '; }

bool is_ascii_letter(uint8_t c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

bool in_field(int row, int column, uint8_t attribute) {
    return review_attribute_at(row, column) == attribute && !review_is_field_separator(review_char_at(row, column));
}
}  // namespace

ReviewState& review_state() { return g_review; }

void review_reset() { g_review = ReviewState{}; }

int review_row() { return g_review.row; }
int review_column() { return g_review.column; }
void review_set_position(int row, int column) {
    g_review.row = row;
    g_review.column = column;
}
int review_field_start() { return g_review.field_start; }
int review_field_end() { return g_review.field_end; }
const std::string& review_search_text() { return g_review.search_text; }
void review_set_search_text(const std::string& text) { g_review.search_text = text.substr(0, REVIEW_MAX_SEARCH); }

uint8_t review_char_at(int row, int column) {
    if (row < 1 || row > CONSOLE_MAX_ROWS || column < 1 || column > REVIEW_COLUMNS) return ' ';
    return console_char_at(column, row);
}

uint8_t review_attribute_at(int row, int column) {
    if (row < 1 || row > CONSOLE_MAX_ROWS || column < 1 || column > REVIEW_COLUMNS) return 0;
    return console_attribute_at(column, row);
}

bool review_is_word_char(uint8_t c) {
    if (is_ascii_letter(c) || (c >= '0' && c <= '9')) return true;
    // À Á Â Ã Ç É Ê Í Ñ Ó Ô Õ Ú and their small forms (32 above).
    static const uint8_t accented[] = {0xC0, 0xC1, 0xC2, 0xC3, 0xC7, 0xC9, 0xCA,
                                       0xCD, 0xD1, 0xD3, 0xD4, 0xD5, 0xDA};
    for (uint8_t a : accented) {
        if (c == a || c == a + 32) return true;
    }
    return false;
}

bool review_is_consonant(uint8_t c) {
    if (c >= 'a' && c <= 'z') c = static_cast<uint8_t>(c - 32);
    if (c < 'A' || c > 'Z') return false;
    return c != 'A' && c != 'E' && c != 'I' && c != 'O' && c != 'U';
}

bool review_is_field_separator(uint8_t c) {
    if (c == '!' || c == ':' || c == '?' || c == '|') return true;
    // The block of box-drawing codes of the old text screens; in Latin-1 it
    // holds the capital accented letters, and a word letter never ends a
    // field (a field "ÉPOCA" is read whole).
    return c >= 176 && c <= 223 && !review_is_word_char(c);
}

ReviewField review_field_at(int row, int column) {
    uint8_t a = review_attribute_at(row, column);
    int start = column;
    while (start >= 1 && in_field(row, start, a)) start--;
    int end = column;
    while (end <= REVIEW_COLUMNS && in_field(row, end, a)) end++;
    return {start + 1, end - 1};
}

int review_end_of_line_column(int row) {
    for (int c = REVIEW_COLUMNS; c >= 1; --c) {
        if (!is_blank(row, c)) return c + 1;
    }
    return 1;
}

ReviewMove review_previous_word(int row, int column) {
    int c = column - 1;
    while (c > 0 && is_blank(row, c)) c--;
    if (c <= 0) return {1, ReviewSound::Beep};
    while (c > 0 && !is_blank(row, c)) c--;
    return {c + 1, c > 0 ? ReviewSound::Click : ReviewSound::Beep};
}

ReviewMove review_next_word(int row, int column) {
    int c = column;
    while (c <= REVIEW_COLUMNS && !is_blank(row, c)) c++;
    while (c <= REVIEW_COLUMNS && is_blank(row, c)) c++;
    if (c != REVIEW_COLUMNS + 1) return {c, ReviewSound::Click};
    return {review_end_of_line_column(row), ReviewSound::Beep};
}

bool review_first_letter(int& row, int& column) {
    for (int r = 1; r <= CONSOLE_MAX_ROWS; ++r) {
        for (int c = 1; c <= REVIEW_COLUMNS; ++c) {
            if (is_ascii_letter(review_char_at(r, c))) {
                row = r;
                column = c;
                return true;
            }
        }
    }
    return false;
}

bool review_last_letter(int& row, int& column) {
    for (int r = CONSOLE_MAX_ROWS; r >= 1; --r) {
        for (int c = REVIEW_COLUMNS; c >= 1; --c) {
            if (is_ascii_letter(review_char_at(r, c))) {
                row = r;
                column = c;
                return true;
            }
        }
    }
    return false;
}

int review_clamp(int& row, int& column, int rows) {
    int crossed = 0;
    if (column < 1) {
        crossed++;
        column = 1;
    }
    if (column > REVIEW_COLUMNS + 1) {
        crossed++;
        column = REVIEW_COLUMNS;
    }
    if (row < 1) {
        crossed++;
        row = 1;
    }
    if (row > rows) {
        crossed++;
        row = rows;
    }
    return crossed;
}

std::string review_screen_text() {
    std::string text;
    text.reserve(static_cast<size_t>(CONSOLE_MAX_ROWS * (REVIEW_COLUMNS + 2)));
    for (int r = 1; r <= CONSOLE_MAX_ROWS; ++r) {
        for (int c = 1; c <= REVIEW_COLUMNS; ++c) text += static_cast<char>(review_char_at(r, c));
        text += "\r\n";
    }
    return text;
}

int review_find_in_row(int row, int after, const std::string& text) {
    if (text.empty()) return 0;
    std::string line;
    for (int c = 1; c <= REVIEW_COLUMNS; ++c) line += static_cast<char>(review_char_at(row, c));
    // A match must begin after the cursor.
    size_t at = line.find(text, static_cast<size_t>(std::clamp(after, 0, REVIEW_COLUMNS)));
    return at == std::string::npos ? 0 : static_cast<int>(at) + 1;
}

void review_field_bounds() {
    ReviewField f = review_field_at(g_review.row, g_review.column);
    g_review.field_start = f.start;
    g_review.field_end = f.end;
}

void review_end_of_line() { g_review.column = review_end_of_line_column(g_review.row); }
