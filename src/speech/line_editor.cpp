// The spoken line editor: the field on screen, the keys and what each one
// says, and reading the game's command line.
#include "speech/line_editor.h"

#include <algorithm>
#include <iostream>

#include "console/console.h"
#include "speech/line_editor_words.h"
#include "speech/open_help.h"
#include "speech/speech.h"
#include "speech/speech_state.h"

namespace {

constexpr uint8_t EDITOR_SELECTION_BACKGROUND = 8;

// One edit; nothing of it outlives the call.
struct Field {
    std::string text;  // padded with blanks to `length`
    std::string at_entry;
    int length = 0;
    int width = 0;
    int column = 1, row = 1;
    bool editable = true;
    int position = 1;
    int first_visible = 1;
    int selection_start = 0, selection_end = 0;
    bool first_key = true;
};

enum class Step { Continue, End };

// One key as the editor reads it from the console.
struct EditorKey {
    uint8_t code = 0;       // the character, or the extended code
    bool extended = false;  // a function, cursor or Alt key
    bool shift = false, alt = false;
};

bool has_selection(const Field& f) {
    return f.selection_start > 0 && f.selection_end > 0 && f.selection_start != f.selection_end;
}

void clear_selection(Field& f) { f.selection_start = f.selection_end = 0; }

unsigned char char_at(const Field& f, int position) {
    if (position < 1 || position > f.length) return ' ';
    return static_cast<unsigned char>(f.text[position - 1]);
}

void write_char(unsigned char c) {
    char ch = static_cast<char>(c);
    console_write_text(&ch, 1);
}

// Writes the visible part (the selection on its own background), clears the
// rest of the line and puts the cursor at the position.
void show(Field& f) {
    if (f.position < f.first_visible) f.first_visible = f.position;
    if (f.first_visible + f.width < f.position) f.first_visible = f.position - f.width;
    console_move_cursor(f.column, f.row);
    int sel_a = 0, sel_b = 0;
    if (has_selection(f)) {
        sel_a = std::min(f.selection_start, f.selection_end);
        sel_b = std::max(f.selection_start, f.selection_end);
    }
    uint8_t attribute = console_current_attribute();
    int end = std::min(f.first_visible + f.width, f.length + 1);
    int p = f.first_visible;
    while (p < end) {
        bool selected = p >= sel_a && p < sel_b;
        int run_end = p;
        while (run_end < end && (run_end >= sel_a && run_end < sel_b) == selected) ++run_end;
        if (selected) console_set_background_colour(EDITOR_SELECTION_BACKGROUND);
        console_write_text(f.text.data() + (p - 1), static_cast<size_t>(run_end - p));
        if (selected) console_set_background_colour(static_cast<uint8_t>(attribute >> 4));
        p = run_end;
    }
    console_clear_to_end_of_line();
    console_move_cursor(f.column + f.position - f.first_visible, f.row);
}

void insert_char(Field& f, unsigned char c) {
    if (!f.editable) return;
    // At a full field nothing goes in, and neither does a character that
    // would push the field's last character out.
    if (f.position > f.length || f.text.back() != ' ') {
        speech_beep_pattern();
        return;
    }
    f.text.insert(f.text.begin() + (f.position - 1), static_cast<char>(c));
    f.text.pop_back();
    write_char(c);
    if (speech_echo_typed()) speech_spell_char(c);
    f.position++;
}

void delete_at(Field& f, bool announced) {
    if (f.position > f.length) return;
    unsigned char removed = char_at(f, f.position);
    f.text.erase(f.text.begin() + (f.position - 1));
    f.text.push_back(' ');
    show(f);
    if (announced) speech_play_key("_DEL");
    speech_spell_char(removed);
}

void sound_move(const EditorMove& m) {
    if (m.boundary) speech_beep_pattern();
    else speech_click();
}

void blank_all(Field& f) { f.text.assign(f.length, ' '); }

void copy(Field& f, bool) { console_copy_to_clipboard(editor_copy_text(f.text, f.selection_start, f.selection_end)); }

void paste(Field& f, bool) {
    if (!f.editable) return;
    std::string clip = editor_first_line(console_paste_from_clipboard(static_cast<size_t>(f.length) + 1));
    if (clip.empty()) return;
    if (f.first_key) {
        speech_click();
        speech_click();
        blank_all(f);
    }
    EditorPaste r = editor_paste(f.text, f.position, f.selection_start, f.selection_end, clip);
    f.text = r.text;
    f.position = r.position;
    f.selection_start = r.selection_start;
    f.selection_end = r.selection_end;
}

void delete_word(Field& f, bool) {
    if (!f.editable) return;
    EditorWordDelete d = editor_word_delete(f.text, f.position);
    for (int i = 0; i < d.move_count; ++i) sound_move(d.moves[i]);
    f.position = d.start;
    for (int i = 0; i < d.count; ++i) delete_at(f, i == 0);
}

void delete_selection(Field& f) {
    int a = std::min(f.selection_start, f.selection_end);
    int b = std::min(std::max(f.selection_start, f.selection_end), f.length + 1);
    f.position = a;
    speech_play_key("_DEL");
    for (int i = a; i < b; ++i) delete_at(f, false);
    f.selection_start = f.selection_end = a;
}

void speak_word(Field& f, bool) {
    EditorWord w = editor_word_at(f.text, f.position);
    switch (w.kind) {
        case EditorWordKind::Say: speech_say(w.text); break;
        case EditorWordKind::Spell: speech_spell(w.text); break;
        case EditorWordKind::End: speech_beep_pattern(); break;
    }
    f.position = w.next_position;
}

void open_word(Field& f, bool) {
    std::string target = editor_open_target(f.text, f.position);
    if (target.empty()) speech_beep_pattern();
    else speech_open_help(target);
}

void change_speed(Field&, bool) {
    speech_play_key("_VELOC");
    uint8_t last = 0;
    do {
        last = speech_read_key_echo();
    } while (console_key_waiting());
    if (last == KEY_ESC || last == KEY_ENTER) return;
    std::string directory = speech_sound_directory();
    speech_stop();
    speech_start(last - '0', directory);
}

void blank_to_end(Field& f, bool) {
    if (!f.editable) return;
    for (int p = f.position; p <= f.length; ++p) f.text[p - 1] = ' ';
    speech_play_key("_APFCPO");
}

void blank_before(Field& f, bool) {
    if (!f.editable) return;
    std::string rest = f.text.substr(std::min(f.position, f.length + 1) - 1);
    rest.resize(f.length, ' ');
    f.text = rest;
    f.position = 1;
    speech_play_key("_APICPO");
}

void blank_field(Field& f, bool) {
    if (!f.editable) return;
    blank_all(f);
    speech_play_key("_CPOAPA");
    f.position = 1;
}

void restore_entry_text(Field& f, bool) {
    if (!f.editable) return;
    f.text = f.at_entry;
    f.position = 1;
    for (int i = 0; i < 3; ++i) speech_beep_pattern();
}

void backspace(Field& f, bool) {
    if (f.position == 1) {
        speech_beep_pattern();
    } else if (f.editable) {
        f.position--;
        delete_at(f, true);
    }
}

void say_position(Field& f, bool) { speech_say(std::to_string(f.position)); }
void say_field(Field& f, bool) { speech_say(editor_trim(f.text)); }
void dial_tones(Field& f, bool) { speech_dial_tones(f.text); }
void say_time(Field&, bool) { speech_say_time(); }
void say_date(Field&, bool) { speech_say_date(); }

void toggle_echo(Field&, bool) {
    speech_set_echo_typed(!speech_echo_typed());
    speech_play_key(speech_echo_typed() ? "_FALACI" : "_FALDLG");
}

void screen_review(Field&, bool) {
    if (speech_state().screen_review) speech_state().screen_review();
    else speech_beep_pattern();
}

void go_home(Field& f, bool) { f.position = 1; }
void go_end(Field& f, bool) { f.position = editor_last_nonblank(f.text) + 1; }

void go_left(Field& f, bool) {
    if (f.position == 1) {
        speech_beep_pattern();
    } else {
        f.position--;
        speech_spell_char(char_at(f, f.position));
    }
}

// With Alt a letter is said by its phonetic word.
void go_right(Field& f, bool alt) {
    if (f.position > f.length) {
        speech_beep_pattern();
        return;
    }
    unsigned char c = char_at(f, f.position);
    bool letter = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
    if (alt && letter) speech_play_key("_FON" + std::to_string(c));
    else speech_spell_char(c);
    f.position++;
}

void word_left(Field& f, bool) {
    EditorMove m = editor_word_left(f.text, f.position);
    f.position = m.position;
    sound_move(m);
}

void word_right(Field& f, bool) {
    EditorMove m = editor_word_right(f.text, f.position);
    f.position = m.position;
    sound_move(m);
}

void delete_key(Field& f, bool) {
    if (!f.editable) return;
    if (has_selection(f)) delete_selection(f);
    else if (f.position > f.length) speech_beep_pattern();
    else delete_at(f, true);
}

// A key that is no command: a character typed (a control character is not
// inserted, but still counts as the first key over a proposed text).
void type_key(Field& f, uint8_t k) {
    if (f.first_key && editor_last_nonblank(f.text) >= f.position) {
        speech_click();
        speech_click();
        // Typing replaces a proposed text.
        if (k >= 32 && f.editable) blank_all(f);
    }
    if (k >= 32) insert_char(f, k);
}

// When a key ends the edit instead of doing its action.
enum class Ends { Never, Always, WithAlt, WithoutAlt };

struct KeyBinding {
    uint8_t code;
    void (*action)(Field& f, bool alt);
    Ends ends = Ends::Never;
    bool keeps_selection = false;  // the selection is what the key works on
};

const KeyBinding ORDINARY_KEYS[] = {
    {key_ctrl('C'), copy, Ends::Never, true},
    {key_ctrl('V'), paste, Ends::Never, true},
    {key_ctrl('D'), blank_to_end},
    {key_ctrl('K'), say_position},
    {key_ctrl('S'), blank_before},
    {key_ctrl('U'), restore_entry_text},
    {key_ctrl('Y'), blank_field},
    {KEY_BACKSPACE, backspace},
    {KEY_CTRL_BACKSLASH, dial_tones},
    {KEY_CTRL_BACKSPACE, delete_word},
    {KEY_TAB, nullptr, Ends::Always},
    {KEY_LINE_FEED, nullptr, Ends::Always},
    {KEY_ENTER, nullptr, Ends::Always},
    {KEY_ESC, nullptr, Ends::Always},
};

const KeyBinding EXTENDED_KEYS[] = {
    {KEY_F1, speak_word, Ends::WithAlt},
    {KEY_F4, toggle_echo},
    {KEY_F8, say_time},
    {KEY_F12, open_word},
    {KEY_HOME, go_home},
    {KEY_END, go_end},
    {KEY_LEFT, go_left},
    {KEY_RIGHT, go_right},
    {KEY_CTRL_LEFT, word_left},
    {KEY_CTRL_RIGHT, word_right},
    {KEY_DELETE, delete_key, Ends::Never, true},
    {KEY_CTRL_F1, say_field},
    {KEY_CTRL_F4, change_speed},
    {KEY_CTRL_F8, say_date},
    {KEY_CTRL_F9, screen_review, Ends::WithoutAlt},
    {KEY_SHIFT_INSERT, paste, Ends::Never, true},
    {KEY_CTRL_INSERT, copy, Ends::Never, true},
};

template <size_t N>
const KeyBinding* binding_of(const KeyBinding (&table)[N], uint8_t code) {
    for (const KeyBinding& b : table)
        if (b.code == code) return &b;
    return nullptr;
}

Step run_binding(const KeyBinding& b, Field& f, bool alt) {
    if (b.ends == Ends::Always || (b.ends == Ends::WithAlt && alt) || (b.ends == Ends::WithoutAlt && !alt))
        return Step::End;
    b.action(f, alt);
    return Step::Continue;
}

Step ordinary_key(Field& f, uint8_t k, bool alt) {
    if (const KeyBinding* b = binding_of(ORDINARY_KEYS, k)) return run_binding(*b, f, alt);
    type_key(f, k);
    return Step::Continue;
}

// Any other extended key ends the edit, except Alt with a digit.
Step extended_key(Field& f, uint8_t code, bool alt) {
    if (const KeyBinding* b = binding_of(EXTENDED_KEYS, code)) return run_binding(*b, f, alt);
    return code >= KEY_ALT_1 && code <= KEY_ALT_0 ? Step::Continue : Step::End;
}

bool keeps_selection(const EditorKey& key) {
    const KeyBinding* b = key.extended ? binding_of(EXTENDED_KEYS, key.code) : binding_of(ORDINARY_KEYS, key.code);
    return b && b->keeps_selection;
}

// The extended codes whose Alt keys (Alt+Q, Alt+W, Alt+E) the editor passes
// over: the next key is taken instead.
bool skipped_alt_code(uint8_t code) { return code == KEY_ALT_Q || code == KEY_ALT_W || code == KEY_ALT_E; }

// Reads the next key: a character, or 0 followed by an extended code; any
// speech still going is cut as soon as the key comes.
EditorKey read_editor_key() {
    EditorKey key;
    key.code = console_read_key();
    speech_silence();
    while (key.code == 0) {
        uint8_t code = console_read_key();
        if (!skipped_alt_code(code)) {
            key.code = code;
            key.extended = true;
            break;
        }
        key.code = console_read_key();
    }
    key.shift = console_shift_held();
    key.alt = console_alt_held();
    return key;
}

}  // namespace

uint8_t speech_edit_field(std::string& text, int column, int row, bool editable, int width, int maximum_length) {
    std::cout.flush();
    Field f;
    f.length = std::clamp(maximum_length, 0, EDITOR_MAX_LENGTH);
    f.column = std::clamp(column, 1, CONSOLE_MAX_COLUMNS);
    f.row = std::clamp(row, 1, CONSOLE_MAX_ROWS);
    f.width = std::clamp(width, 0, f.length);
    if (f.row == CONSOLE_MAX_ROWS && f.column + f.width > CONSOLE_MAX_COLUMNS) f.width--;
    // Never wider than the rest of the row: the field must not wrap.
    f.width = std::max(0, std::min(f.width, CONSOLE_MAX_COLUMNS + 1 - f.column));
    f.editable = editable;
    f.text = text.substr(0, static_cast<size_t>(f.length));
    f.text.resize(static_cast<size_t>(f.length), ' ');
    f.at_entry = f.text;

    uint8_t last_code = ' ';
    for (;;) {
        show(f);
        EditorKey key = read_editor_key();
        if (key.extended && key.shift) {
            if (f.selection_start == 0) f.selection_start = f.position;
        } else if (!keeps_selection(key)) {
            clear_selection(f);
        }

        Step step;
        if (key.extended) {
            // Alt+F1 ends the edit as Ctrl+F11 would.
            last_code = key.code == KEY_F1 && key.alt ? KEY_CTRL_F11 : key.code;
            step = extended_key(f, key.code, key.alt);
            if (step == Step::Continue && key.shift) f.selection_end = f.position;
        } else {
            if (key.code < 32 || key.code == 127) last_code = key.code;
            step = ordinary_key(f, key.code, key.alt);
        }
        f.first_key = false;
        if (step == Step::End) break;
    }

    console_move_cursor(f.column, f.row);
    console_write_text(f.text.data(), static_cast<size_t>(f.width));
    console_move_cursor(f.column, f.row);
    text = editor_trim(f.text);
    return last_code;
}

void speech_set_screen_review(void (*run)()) { speech_state().screen_review = run; }

uint8_t speech_edit_at_cursor(std::string& text, int column, int row, bool editable, int maximum_length) {
    // The screen's right edge counted from 0, less the column.
    int width = (CONSOLE_MAX_COLUMNS - 1) - column;
    return speech_edit_field(text, column, row, editable, width, maximum_length);
}

std::string speech_read_line() {
    std::cout.flush();
    std::string text;
    int column = console_cursor_column();
    int row = console_cursor_row();
    uint8_t code = speech_edit_at_cursor(text, column, row, true, SPEECH_MAX_LINE);
    if (code == KEY_ESC) {
        int blanks = std::min(static_cast<int>(text.size()), std::max(0, CONSOLE_MAX_COLUMNS - 1 - column));
        console_move_cursor(column, row);
        console_write_text(std::string(static_cast<size_t>(blanks), ' '));
        console_move_cursor(column, row);
        text.clear();
    }
    console_write_text("\r\n");
    return text;
}
