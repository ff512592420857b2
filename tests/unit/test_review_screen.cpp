// The review's view of the grid: fields, word moves, the row's end, the
// first and last letter, the bounds step, the copied screen and the search.
#include <gtest/gtest.h>

#include "console_test_support.h"
#include "review/review.h"
#include "util/latin1.h"

namespace {
// Writes `text` (UTF-8) at (column, row) in the given text colour.
void put(int column, int row, const std::string& text, uint8_t colour = 15) {
    console_move_cursor(column, row);
    console_set_text_colour(colour);
    console_write_text(latin1(text));
}

void fresh_screen() {
    console_test_settings("");
    console_open();
    review_reset();
}
}  // namespace

TEST(ReviewScreen, OutsideTheGridIsBlankWithAttributeZero) {
    fresh_screen();
    put(1, 1, std::string(80, 'x'));
    put(1, 25, "y");
    EXPECT_EQ(review_char_at(1, 80), 'x');
    EXPECT_EQ(review_char_at(1, 81), ' ');
    EXPECT_EQ(review_char_at(1, 0), ' ');
    EXPECT_EQ(review_char_at(0, 5), ' ');
    EXPECT_EQ(review_char_at(25, 1), 'y');
    EXPECT_EQ(review_char_at(26, 1), ' ');
    EXPECT_EQ(review_attribute_at(1, 80), 0x0F);
    EXPECT_EQ(review_attribute_at(1, 81), 0);
    EXPECT_EQ(review_attribute_at(26, 1), 0);
}

TEST(ReviewScreen, CharacterClasses) {
    for (const char* w : {"a", "Z", "0", "9", "Ç", "ç", "Ã", "õ", "Ú", "ñ"})
        EXPECT_TRUE(review_is_word_char(static_cast<uint8_t>(latin1(w)[0]))) << w;
    for (const char* w : {" ", "-", ".", "è", "Ü", "ß", "@"})
        EXPECT_FALSE(review_is_word_char(static_cast<uint8_t>(latin1(w)[0]))) << w;
    EXPECT_TRUE(review_is_consonant('B'));
    EXPECT_TRUE(review_is_consonant('y'));
    EXPECT_TRUE(review_is_consonant('w'));
    EXPECT_FALSE(review_is_consonant('a'));
    EXPECT_FALSE(review_is_consonant('U'));
    EXPECT_FALSE(review_is_consonant(static_cast<uint8_t>(latin1("ç")[0])));
    EXPECT_FALSE(review_is_consonant('1'));
    for (uint8_t c : {'!', ':', '?', '|'}) EXPECT_TRUE(review_is_field_separator(c));
    EXPECT_TRUE(review_is_field_separator(176));
    EXPECT_TRUE(review_is_field_separator(static_cast<uint8_t>(latin1("×")[0])));
    EXPECT_FALSE(review_is_field_separator(175));
    EXPECT_FALSE(review_is_field_separator(224));
    EXPECT_FALSE(review_is_field_separator('.'));
    // Capital accented letters that are word letters do not end a field.
    EXPECT_FALSE(review_is_field_separator(static_cast<uint8_t>(latin1("É")[0])));
    EXPECT_FALSE(review_is_field_separator(static_cast<uint8_t>(latin1("Ç")[0])));
}

TEST(ReviewScreen, FieldsEndAtSeparatorsAndColourChanges) {
    fresh_screen();
    put(1, 3, "Nome: Varnio Keltis|Cela 7");
    // Inside "Varnio Keltis": from the blank after ":" to the "|".
    ReviewField f = review_field_at(3, 10);
    EXPECT_EQ(f.start, 6);
    EXPECT_EQ(f.end, 19);
    f = review_field_at(3, 1);
    EXPECT_EQ(f.start, 1);
    EXPECT_EQ(f.end, 4);
    // The last field runs on over the blanks of the same colour to column 80.
    f = review_field_at(3, 22);
    EXPECT_EQ(f.start, 21);
    EXPECT_EQ(f.end, 80);
    // On a separator the field is empty: start after it, end before it.
    f = review_field_at(3, 5);
    EXPECT_EQ(f.start, 6);
    EXPECT_EQ(f.end, 4);

    put(1, 4, "Que fazer? ", 14);
    put(12, 4, "pegar a chave", 7);
    f = review_field_at(4, 14);
    EXPECT_EQ(f.start, 12) << "a colour change starts a field";
    EXPECT_EQ(f.end, 24) << "and ends one: the blanks after it keep the screen's colour";
    f = review_field_at(4, 2);
    EXPECT_EQ(f.start, 1);
    EXPECT_EQ(f.end, 9);
    f = review_field_at(4, 11);
    EXPECT_EQ(f.start, 11) << "the blank after the mark, still in the prompt's colour";
    EXPECT_EQ(f.end, 11);

    // "ÉPOCA" is one field although É lies among the separator codes.
    put(1, 5, "|ÉPOCA|");
    f = review_field_at(5, 4);
    EXPECT_EQ(f.start, 2);
    EXPECT_EQ(f.end, 6);
    // Past the last column: attribute 0, so nothing of the row belongs.
    f = review_field_at(5, 81);
    EXPECT_EQ(f.start, 81);
    EXPECT_EQ(f.end, 80);
}

TEST(ReviewScreen, FieldBoundsAndEndOfLineMoveTheCursor) {
    fresh_screen();
    put(1, 2, "abc:def");
    review_set_position(2, 6);
    review_field_bounds();
    EXPECT_EQ(review_field_start(), 5);
    EXPECT_EQ(review_field_end(), 80);
    review_end_of_line();
    EXPECT_EQ(review_column(), 8);
    EXPECT_EQ(review_row(), 2);
    EXPECT_EQ(review_end_of_line_column(7), 1) << "a blank row";
    put(80, 7, "z");
    EXPECT_EQ(review_end_of_line_column(7), 81);
}

TEST(ReviewScreen, WordMovesAtTheRowsEdges) {
    fresh_screen();
    put(1, 1, "um dois  tres");
    ReviewMove m = review_next_word(1, 1);
    EXPECT_EQ(m.column, 4);
    EXPECT_EQ(m.sound, ReviewSound::Click);
    m = review_next_word(1, 4);
    EXPECT_EQ(m.column, 10);
    // From the last word: nothing follows, so a beep and the row's end.
    m = review_next_word(1, 11);
    EXPECT_EQ(m.column, 14);
    EXPECT_EQ(m.sound, ReviewSound::Beep);
    m = review_next_word(1, 81);
    EXPECT_EQ(m.column, 14);
    EXPECT_EQ(m.sound, ReviewSound::Beep);

    m = review_previous_word(1, 10);
    EXPECT_EQ(m.column, 4);
    EXPECT_EQ(m.sound, ReviewSound::Click);
    m = review_previous_word(1, 14);
    EXPECT_EQ(m.column, 10);
    // Into the first word, which touches column 1: it is reached, but beeps.
    m = review_previous_word(1, 4);
    EXPECT_EQ(m.column, 1);
    EXPECT_EQ(m.sound, ReviewSound::Beep);
    m = review_previous_word(1, 1);
    EXPECT_EQ(m.column, 1);
    EXPECT_EQ(m.sound, ReviewSound::Beep);

    // A first word after blanks: reached with a click; only blanks before
    // it lead to a beep and column 1.
    put(1, 2, "   ola");
    m = review_previous_word(2, 7);
    EXPECT_EQ(m.column, 4);
    EXPECT_EQ(m.sound, ReviewSound::Click);
    m = review_previous_word(2, 4);
    EXPECT_EQ(m.column, 1);
    EXPECT_EQ(m.sound, ReviewSound::Beep);

    // A word filling the row's end: the next word is past column 80.
    put(76, 3, "final");
    m = review_next_word(3, 77);
    EXPECT_EQ(m.column, 81);
    EXPECT_EQ(m.sound, ReviewSound::Beep);
    m = review_previous_word(3, 81);
    EXPECT_EQ(m.column, 76);
    EXPECT_EQ(m.sound, ReviewSound::Click);
}

TEST(ReviewScreen, FirstAndLastLetterOfTheScreen) {
    fresh_screen();
    int row = 9, column = 9;
    EXPECT_FALSE(review_first_letter(row, column));
    EXPECT_FALSE(review_last_letter(row, column));
    EXPECT_EQ(row, 9);
    EXPECT_EQ(column, 9);
    // Digits, marks and accented letters do not count.
    put(5, 2, "12 - é");
    EXPECT_FALSE(review_first_letter(row, column));
    put(10, 3, "x");
    put(70, 3, "y");
    put(1, 24, "a b");
    put(80, 25, "!");
    put(79, 25, "9");
    ASSERT_TRUE(review_first_letter(row, column));
    EXPECT_EQ(row, 3);
    EXPECT_EQ(column, 10);
    ASSERT_TRUE(review_last_letter(row, column));
    EXPECT_EQ(row, 24);
    EXPECT_EQ(column, 3);
    put(80, 25, "Z");
    ASSERT_TRUE(review_last_letter(row, column));
    EXPECT_EQ(row, 25);
    EXPECT_EQ(column, 80);
}

TEST(ReviewScreen, BoundsStepCountsEachEdge) {
    int row = 5, column = 81;
    EXPECT_EQ(review_clamp(row, column, 25), 0) << "81 is just past the last column, still allowed";
    EXPECT_EQ(column, 81);
    column = 82;
    EXPECT_EQ(review_clamp(row, column, 25), 1);
    EXPECT_EQ(column, 80) << "past 81 the cursor goes back onto the last column";
    column = 0;
    EXPECT_EQ(review_clamp(row, column, 25), 1);
    EXPECT_EQ(column, 1);
    row = 0;
    column = 1;
    EXPECT_EQ(review_clamp(row, column, 25), 1);
    EXPECT_EQ(row, 1);
    row = 26;
    EXPECT_EQ(review_clamp(row, column, 25), 1);
    EXPECT_EQ(row, 25);
    // A go-to of 00 and 99: two edges each.
    row = 0;
    column = 0;
    EXPECT_EQ(review_clamp(row, column, 25), 2);
    EXPECT_EQ(row, 1);
    EXPECT_EQ(column, 1);
    row = 99;
    column = 99;
    EXPECT_EQ(review_clamp(row, column, 25), 2);
    EXPECT_EQ(row, 25);
    EXPECT_EQ(column, 80);
}

TEST(ReviewScreen, CopiedScreenAndSearchInARow) {
    fresh_screen();
    put(1, 1, "FUGA");
    put(1, 25, "fim");
    std::string text = review_screen_text();
    ASSERT_EQ(text.size(), 25u * 82u);
    EXPECT_EQ(text.substr(0, 82), "FUGA" + std::string(76, ' ') + "\r\n");
    EXPECT_EQ(text.substr(24 * 82), "fim" + std::string(77, ' ') + "\r\n");

    put(1, 4, "a chave e a chave");
    EXPECT_EQ(review_find_in_row(4, 0, "chave"), 3);
    EXPECT_EQ(review_find_in_row(4, 2, "chave"), 3);
    EXPECT_EQ(review_find_in_row(4, 3, "chave"), 13) << "a match must begin after the cursor";
    EXPECT_EQ(review_find_in_row(4, 13, "chave"), 0);
    EXPECT_EQ(review_find_in_row(4, 0, "Chave"), 0) << "case matters";
    EXPECT_EQ(review_find_in_row(4, 0, ""), 0);
    EXPECT_EQ(review_find_in_row(4, 80, " "), 0);
    EXPECT_EQ(review_find_in_row(4, 79, " "), 80);
    EXPECT_EQ(review_find_in_row(4, 16, " "), 18);
}
