// Tests of the line editor's text operations: word moves, word deletion, the
// word read by F1 and opened by F12, copy and paste.
#include <gtest/gtest.h>

#include <string>

#include "speech/line_editor_words.h"
#include "util/latin1.h"

namespace {

// A field of `length` characters holding `s`.
std::string field(const std::string& s, size_t length) {
    std::string t = s;
    t.resize(length, ' ');
    return t;
}

TEST(EditorWords, WordRightAtStartMiddleAndEnd) {
    std::string t = field("pegar a chave", 20);
    EditorMove m = editor_word_right(t, 1);
    EXPECT_EQ(m.position, 7);
    EXPECT_FALSE(m.boundary);
    // From inside a word: to the next word.
    m = editor_word_right(t, 3);
    EXPECT_EQ(m.position, 7);
    m = editor_word_right(t, 7);
    EXPECT_EQ(m.position, 9);
    // The last word: only blanks follow, so just after it and a boundary.
    m = editor_word_right(t, 9);
    EXPECT_EQ(m.position, 14);
    EXPECT_TRUE(m.boundary);
    m = editor_word_right(t, 14);
    EXPECT_EQ(m.position, 14);
    EXPECT_TRUE(m.boundary);
    // One past the end of the field.
    m = editor_word_right(t, 21);
    EXPECT_EQ(m.position, 14);
    EXPECT_TRUE(m.boundary);
}

TEST(EditorWords, WordRightTakesDigitRunsAndSymbolsApart) {
    std::string t = field("123abc x", 10);
    // Digits end at the letter.
    EXPECT_EQ(editor_word_right(t, 1).position, 4);
    // A symbol is one step, then the letters after it.
    t = field("a.txt b", 10);
    EXPECT_EQ(editor_word_right(t, 2).position, 7);
    // Accented letters belong to the word.
    t = field(latin1("ação x"), 10);
    EXPECT_EQ(editor_word_right(t, 1).position, 6);
    // A field full to its last character.
    t = "abc de";
    EditorMove m = editor_word_right(t, 5);
    EXPECT_EQ(m.position, 7);
    EXPECT_TRUE(m.boundary);
}

TEST(EditorWords, WordLeftAtStartMiddleAndEnd) {
    std::string t = field("pegar a chave", 20);
    // From after the text: the start of the last word.
    EditorMove m = editor_word_left(t, 14);
    EXPECT_EQ(m.position, 9);
    EXPECT_FALSE(m.boundary);
    m = editor_word_left(t, 20);
    EXPECT_EQ(m.position, 9);
    // From inside a word: its start.
    EXPECT_EQ(editor_word_left(t, 11).position, 9);
    EXPECT_EQ(editor_word_left(t, 9).position, 7);
    // Reaching the first word is a click, being there already a boundary.
    m = editor_word_left(t, 7);
    EXPECT_EQ(m.position, 1);
    EXPECT_FALSE(m.boundary);
    m = editor_word_left(t, 1);
    EXPECT_EQ(m.position, 1);
    EXPECT_TRUE(m.boundary);
    // Only blanks before the position.
    t = field("   abc", 10);
    m = editor_word_left(t, 4);
    EXPECT_EQ(m.position, 1);
    EXPECT_TRUE(m.boundary);
}

TEST(EditorWords, WordLeftDigitsAndSymbols) {
    // The character reached is part of the word, even a symbol; letters
    // before it join it.
    std::string t = field("ir 12 manual.txt", 20);
    EXPECT_EQ(editor_word_left(t, 17).position, 14);
    EXPECT_EQ(editor_word_left(t, 14).position, 7);
    EXPECT_EQ(editor_word_left(t, 6).position, 4);
    // Digits stop at a letter.
    t = field("abc123", 10);
    EXPECT_EQ(editor_word_left(t, 7).position, 4);
}

TEST(EditorWords, DeleteWordAtStartMiddleAndEnd) {
    std::string t = field("abc def ghi", 15);
    // At the start of a word: the word and the blank after it.
    EditorWordDelete d = editor_word_delete(t, 1);
    EXPECT_EQ(d.start, 1);
    EXPECT_EQ(d.count, 4);
    EXPECT_EQ(d.move_count, 2);
    // Inside a word: back to its start first.
    d = editor_word_delete(t, 6);
    EXPECT_EQ(d.start, 5);
    EXPECT_EQ(d.count, 4);
    EXPECT_EQ(d.move_count, 3);
    // After the last word: that word, no further blanks.
    d = editor_word_delete(t, 12);
    EXPECT_EQ(d.start, 9);
    EXPECT_EQ(d.count, 3);
    // In a run of blanks the deletion starts at the position, not at the
    // word before it.
    t = field("abc   def", 15);
    d = editor_word_delete(t, 5);
    EXPECT_EQ(d.start, 5);
    EXPECT_EQ(d.count, 2);
    // Nothing but blanks after: nothing to delete.
    t = field("abc", 10);
    d = editor_word_delete(t, 5);
    EXPECT_EQ(d.count, 0);
    d = editor_word_delete(field("", 5), 1);
    EXPECT_EQ(d.count, 0);
}

TEST(EditorWords, WordAtReadsNumbersWordsAndAbbreviations) {
    std::string t = field("123 abc", 12);
    EditorWord w = editor_word_at(t, 1);
    EXPECT_EQ(w.kind, EditorWordKind::Say);
    EXPECT_EQ(w.text, "123");
    EXPECT_EQ(w.next_position, 4);
    w = editor_word_at(t, w.next_position);
    EXPECT_EQ(w.kind, EditorWordKind::Say);
    EXPECT_EQ(w.text, "abc");
    EXPECT_EQ(w.next_position, 8);
    w = editor_word_at(t, w.next_position);
    EXPECT_EQ(w.kind, EditorWordKind::End);
    EXPECT_EQ(w.next_position, 8);

    w = editor_word_at(field("PDF", 5), 1);
    EXPECT_EQ(w.kind, EditorWordKind::Spell);
    EXPECT_EQ(w.text, "PDF");
    w = editor_word_at(field("xyz", 5), 1);  // y is not a consonant of the list
    EXPECT_EQ(w.kind, EditorWordKind::Say);
    w = editor_word_at(field(latin1("prç"), 5), 1);  // an accented letter counts as a vowel
    EXPECT_EQ(w.kind, EditorWordKind::Say);
    w = editor_word_at(field("-12x", 5), 1);
    EXPECT_EQ(w.text, "-12");
    w = editor_word_at(field("?!", 5), 1);
    EXPECT_EQ(w.kind, EditorWordKind::Spell);
    EXPECT_EQ(w.text, "?");
    EXPECT_EQ(w.next_position, 2);
}

TEST(EditorWords, OpenTargetStripsMarksAroundTheWord) {
    std::string t = field("veja (PROG.HTM) agora", 30);
    EXPECT_EQ(editor_open_target(t, 8), "PROG.HTM");
    EXPECT_EQ(editor_open_target(t, 6), "PROG.HTM");
    // On the blank after a word: that word.
    EXPECT_EQ(editor_open_target(t, 16), "PROG.HTM");
    EXPECT_EQ(editor_open_target(field("\"<www.x.org>\".", 20), 3), "www.x.org");
    // Nothing left after stripping, or blanks all round.
    EXPECT_EQ(editor_open_target(field("a --- b", 10), 4), "");
    EXPECT_EQ(editor_open_target(field("a   b", 10), 3), "");
    // At the end of a full field.
    EXPECT_EQ(editor_open_target("x jogo.exe", 11), "jogo.exe");
    // A relative path keeps its leading dots.
    EXPECT_EQ(editor_open_target(field("rode ./jogo.exe", 20), 8), "./jogo.exe");
    EXPECT_EQ(editor_open_target(field("(../notas.txt).", 20), 5), "../notas.txt");
    EXPECT_EQ(editor_open_target(field("...jogo", 10), 2), "jogo");
}

TEST(EditorWords, CopyWithAndWithoutACompleteSelection) {
    std::string t = field("abcdef", 10);
    EXPECT_EQ(editor_copy_text(t, 0, 0), "abcdef\r\n");
    // Started but not ended, or empty: the whole text.
    EXPECT_EQ(editor_copy_text(t, 2, 0), "abcdef\r\n");
    EXPECT_EQ(editor_copy_text(t, 3, 3), "abcdef\r\n");
    EXPECT_EQ(editor_copy_text(t, 2, 5), "bcd");
    // Marked leftwards.
    EXPECT_EQ(editor_copy_text(t, 5, 2), "bcd");
    EXPECT_EQ(editor_copy_text(t, 5, 11), "ef    ");
    EXPECT_EQ(editor_copy_text(field("", 4), 0, 0), "\r\n");
}

TEST(EditorWords, PasteAtThePositionAndIntoASelection) {
    std::string t = field("abcdef", 8);
    EditorPaste p = editor_paste(t, 3, 0, 0, "XY");
    EXPECT_EQ(p.text, "abXYcdef");
    EXPECT_EQ(p.position, 3);
    EXPECT_EQ(p.selection_start, 3);
    EXPECT_EQ(p.selection_end, 5);
    // Over a selection, in either order.
    p = editor_paste(t, 5, 2, 5, "Z");
    EXPECT_EQ(p.text, "aZef    ");
    EXPECT_EQ(p.position, 2);
    p = editor_paste(t, 2, 5, 2, "Z");
    EXPECT_EQ(p.text, "aZef    ");
    // A selection with no end yet replaces nothing.
    p = editor_paste(t, 4, 4, 0, "Q");
    EXPECT_EQ(p.text, "abcQdef ");
    // Cut to the field's length.
    p = editor_paste(t, 1, 0, 0, "123456789");
    EXPECT_EQ(p.text, "12345678");
    EXPECT_EQ(p.selection_end, 9);
    // The first key blanks the field before the paste.
    p = editor_paste(field("", 8), 1, 0, 0, "novo");
    EXPECT_EQ(p.text, "novo    ");
    EXPECT_EQ(editor_first_line("um\r\ndois"), "um");
    EXPECT_EQ(editor_first_line("um\ndois"), "um");
    EXPECT_EQ(editor_first_line("\nx"), "");
}

}  // namespace
