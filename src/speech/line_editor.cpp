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

void copy(const Field& f) { console_copy_to_clipboard(editor_copy_text(f.text, f.selection_start, f.selection_end)); }

void paste(Field& f) {
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

void delete_word(Field& f) {
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

void speak_word(Field& f) {
    EditorWord w = editor_word_at(f.text, f.position);
    switch (w.kind) {
        case EditorWordKind::Say: speech_say(w.text); break;
        case EditorWordKind::Spell: speech_spell(w.text); break;
        case EditorWordKind::End: speech_beep_pattern(); break;
    }
    f.position = w.next_position;
}

void open_word(const Field& f) {
    std::string target = editor_open_target(f.text, f.position);
    if (target.empty()) speech_beep_pattern();
    else speech_open_help(target);
}

void change_speed() {
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

Step ordinary_key(Field& f, uint8_t k) {
    switch (k) {
        case key_ctrl('C'): copy(f); break;
        case key_ctrl('D'):
            if (f.editable) {
                for (int p = f.position; p <= f.length; ++p) f.text[p - 1] = ' ';
                speech_play_key("_APFCPO");
            }
            break;
        case KEY_BACKSPACE:
            if (f.position == 1) {
                speech_beep_pattern();
            } else if (f.editable) {
                f.position--;
                delete_at(f, true);
            }
            break;
        case KEY_TAB:
        case KEY_LINE_FEED:
        case KEY_ENTER:
        case KEY_ESC: return Step::End;
        case key_ctrl('K'): speech_say(std::to_string(f.position)); break;
        case key_ctrl('S'):
            if (f.editable) {
                std::string rest = f.text.substr(std::min(f.position, f.length + 1) - 1);
                rest.resize(f.length, ' ');
                f.text = rest;
                f.position = 1;
                speech_play_key("_APICPO");
            }
            break;
        case key_ctrl('U'):
            if (f.editable) {
                f.text = f.at_entry;
                f.position = 1;
                for (int i = 0; i < 3; ++i) speech_beep_pattern();
            }
            break;
        case key_ctrl('V'): paste(f); break;
        case key_ctrl('Y'):
            if (f.editable) {
                blank_all(f);
                speech_play_key("_CPOAPA");
                f.position = 1;
            }
            break;
        case KEY_CTRL_BACKSLASH: speech_dial_tones(f.text); break;
        case KEY_CTRL_BACKSPACE: delete_word(f); break;
        default:
            if (f.first_key && editor_last_nonblank(f.text) >= f.position) {
                speech_click();
                speech_click();
                // Typing replaces a proposed text.
                if (k >= 32 && f.editable) blank_all(f);
            }
            if (k >= 32) insert_char(f, k);
            break;
    }
    return Step::Continue;
}

Step extended_key(Field& f, uint8_t code, bool alt) {
    switch (code) {
        case KEY_F1:
            if (alt) return Step::End;
            speak_word(f);
            break;
        case KEY_F4:
            speech_set_echo_typed(!speech_echo_typed());
            speech_play_key(speech_echo_typed() ? "_FALACI" : "_FALDLG");
            break;
        case KEY_F8: speech_say_time(); break;
        case KEY_F12: open_word(f); break;
        case KEY_HOME: f.position = 1; break;
        case KEY_LEFT:
            if (f.position == 1) {
                speech_beep_pattern();
            } else {
                f.position--;
                speech_spell_char(char_at(f, f.position));
            }
            break;
        case KEY_RIGHT:
            if (f.position > f.length) {
                speech_beep_pattern();
            } else {
                unsigned char c = char_at(f, f.position);
                bool letter = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
                if (alt && letter) speech_play_key("_FON" + std::to_string(c));
                else speech_spell_char(c);
                f.position++;
            }
            break;
        case KEY_END: f.position = editor_last_nonblank(f.text) + 1; break;
        case KEY_DELETE:
            if (!f.editable) break;
            if (has_selection(f)) delete_selection(f);
            else if (f.position > f.length) speech_beep_pattern();
            else delete_at(f, true);
            break;
        case KEY_CTRL_F1: speech_say(editor_trim(f.text)); break;
        case KEY_CTRL_F4: change_speed(); break;
        case KEY_CTRL_F8: speech_say_date(); break;
        case KEY_CTRL_F9:
            if (!alt) return Step::End;
            if (speech_state().screen_review) speech_state().screen_review();
            else speech_beep_pattern();
            break;
        case KEY_CTRL_LEFT: {
            EditorMove m = editor_word_left(f.text, f.position);
            f.position = m.position;
            sound_move(m);
            break;
        }
        case KEY_CTRL_RIGHT: {
            EditorMove m = editor_word_right(f.text, f.position);
            f.position = m.position;
            sound_move(m);
            break;
        }
        case KEY_SHIFT_INSERT: paste(f); break;
        case KEY_CTRL_INSERT: copy(f); break;
        default:
            if (code >= KEY_ALT_1 && code <= KEY_ALT_0) break;
            return Step::End;
    }
    return Step::Continue;
}

// The extended codes whose Alt keys (Alt+Q, Alt+W, Alt+E) the editor passes
// over: the next key is taken instead.
bool skipped_alt_code(uint8_t code) { return code == KEY_ALT_Q || code == KEY_ALT_W || code == KEY_ALT_E; }

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
        uint8_t k = console_read_key();
        speech_silence();
        uint8_t code = 0;
        bool extended = false;
        while (k == 0) {
            code = console_read_key();
            if (!skipped_alt_code(code)) {
                extended = true;
                break;
            }
            k = console_read_key();
        }
        bool shift = console_shift_held();
        bool alt = console_alt_held();

        if (extended) {
            if (shift) {
                if (f.selection_start == 0) f.selection_start = f.position;
            } else if (code != KEY_SHIFT_INSERT && code != KEY_CTRL_INSERT && code != KEY_DELETE) {
                // Delete keeps the selection: it is what Delete removes.
                clear_selection(f);
            }
        } else if (k != key_ctrl('C') && k != key_ctrl('V')) {
            clear_selection(f);
        }

        Step step;
        if (extended) {
            // Alt+F1 ends the edit as Ctrl+F11 would.
            last_code = code == KEY_F1 && alt ? KEY_CTRL_F11 : code;
            step = extended_key(f, code, alt);
            if (step == Step::Continue && shift) f.selection_end = f.position;
        } else {
            if (k < 32 || k == 127) last_code = k;
            step = ordinary_key(f, k);
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
